#include "corpus/corpus_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/text_utils.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::BuildSmallCorpus;
using test::ReadBytes;
using test::RuntimeFolder;
using test::U32;
using test::U64;
using test::WriteBytes;
using Strings = std::vector<std::u16string>;

// Dictionary order gives the word IDs: 2apple 0, 0。 1, 0水 2, 1shui 3, 0、 4, 0「 5, 0」 6,
// 2 7, 0我 8, 2apple 9.
constexpr std::string_view kDictionary =
    "2apple\t0:1\n0。\t0:1 1:1\n0水\t1:1\n1shui\t1:1\n0、\t0:1\n0「\t0:1\n0」\t0:1\n2\t0:1\n0我\t0:1\n2apple\t1:2\n";
constexpr std::string_view kSentences = "我 。\n\n\n水 。\nshui\n\n";

class LoadedIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSmallCorpus(u"MO", kDictionary, kSentences);
    ASSERT_EQ(LoadWordTable(index_), 0);
    ASSERT_EQ(LoadSentenceTable(index_), 0);
  }
  RuntimeFolder folder_;
  CorpusIndex index_{u"MO"};
};

TEST_F(LoadedIndexTest, WordTableRoundTrip) {
  EXPECT_EQ(index_.words.ToVector(),
            (Strings{u"2apple", u"0。", u"0水", u"1shui", u"0、", u"0「", u"0」", u"2", u"0我", u"2apple"}));
  EXPECT_EQ(index_.englishWords.ToVector(), (Strings{u"apple", u"", u"apple"}));
  EXPECT_EQ(index_.chineseWords.ToVector(), (Strings{u"水", u"我"}));
  EXPECT_EQ(index_.WordId(u"2apple"), 9u);
  EXPECT_EQ(index_.WordId(u"0水"), 2u);
  EXPECT_EQ(index_.WordId(u"2"), 7u);
  EXPECT_EQ(index_.WordId(u"0"), std::nullopt);
  EXPECT_EQ(index_.WordId(u"2appl"), std::nullopt);
  EXPECT_EQ(index_.WordId(u"2apples"), std::nullopt);
  EXPECT_FALSE(index_.HasKey(u"0火"));
  // Blocks: 2apple 12 bytes, 0。 20, 0水 12, 1shui 12, 0、 0「 0」 2 0我 12 each.
  EXPECT_EQ(index_.PostingOffset(u"0。"), 12u);
  EXPECT_EQ(index_.PostingOffset(u"0水"), 32u);
  EXPECT_EQ(index_.PostingOffset(u"2apple"), 116u);
  EXPECT_EQ(index_.postingOffsets[0], 116u);  // both records of the repeated key
  EXPECT_EQ(index_.PostingOffset(u"0火"), std::nullopt);
}

TEST_F(LoadedIndexTest, SentenceTableRoundTrip) {
  // Group 0 is a block of two IDs (24 bytes) and two empty blocks (8 each).
  EXPECT_EQ(index_.sentenceOffsets, (std::vector<uint64_t>{0, 40}));
}

TEST_F(LoadedIndexTest, ListWordsBounds) {
  EXPECT_EQ(ListWords(index_, 0, u"2", 20), (Strings{u"0:apple", u"1:", u"2:apple"}));
  EXPECT_EQ(ListWords(index_, 1, u"2", 1), (Strings{u"1:"}));
  EXPECT_EQ(ListWords(index_, 1, u"0", 20), (Strings{u"1:我"}));
  EXPECT_EQ(ListWords(index_, 0, u"2x", 20), (Strings{u"0:水", u"1:我"}));
  EXPECT_EQ(ListWords(index_, 0, u"", 20), (Strings{u"0:水", u"1:我"}));
  EXPECT_EQ(ListWords(index_, -1, u"2", 20), Strings{});
  EXPECT_EQ(ListWords(index_, -5, u"2", 20), Strings{});
  EXPECT_EQ(ListWords(index_, 3, u"2", 20), Strings{});
  EXPECT_EQ(ListWords(index_, 400, u"2", 20), Strings{});
  EXPECT_EQ(ListWords(index_, 0, u"2", 0), Strings{});
  EXPECT_EQ(ListWords(index_, 0, u"2", -3), Strings{});
  EXPECT_EQ(ListWords(index_, INT32_MAX, u"2", INT32_MAX), Strings{});
}

TEST(ListWordsTest, WindowOfTwentyFromPosition) {
  CorpusIndex index(u"BI");
  for (int i = 0; i < 30; ++i) index.englishWords.push_back(u"w" + FormatDecimal(i));
  const Strings got = ListWords(index, 3, u"2", 20);
  ASSERT_EQ(got.size(), 20u);
  EXPECT_EQ(got.front(), u"3:w3");
  EXPECT_EQ(got.back(), u"22:w22");
  EXPECT_EQ(ListWords(index, 28, u"2", 20), (Strings{u"28:w28", u"29:w29"}));
}

