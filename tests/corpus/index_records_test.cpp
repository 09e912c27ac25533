#include "corpus/index_records.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "corpus/corpus_files.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::BuildSmallCorpus;
using test::RuntimeFolder;
using Ids = std::vector<int32_t>;
using WordIds = std::vector<uint32_t>;

class IndexRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Blocks: 0我 at 0 (n=3, 28 bytes), 1wo at 28 (n=2, 20 bytes), 3I at 48 (n=1).
    BuildSmallCorpus(folder_.path(), u"BI", "0我\t0:7 2:-1 5:9\n1wo\t0:1 2:1\n3I\t2:4\n",
                     "我 我\nwo wo\nI\n\n\n\n我\nwo\nI\n");
    const Status status = LoadCorpus(index_);
    ASSERT_TRUE(status.ok()) << status.ToString();
  }
  // Replaces the sentence table by the built one, {0, 64, 88}, with the record of sentence 1
  // moved to `offset`.
  void MoveSecondRecord(uint64_t offset) { index_.SetSentenceTable({0, offset, 88}); }
  RuntimeFolder folder_;
  CorpusIndex index_{folder_.path(), u"BI"};
};

TEST_F(IndexRecordsTest, PostingBlockWholeAndLimited) {
  PostingBlock block;
  ASSERT_TRUE(ReadPostingBlock(index_, 0, block));
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2, 5}));
  EXPECT_EQ(block.secondValues, (Ids{7, -1, 9}));
  ASSERT_TRUE(ReadPostingBlock(index_, 0, block, 2));
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2}));
  EXPECT_EQ(block.secondValues, (Ids{7, -1}));
  ASSERT_TRUE(ReadPostingBlock(index_, 0, block, 0));
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, Ids{});
  ASSERT_TRUE(ReadPostingBlock(index_, 48, block));
  EXPECT_EQ(block.sentenceIds, (Ids{2}));
  EXPECT_EQ(block.secondValues, (Ids{4}));
}

TEST_F(IndexRecordsTest, PostingBlockOutsideTheFile) {
  PostingBlock block;
  EXPECT_FALSE(ReadPostingBlock(index_, 60, block));  // the end of the file: no room for a count
  EXPECT_FALSE(ReadPostingBlock(index_, 57, block));
  EXPECT_FALSE(ReadPostingBlock(index_, 1ull << 40, block));
  EXPECT_FALSE(ReadPostingBlock(index_, UINT64_MAX, block));
  EXPECT_FALSE(ReadPostingBlock(index_, 52, block));  // the ID 2 read as a count: 16 bytes, 4 there
  // A file missing when the index was loaded (so not mapped) is looked for at each read.
  std::filesystem::remove(CorpusFileName(folder_.path(), CorpusFile::kPostings, u"BI"));
  index_.SetPostingFile(MappedFile());
  EXPECT_FALSE(ReadPostingBlock(index_, 0, block));
}

TEST_F(IndexRecordsTest, SentenceRecords) {
  SentenceRecord record;
  ASSERT_TRUE(ReadSentenceRecord(index_, 0, record));
  EXPECT_EQ(record.chinese, (WordIds{0, 0}));
  EXPECT_EQ(record.pinyin, (WordIds{1, 1}));
  EXPECT_EQ(record.english, (WordIds{2}));
  ASSERT_TRUE(ReadSentenceRecord(index_, 1, record));
  EXPECT_EQ(record.chinese, WordIds{});
  EXPECT_EQ(record.pinyin, WordIds{});
  EXPECT_EQ(record.english, WordIds{});
  ASSERT_TRUE(ReadSentenceRecord(index_, 2, record));
  EXPECT_EQ(record.chinese, (WordIds{0}));
  EXPECT_EQ(record.english, (WordIds{2}));
  // An index whose files were not mapped at load reads them at each call.
  index_.SetSentenceRecordFile(MappedFile());
  index_.SetPostingFile(MappedFile());
  ASSERT_TRUE(ReadSentenceRecord(index_, 0, record));
  EXPECT_EQ(record.pinyin, (WordIds{1, 1}));
  PostingBlock block;
  ASSERT_TRUE(ReadPostingBlock(index_, 28, block));
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2}));
}

TEST_F(IndexRecordsTest, SentenceIdOutsideTheTable) {
  SentenceRecord record;
  ASSERT_EQ(index_.sentenceCount(), 3u);
  ASSERT_EQ(index_.SentenceOffset(1), 64u);
  ASSERT_EQ(index_.SentenceOffset(2), 88u);
  EXPECT_FALSE(ReadSentenceRecord(index_, 3, record));
  EXPECT_FALSE(ReadSentenceRecord(index_, -1, record));
  EXPECT_FALSE(ReadSentenceRecord(index_, INT64_MAX, record));
  MoveSecondRecord(1ull << 40);
  EXPECT_FALSE(ReadSentenceRecord(index_, 1, record));
  // Records: 64 bytes at 0, 24 at 64, 48 at 88; the file is 136 bytes long.
  MoveSecondRecord(132);  // no room for a header
  EXPECT_FALSE(ReadSentenceRecord(index_, 1, record));
  MoveSecondRecord(128);  // the last word ID read as a count of 2, with nothing after it
  EXPECT_FALSE(ReadSentenceRecord(index_, 1, record));
  MoveSecondRecord(136);
  EXPECT_FALSE(ReadSentenceRecord(index_, 1, record));
  std::filesystem::remove(CorpusFileName(folder_.path(), CorpusFile::kSentenceRecords, u"BI"));
  index_.SetSentenceRecordFile(MappedFile());
  EXPECT_FALSE(ReadSentenceRecord(index_, 0, record));
}

}  // namespace
}  // namespace tamrel
