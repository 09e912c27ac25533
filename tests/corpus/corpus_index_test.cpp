#include "corpus/corpus_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/key_table_file.h"
#include "corpus/word_record.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::BuildSmallCorpus;
using test::ReadBytes;
using test::RuntimeFolder;
using test::StringsOf;
using test::U32;
using test::U64;
using test::WriteBytes;
using Strings = std::vector<std::u16string>;
using Words = std::vector<NumberedWord>;

// Dictionary order gives the word IDs: 2apple 0, 0。 1, 0水 2, 1shui 3, 0、 4, 0「 5, 0」 6,
// 2 7, 0我 8, 2apple 9.
constexpr std::string_view kDictionary =
    "2apple\t0:1\n0。\t0:1 1:1\n0水\t1:1\n1shui\t1:1\n0、\t0:1\n0「\t0:1\n0」\t0:1\n2\t0:1\n0我\t0:1\n2apple\t1:2\n";
constexpr std::string_view kSentences = "我 。\n\n\n水 。\nshui\n\n";

class LoadedIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSmallCorpus(folder_.path(), u"MO", kDictionary, kSentences);
    const Status words = LoadWordTable(index_);
    ASSERT_TRUE(words.ok()) << words.ToString();
    const Status sentences = LoadSentenceTable(index_);
    ASSERT_TRUE(sentences.ok()) << sentences.ToString();
  }
  RuntimeFolder folder_;
  CorpusIndex index_{folder_.path(), u"MO"};
};

TEST_F(LoadedIndexTest, WordTableRoundTrip) {
  EXPECT_EQ(index_.root(), folder_.path());
  EXPECT_EQ(index_.tag(), u"MO");
  EXPECT_EQ(StringsOf(index_.words()),
            (Strings{u"2apple", u"0。", u"0水", u"1shui", u"0、", u"0「", u"0」", u"2", u"0我", u"2apple"}));
  EXPECT_EQ(StringsOf(index_.englishWords()), (Strings{u"apple", u"", u"apple"}));
  EXPECT_EQ(StringsOf(index_.chineseWords()), (Strings{u"水", u"我"}));
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
  // Both records of the repeated key hold the offset of its last block.
  const std::string table = ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kWordTable, u"MO"));
  ASSERT_EQ(table.size(), 4u + 10 * 112);
  EXPECT_EQ(table.substr(4 + 104, 8), U64(116));
  EXPECT_EQ(table.substr(4 + 9 * 112 + 104, 8), U64(116));
  EXPECT_EQ(index_.PostingOffset(u"0火"), std::nullopt);
}

TEST_F(LoadedIndexTest, SentenceTableRoundTrip) {
  // Group 0 is a block of two IDs (24 bytes) and two empty blocks (8 each).
  EXPECT_EQ(index_.sentenceCount(), 2u);
  EXPECT_EQ(index_.SentenceOffset(0), 0u);
  EXPECT_EQ(index_.SentenceOffset(1), 40u);
  EXPECT_EQ(index_.SentenceOffset(2), std::nullopt);
  EXPECT_EQ(index_.SentenceOffset(-1), std::nullopt);
}

// A second load replaces the word lists instead of adding to them.
TEST_F(LoadedIndexTest, SecondLoadGivesTheSameLists) {
  ASSERT_TRUE(LoadWordTable(index_).ok());
  ASSERT_TRUE(LoadSentenceTable(index_).ok());
  EXPECT_EQ(index_.words().size(), 10u);
  EXPECT_EQ(StringsOf(index_.englishWords()), (Strings{u"apple", u"", u"apple"}));
  EXPECT_EQ(StringsOf(index_.chineseWords()), (Strings{u"水", u"我"}));
  EXPECT_EQ(index_.WordId(u"2apple"), 9u);
  EXPECT_EQ(index_.sentenceCount(), 2u);
  EXPECT_EQ(ListWords(index_, 0, Language::kChinese, 20), (Words{{0, u"水"}, {1, u"我"}}));
}