TEST(LoadWordTableTest, EmptyTableLoads) {
  RuntimeFolder folder;
  WriteBytes(CorpusFileName(CorpusFile::kWordTable, u"BI"), U32(0));
  WriteBytes(CorpusFileName(CorpusFile::kSentenceTable, u"BI"), U32(0));
  CorpusIndex index(u"BI");
  EXPECT_EQ(LoadWordTable(index), 0);
  EXPECT_EQ(LoadSentenceTable(index), 0);
  EXPECT_TRUE(index.words.empty());
  EXPECT_EQ(index.wordIds.size(), 0u);
  EXPECT_TRUE(index.englishWords.empty());
  EXPECT_TRUE(index.sentenceOffsets.empty());
}

TEST(LoadTablesTest, MissingFilesFail) {
  RuntimeFolder folder;
  CorpusIndex index(u"BI");
  EXPECT_EQ(LoadWordTable(index), -1);
  EXPECT_EQ(LoadSentenceTable(index), -1);
  // A file of the other corpus does not stand in.
  WriteBytes(CorpusFileName(CorpusFile::kSentenceTable, u"MO"), U32(0));
  EXPECT_EQ(LoadSentenceTable(index), -1);
}

class DamagedTableTest : public LoadedIndexTest {
 protected:
  void ExpectIndexUnchanged() {
    EXPECT_EQ(index_.words.size(), 10u);
    EXPECT_EQ(index_.WordId(u"2apple"), 9u);
    EXPECT_EQ(index_.englishWords.size(), 3u);
    EXPECT_EQ(index_.chineseWords.size(), 2u);
    EXPECT_EQ(index_.sentenceOffsets, (std::vector<uint64_t>{0, 40}));
  }
  static void ResizeTo(CorpusFile f, size_t size) { std::filesystem::resize_file(CorpusFileName(f, u"MO"), size); }
};

TEST_F(DamagedTableTest, TruncatedWordTable) {
  for (size_t size : {size_t{4 + 10 * 112 - 1}, size_t{4 + 112}, size_t{4}, size_t{2}, size_t{0}}) {
    ResizeTo(CorpusFile::kWordTable, size);
    EXPECT_EQ(LoadWordTable(index_), -1) << size;
    ExpectIndexUnchanged();
  }
}

TEST_F(DamagedTableTest, CountLargerThanWordTable) {
  auto bytes = ReadBytes(CorpusFileName(CorpusFile::kWordTable, u"MO"));
  bytes.replace(0, 4, U32(0xFFFFFFFF));
  WriteBytes(CorpusFileName(CorpusFile::kWordTable, u"MO"), bytes);
  EXPECT_EQ(LoadWordTable(index_), -1);
  ExpectIndexUnchanged();
}

TEST_F(DamagedTableTest, KeyWithoutTerminator) {
  auto bytes = ReadBytes(CorpusFileName(CorpusFile::kWordTable, u"MO"));
  for (size_t unit = 0; unit < 51; ++unit) bytes.replace(4 + 112 * 8 + 2 * unit, 2, "x\0", 2);
  WriteBytes(CorpusFileName(CorpusFile::kWordTable, u"MO"), bytes);
  EXPECT_EQ(LoadWordTable(index_), -1);
  ExpectIndexUnchanged();
  // A key of 50 units whose terminator is the last unit of the field is whole.
  bytes.replace(4 + 112 * 8 + 100, 2, "\0\0", 2);
  WriteBytes(CorpusFileName(CorpusFile::kWordTable, u"MO"), bytes);
  CorpusIndex fresh(u"MO");
  ASSERT_EQ(LoadWordTable(fresh), 0);
  EXPECT_EQ(fresh.words[8], std::u16string(50, u'x'));
}

TEST_F(DamagedTableTest, TruncatedSentenceTable) {
  for (size_t size : {size_t{19}, size_t{12}, size_t{3}, size_t{0}}) {
    ResizeTo(CorpusFile::kSentenceTable, size);
    EXPECT_EQ(LoadSentenceTable(index_), -1) << size;
    ExpectIndexUnchanged();
  }
  WriteBytes(CorpusFileName(CorpusFile::kSentenceTable, u"MO"), U32(3) + U64(0) + U64(40));
  EXPECT_EQ(LoadSentenceTable(index_), -1);
  ExpectIndexUnchanged();
}

TEST(CorpusFileNameTest, TagAppendedToEveryName) {
  EXPECT_EQ(CorpusFileName(CorpusFile::kDictionary, u"BI"), "BDict/word.dictBI");
  EXPECT_EQ(CorpusFileName(CorpusFile::kSentences, u"MO"), "BDict/sents.finalMO");
  EXPECT_EQ(CorpusFileName(CorpusFile::kWordTable, u"BI"), "data/index1.datBI");
  EXPECT_EQ(CorpusFileName(CorpusFile::kPostings, u"MO"), "data/index11.datMO");
  EXPECT_EQ(CorpusFileName(CorpusFile::kSentenceTable, u"MO"), "data/index2.datMO");
  EXPECT_EQ(CorpusFileName(CorpusFile::kSentenceRecords, u"BI"), "data/index21.datBI");
}

}  // namespace
}  // namespace tamrel
