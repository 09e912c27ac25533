// Damaged index files: every truncation, flipped bytes, inflated counts and offsets past the end.
// Loading fails or gives a usable index, searches give fewer or no results, and nothing reads
// memory it should not (run under AddressSanitizer and UBSan).
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/index_records.h"
#include "corpus/key_table_file.h"
#include "files/byte_coding.h"
#include "search/search_core.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::U32;
using test::U64;
using test::WriteBytes;

constexpr std::array<CorpusFile, 4> kFiles = {CorpusFile::kWordTable, CorpusFile::kPostings, CorpusFile::kSentenceTable,
                                              CorpusFile::kSentenceRecords};

class CorruptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BuildSmallCorpus(folder_.path(), u"BI",
                           "0我\t0:1 1:1 3:1\n0你\t0:1 2:1\n1wǒ\t0:1 1:1 3:1\n1nǐ\t0:1 2:1\n3I\t0:1 1:1\n"
                           "3you\t0:1 2:1 3:1\n2i\t0:1 1:1\n2you\t0:1 2:1 3:1\n0好\t1:1 2:1\n1hǎo\t1:1 2:1\n"
                           "3good\t1:1 2:1\n2good\t1:1 2:1\n",
                           "我 你\nwǒ nǐ\nI you\n我 好\nwǒ hǎo\nI good\n你 好\nnǐ hǎo\nyou good\n我\nwǒ\nyou\n");
    for (CorpusFile f : kFiles) pristine_.push_back(ReadBytes(Path(f)));
  }

  std::filesystem::path Path(CorpusFile f) const { return CorpusFileName(folder_.path(), f, u"BI"); }
  std::string& Pristine(CorpusFile f) { return pristine_[static_cast<size_t>(f) - 2]; }

  // Puts the file damaged last back, then `damaged` in place of `f`.
  void Damage(CorpusFile f, const std::string& damaged) {
    if (damaged_ != f) WriteBytes(Path(damaged_), Pristine(damaged_));
    WriteBytes(Path(f), damaged);
    damaged_ = f;
  }

  // Loads the corpus and runs every query and record read; returns the load result and the
  // number of results of all queries together.
  std::pair<bool, size_t> Exercise() {
    CorpusIndex index(folder_.path(), u"BI");
    const bool loaded = LoadCorpus(index).ok();
    size_t total = 0;
    for (const char16_t* q : {u"我", u"你 好", u"我 你 好", u"I", u"you good", u"good I you", u"missing"}) {
      std::u16string query = q;
      std::vector<ResultSentence> results;
      SearchCorpus(query, index, results);
      EXPECT_LE(results.size(), kMaxResults);
      for (const auto& r : results) {
        for (const std::u16string* text : {&r.chinese, &r.pinyin, &r.english}) {
          EXPECT_TRUE(text->empty() || text->back() == u' ');
        }
      }
      total += results.size();
    }
    // A record that reads whole lies inside the record file: three counts and zeros, its word IDs.
    const auto recordBytes = std::filesystem::file_size(Path(CorpusFile::kSentenceRecords));
    SentenceRecord record;
    for (int64_t id = -1; id <= static_cast<int64_t>(index.sentenceCount()); ++id) {
      if (!ReadSentenceRecord(index, id, record)) continue;
      EXPECT_LE(24 + 8 * (record.chinese.size() + record.pinyin.size() + record.english.size()), recordBytes) << id;
    }
    EXPECT_LE(ListWords(index, 0, Language::kEnglish, 20).size(), 20u);
    EXPECT_LE(ListWords(index, 0, Language::kChinese, 20).size(), 20u);
    return {loaded, total};
  }

  // Sets 4 or 8 bytes at `at` of a copy of the pristine file.
  std::string With(CorpusFile f, size_t at, const std::string& bytes) {
    std::string s = Pristine(f);
    s.replace(at, bytes.size(), bytes);
    return s;
  }

  test::RuntimeFolder folder_;
  std::vector<std::string> pristine_;
  CorpusFile damaged_ = CorpusFile::kWordTable;
};

TEST_F(CorruptionTest, PristineFilesAnswer) { EXPECT_EQ(Exercise(), (std::pair<bool, size_t>{true, 20})); }

TEST_F(CorruptionTest, EveryTruncationOfTheTablesFailsTheLoad) {
  for (CorpusFile f : {CorpusFile::kWordTable, CorpusFile::kSentenceTable}) {
    for (size_t size = 0; size < Pristine(f).size(); ++size) {
      Damage(f, Pristine(f).substr(0, size));
      EXPECT_FALSE(Exercise().first) << size;
    }
  }
}