TEST_F(LoadedIndexTest, ListWordsBounds) {
  EXPECT_EQ(ListWords(index_, 0, Language::kEnglish, 20), (Words{{0, u"apple"}, {1, u""}, {2, u"apple"}}));
  EXPECT_EQ(ListWords(index_, 1, Language::kEnglish, 1), (Words{{1, u""}}));
  EXPECT_EQ(ListWords(index_, 1, Language::kChinese, 20), (Words{{1, u"我"}}));
  EXPECT_EQ(ListWords(index_, 0, Language::kChinese, 20), (Words{{0, u"水"}, {1, u"我"}}));
  EXPECT_EQ(ListWords(index_, -1, Language::kEnglish, 20), Words{});
  EXPECT_EQ(ListWords(index_, -5, Language::kEnglish, 20), Words{});
  EXPECT_EQ(ListWords(index_, 3, Language::kEnglish, 20), Words{});
  EXPECT_EQ(ListWords(index_, 2, Language::kChinese, 20), Words{});
  EXPECT_EQ(ListWords(index_, 400, Language::kEnglish, 20), Words{});
  EXPECT_EQ(ListWords(index_, 0, Language::kEnglish, 0), Words{});
  EXPECT_EQ(ListWords(index_, 0, Language::kEnglish, -3), Words{});
  EXPECT_EQ(ListWords(index_, INT32_MAX, Language::kEnglish, INT32_MAX), Words{});
}

TEST(ListWordsTest, WindowOfTwentyFromPosition) {
  CorpusIndex index(std::filesystem::path(), u"BI");
  StringList keys;
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(keys.push_back(u"2w" + FormatDecimal(i)));
  index.SetWordTable(std::move(keys), std::vector<uint64_t>(30, 0));
  const Words got = ListWords(index, 3, Language::kEnglish, 20);
  ASSERT_EQ(got.size(), 20u);
  EXPECT_EQ(got.front(), (NumberedWord{3, u"w3"}));
  EXPECT_EQ(got.back(), (NumberedWord{22, u"w22"}));
  EXPECT_EQ(ListWords(index, 28, Language::kEnglish, 20), (Words{{28, u"w28"}, {29, u"w29"}}));
  EXPECT_EQ(ListWords(index, 0, Language::kChinese, 20), Words{});
}

TEST(LoadWordTableTest, EmptyTableLoads) {
  RuntimeFolder folder;
  WriteBytes(folder / "data/index1.datBI", U32(0));
  WriteBytes(folder / "data/index2.datBI", U32(0));
  CorpusIndex index(folder.path(), u"BI");
  EXPECT_TRUE(LoadWordTable(index).ok());
  EXPECT_TRUE(LoadSentenceTable(index).ok());
  EXPECT_TRUE(index.words().empty());
  EXPECT_FALSE(index.HasKey(u""));
  EXPECT_FALSE(index.HasKey(u"2"));
  EXPECT_TRUE(index.englishWords().empty());
  EXPECT_TRUE(index.chineseWords().empty());
  EXPECT_EQ(index.sentenceCount(), 0u);
}