TEST_F(CorruptionTest, EveryTruncationOfTheBlockFilesGivesFewerResults) {
  for (CorpusFile f : {CorpusFile::kPostings, CorpusFile::kSentenceRecords}) {
    for (size_t size = 0; size < Pristine(f).size(); ++size) {
      Damage(f, Pristine(f).substr(0, size));
      const auto [loaded, total] = Exercise();
      EXPECT_TRUE(loaded);
      EXPECT_LT(total, 20u) << size;
    }
  }
}

TEST_F(CorruptionTest, FlippedBytesNeverCrash) {
  for (CorpusFile f : kFiles) {
    for (size_t at = 0; at < Pristine(f).size(); ++at) {
      for (char mask : {'\xFF', '\x80'}) {
        std::string damaged = Pristine(f);
        damaged[at] = static_cast<char>(damaged[at] ^ mask);
        Damage(f, damaged);
        Exercise();
      }
    }
  }
}

// The key table file only spares the load work: damaged in any byte, cut anywhere or missing, it
// changes neither whether the corpus loads nor what it answers.
TEST_F(CorruptionTest, ADamagedKeyTableFileChangesNoAnswer) {
  const auto path = KeyTableFileName(folder_.path(), u"BI");
  const std::string pristine = ReadBytes(path);
  ASSERT_FALSE(pristine.empty());
  const auto expected = Exercise();
  for (size_t at = 0; at < pristine.size(); ++at) {
    std::string damaged = pristine;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x41);
    WriteBytes(path, damaged);
    EXPECT_EQ(Exercise(), expected) << at;
    WriteBytes(path, pristine.substr(0, at));
    EXPECT_EQ(Exercise(), expected) << at;
  }
  std::filesystem::remove(path);
  EXPECT_EQ(Exercise(), expected);
}

TEST_F(CorruptionTest, InflatedCounts) {
  for (uint32_t count : {13u, 0x10000000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    Damage(CorpusFile::kWordTable, With(CorpusFile::kWordTable, 0, U32(count)));
    EXPECT_FALSE(Exercise().first);
    Damage(CorpusFile::kSentenceTable, With(CorpusFile::kSentenceTable, 0, U32(count)));
    EXPECT_FALSE(Exercise().first);
  }
  // Every posting block and every token block in turn. Blocks of the keys with prefix 1 or 3 are
  // never searched; the others take part in some query.
  constexpr std::string_view kPrefixes = "001133220132";
  for (CorpusFile f : {CorpusFile::kPostings, CorpusFile::kSentenceRecords}) {
    const std::string& bytes = Pristine(f);
    for (size_t at = 0, block = 0; at < bytes.size(); ++block) {
      const bool searched = f == CorpusFile::kSentenceRecords || kPrefixes[block] == '0' || kPrefixes[block] == '2';
      const uint32_t n = GetFixed32(bytes.data() + at);
      for (uint32_t count : {n + 1, 0x20000000u, 0xFFFFFFFFu}) {
        Damage(f, With(f, at, U32(count)));
        const auto [loaded, total] = Exercise();
        EXPECT_TRUE(loaded);
        // One more entry may still lie inside the file (the next block's bytes); larger ones do not.
        if (count != n + 1 && searched) {
          EXPECT_LT(total, 20u) << at;
        }
      }
      at += (f == CorpusFile::kPostings ? 4 : 8) + 8 * n;
    }
  }
}

TEST_F(CorruptionTest, OffsetsPastTheEnd) {
  const uint64_t postings = Pristine(CorpusFile::kPostings).size();
  const uint64_t records = Pristine(CorpusFile::kSentenceRecords).size();
  for (uint64_t offset : {postings, postings - 3, postings + 1, uint64_t{1} << 40, uint64_t{1} << 63, UINT64_MAX}) {
    for (size_t k = 0; k < 12; ++k) {
      Damage(CorpusFile::kWordTable, With(CorpusFile::kWordTable, 4 + 112 * k + 104, U64(offset)));
      EXPECT_TRUE(Exercise().first);
    }
  }
  for (uint64_t offset : {records, records - 7, records + 1, uint64_t{1} << 40, uint64_t{1} << 63, UINT64_MAX}) {
    for (size_t j = 0; j < 4; ++j) {
      Damage(CorpusFile::kSentenceTable, With(CorpusFile::kSentenceTable, 4 + 8 * j, U64(offset)));
      const auto [loaded, total] = Exercise();
      EXPECT_TRUE(loaded);
      EXPECT_LT(total, 20u);
    }
  }
}

}  // namespace
}  // namespace tamrel