TEST(LoadTablesTest, MissingFilesFail) {
  RuntimeFolder folder;
  CorpusIndex index(folder.path(), u"BI");
  const Status words = LoadWordTable(index);
  EXPECT_EQ(words.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(words.file(), folder / "data/index1.datBI");
  const Status sentences = LoadSentenceTable(index);
  EXPECT_EQ(sentences.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(sentences.file(), folder / "data/index2.datBI");
  // A file of the other corpus does not stand in.
  WriteBytes(folder / "data/index2.datMO", U32(0));
  EXPECT_FALSE(LoadSentenceTable(index).ok());
  // Nor does a file of the same name in another runtime folder.
  RuntimeFolder other;
  WriteBytes(other / "data/index1.datBI", U32(0));
  WriteBytes(other / "data/index2.datBI", U32(0));
  EXPECT_FALSE(LoadCorpus(index).ok());
  CorpusIndex there(other.path(), u"BI");
  EXPECT_TRUE(LoadCorpus(there).ok());
}

// A FIFO in place of the key table file once made the load open it and wait for a writer, so
// every search hung; it is ignored like a damaged file, and the table is built in memory.
TEST(LoadTablesTest, AFifoInPlaceOfTheKeyTableFileIsBuiltInMemory) {
  RuntimeFolder folder;
  BuildSmallCorpus(folder.path(), u"MO", kDictionary, kSentences);
  CorpusIndex before(folder.path(), u"MO");
  ASSERT_TRUE(LoadCorpus(before).ok());
  const auto fifo = KeyTableFileName(folder.path(), u"MO");
  test::MakeFifo(fifo);
  CorpusIndex index(folder.path(), u"MO");
  Status status;
  EXPECT_TRUE(test::ReturnsWithin(5, {fifo}, [&] { status = LoadCorpus(index); }));
  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(StringsOf(index.words()), StringsOf(before.words()));
  EXPECT_EQ(index.WordId(u"2apple"), 9u);
  EXPECT_EQ(index.WordId(u"0水"), 2u);
  EXPECT_EQ(index.PostingOffset(u"0水"), before.PostingOffset(u"0水"));
  EXPECT_EQ(index.sentenceCount(), 2u);
}

// A FIFO in place of a table is refused at once, and the status says why.
TEST(LoadTablesTest, AFifoInPlaceOfATableIsRefused) {
  RuntimeFolder folder;
  BuildSmallCorpus(folder.path(), u"MO", kDictionary, kSentences);
  for (CorpusFile table : {CorpusFile::kWordTable, CorpusFile::kSentenceTable}) {
    const auto path = CorpusFileName(folder.path(), table, u"MO");
    const std::string bytes = ReadBytes(path);
    test::MakeFifo(path);
    CorpusIndex index(folder.path(), u"MO");
    Status status;
    EXPECT_TRUE(test::ReturnsWithin(5, {path}, [&] { status = LoadCorpus(index); }));
    EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
    EXPECT_EQ(status.file(), path);
    EXPECT_EQ(status.reason(), "is a FIFO, not a regular file");
    std::filesystem::remove(path);
    WriteBytes(path, bytes);
  }
}

// LoadCorpus stops at the word table when that fails, and keeps the word table when only the
// sentence table fails.
TEST(LoadCorpusTest, WhatLoadedBeforeAFailureStays) {
  RuntimeFolder folder;
  BuildSmallCorpus(folder.path(), u"BI", "0我\t0:1\n", "我\nwo\nI\n");
  CorpusIndex index(folder.path(), u"BI");
  ASSERT_TRUE(LoadCorpus(index).ok());
  EXPECT_EQ(index.WordId(u"0我"), 0u);
  EXPECT_EQ(index.sentenceCount(), 1u);

  std::filesystem::remove(folder / "data/index2.datBI");
  CorpusIndex partial(folder.path(), u"BI");
  const Status status = LoadCorpus(partial);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(status.file(), folder / "data/index2.datBI");
  EXPECT_EQ(partial.WordId(u"0我"), 0u);
  EXPECT_EQ(partial.sentenceCount(), 0u);

  std::filesystem::remove(folder / "data/index1.datBI");
  CorpusIndex none(folder.path(), u"BI");
  EXPECT_EQ(LoadCorpus(none).file(), folder / "data/index1.datBI");
  EXPECT_TRUE(none.words().empty());
}

class DamagedTableTest : public LoadedIndexTest {
 protected:
  void ExpectIndexUnchanged() {
    EXPECT_EQ(index_.words().size(), 10u);
    EXPECT_EQ(index_.WordId(u"2apple"), 9u);
    EXPECT_EQ(index_.englishWords().size(), 3u);
    EXPECT_EQ(index_.chineseWords().size(), 2u);
    EXPECT_EQ(index_.sentenceCount(), 2u);
    EXPECT_EQ(index_.SentenceOffset(1), 40u);
  }
  std::filesystem::path Path(CorpusFile f) const { return CorpusFileName(folder_.path(), f, u"MO"); }
  void ResizeTo(CorpusFile f, size_t size) const { std::filesystem::resize_file(Path(f), size); }
  // Loads `f` (the word table or the sentence table), expecting it to be refused as corrupt.
  void ExpectCorrupt(CorpusFile f) {
    const Status status = f == CorpusFile::kWordTable ? LoadWordTable(index_) : LoadSentenceTable(index_);
    EXPECT_EQ(status.kind(), Status::Kind::kCorruption) << status.ToString();
    EXPECT_EQ(status.file(), Path(f));
    EXPECT_FALSE(status.reason().empty());
  }
};

TEST_F(DamagedTableTest, TruncatedWordTable) {
  for (size_t size : {size_t{4 + 10 * 112 - 1}, size_t{4 + 112}, size_t{4}, size_t{2}, size_t{0}}) {
    SCOPED_TRACE(size);
    ResizeTo(CorpusFile::kWordTable, size);
    ExpectCorrupt(CorpusFile::kWordTable);
    ExpectIndexUnchanged();
  }
}

TEST_F(DamagedTableTest, CountLargerThanWordTable) {
  auto bytes = ReadBytes(Path(CorpusFile::kWordTable));
  bytes.replace(0, 4, U32(0xFFFFFFFF));
  WriteBytes(Path(CorpusFile::kWordTable), bytes);
  ExpectCorrupt(CorpusFile::kWordTable);
  ExpectIndexUnchanged();
}

TEST_F(DamagedTableTest, KeyWithoutTerminator) {
  auto bytes = ReadBytes(Path(CorpusFile::kWordTable));
  for (size_t unit = 0; unit < 51; ++unit) bytes.replace(4 + 112 * 8 + 2 * unit, 2, "x\0", 2);
  WriteBytes(Path(CorpusFile::kWordTable), bytes);
  ExpectCorrupt(CorpusFile::kWordTable);
  ExpectIndexUnchanged();
  // A key of 50 units whose terminator is the last unit of the field is whole.
  bytes.replace(4 + 112 * 8 + 100, 2, "\0\0", 2);
  WriteBytes(Path(CorpusFile::kWordTable), bytes);
  CorpusIndex fresh(folder_.path(), u"MO");
  ASSERT_TRUE(LoadWordTable(fresh).ok());
  EXPECT_EQ(fresh.words()[8], std::u16string(50, u'x'));
}

TEST_F(DamagedTableTest, TruncatedSentenceTable) {
  for (size_t size : {size_t{19}, size_t{12}, size_t{3}, size_t{0}}) {
    SCOPED_TRACE(size);
    ResizeTo(CorpusFile::kSentenceTable, size);
    ExpectCorrupt(CorpusFile::kSentenceTable);
    ExpectIndexUnchanged();
  }
  WriteBytes(Path(CorpusFile::kSentenceTable), U32(3) + U64(0) + U64(40));
  ExpectCorrupt(CorpusFile::kSentenceTable);
  ExpectIndexUnchanged();
}

TEST(WordRecordTest, EncodeSpellsOutTheRecord) {
  std::string out = "head";
  EncodeWordRecord(u"2ab", 0x0102030405060708, out);
  const std::string expected = std::string("head", 4) + std::string("2\0a\0b\0", 6) +  // key units
                               std::string(104 - 6, '\0') +                            // terminator, zeros
                               "\x08\x07\x06\x05\x04\x03\x02\x01";                     // offset at 104
  ASSERT_EQ(out.size(), 4 + kWordRecordBytes);
  EXPECT_EQ(out, expected);

  std::string wide;
  EncodeWordRecord(u"0我", 5, wide);
  EXPECT_EQ(wide.substr(0, 6), std::string("0\0\x11\x62\0\0", 6));
  EXPECT_EQ(wide.substr(104), std::string("\x05\0\0\0\0\0\0\0", 8));
}

TEST(WordRecordTest, DecodeReadsKeyAndOffset) {
  const std::string record =
      std::string("2\0a\0b\0", 6) + std::string(104 - 6, '\0') + "\x08\x07\x06\x05\x04\x03\x02\x01";
  std::u16string key = u"stale";
  uint64_t offset = 0;
  ASSERT_TRUE(DecodeWordRecord(record.data(), key, offset));
  EXPECT_EQ(key, u"2ab");
  EXPECT_EQ(offset, 0x0102030405060708u);

  // A key of kMaxKeyUnits units ends at the last unit of the field.
  std::string longest;
  EncodeWordRecord(std::u16string(kMaxKeyUnits, u'x'), 9, longest);
  ASSERT_TRUE(DecodeWordRecord(longest.data(), key, offset));
  EXPECT_EQ(key, std::u16string(50, u'x'));
  EXPECT_EQ(offset, 9u);
}

TEST(WordRecordTest, DecodeRefusesAKeyWithoutTerminator) {
  std::string record;
  for (size_t unit = 0; unit < 51; ++unit) record += std::string("x\0", 2);
  record += std::string(2, '\0') + std::string("\x01\0\0\0\0\0\0\0", 8);
  ASSERT_EQ(record.size(), kWordRecordBytes);
  std::u16string key;
  uint64_t offset = 77;
  EXPECT_FALSE(DecodeWordRecord(record.data(), key, offset));
  // One terminator in the last unit of the field makes the record whole again.
  record[100] = '\0';
  ASSERT_TRUE(DecodeWordRecord(record.data(), key, offset));
  EXPECT_EQ(key, std::u16string(50, u'x'));
  EXPECT_EQ(offset, 1u);
}

TEST(CorpusFileNameTest, TagAppendedToEveryName) {
  const std::filesystem::path root = "/runtime";
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kDictionary, u"BI"), "/runtime/BDict/word.dictBI");
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kSentences, u"MO"), "/runtime/BDict/sents.finalMO");
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kWordTable, u"BI"), "/runtime/data/index1.datBI");
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kPostings, u"MO"), "/runtime/data/index11.datMO");
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kSentenceTable, u"MO"), "/runtime/data/index2.datMO");
  EXPECT_EQ(CorpusFileName(root, CorpusFile::kSentenceRecords, u"BI"), "/runtime/data/index21.datBI");
  // An empty runtime folder stands for the current directory.
  EXPECT_EQ(CorpusFileName("", CorpusFile::kWordTable, u"MO"), "data/index1.datMO");
  EXPECT_EQ(CorpusFileName("rt", CorpusFile::kPostings, u"BI"), "rt/data/index11.datBI");
}

}  // namespace
}  // namespace tamrel
