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
    BuildSmallCorpus(u"BI", "0我\t0:7 2:-1 5:9\n1wo\t0:1 2:1\n3I\t2:4\n", "我 我\nwo wo\nI\n\n\n\n我\nwo\nI\n");
    ASSERT_EQ(LoadWordTable(index_), 0);
    ASSERT_EQ(LoadSentenceTable(index_), 0);
  }
  RuntimeFolder folder_;
  CorpusIndex index_{u"BI"};
};

TEST_F(IndexRecordsTest, PostingBlockWholeAndLimited) {
  PostingBlock block;
  ASSERT_EQ(ReadPostingBlock(index_, 0, block), 0);
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2, 5}));
  EXPECT_EQ(block.secondValues, (Ids{7, -1, 9}));
  ASSERT_EQ(ReadPostingBlock(index_, 0, block, 2), 0);
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2}));
  EXPECT_EQ(block.secondValues, (Ids{7, -1}));
  ASSERT_EQ(ReadPostingBlock(index_, 0, block, 0), 0);
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, Ids{});
  ASSERT_EQ(ReadPostingBlock(index_, 48, block), 0);
  EXPECT_EQ(block.sentenceIds, (Ids{2}));
  EXPECT_EQ(block.secondValues, (Ids{4}));
}

TEST_F(IndexRecordsTest, PostingBlockOutsideTheFile) {
  PostingBlock block;
  EXPECT_EQ(ReadPostingBlock(index_, 60, block), -1);  // the end of the file: no room for a count
  EXPECT_EQ(ReadPostingBlock(index_, 57, block), -1);
  EXPECT_EQ(ReadPostingBlock(index_, 1ull << 40, block), -1);
  EXPECT_EQ(ReadPostingBlock(index_, UINT64_MAX, block), -1);
  EXPECT_EQ(ReadPostingBlock(index_, 52, block), -1);  // the ID 2 read as a count: 16 bytes, 4 there
  // A file missing when the index was loaded (so not mapped) is looked for at each read.
  std::filesystem::remove(CorpusFileName(CorpusFile::kPostings, u"BI"));
  index_.postingFile.Close();
  EXPECT_EQ(ReadPostingBlock(index_, 0, block), -1);
}

TEST_F(IndexRecordsTest, SentenceRecords) {
  SentenceRecord record;
  ASSERT_EQ(ReadSentenceRecord(index_, 0, record), 0);
  EXPECT_EQ(record.chinese, (WordIds{0, 0}));
  EXPECT_EQ(record.pinyin, (WordIds{1, 1}));
  EXPECT_EQ(record.english, (WordIds{2}));
  ASSERT_EQ(ReadSentenceRecord(index_, 1, record), 0);
  EXPECT_EQ(record.chinese, WordIds{});
  EXPECT_EQ(record.pinyin, WordIds{});
  EXPECT_EQ(record.english, WordIds{});
  ASSERT_EQ(ReadSentenceRecord(index_, 2, record), 0);
  EXPECT_EQ(record.chinese, (WordIds{0}));
  EXPECT_EQ(record.english, (WordIds{2}));
  // An index whose files were not mapped at load reads them at each call.
  index_.sentenceRecordFile.Close();
  index_.postingFile.Close();
  ASSERT_EQ(ReadSentenceRecord(index_, 0, record), 0);
  EXPECT_EQ(record.pinyin, (WordIds{1, 1}));
  PostingBlock block;
  ASSERT_EQ(ReadPostingBlock(index_, 28, block), 0);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 2}));
}

TEST_F(IndexRecordsTest, SentenceIdOutsideTheTable) {
  SentenceRecord record;
  EXPECT_EQ(ReadSentenceRecord(index_, 3, record), -1);
  EXPECT_EQ(ReadSentenceRecord(index_, -1, record), -1);
  EXPECT_EQ(ReadSentenceRecord(index_, INT64_MAX, record), -1);
  index_.sentenceOffsets[1] = 1ull << 40;
  EXPECT_EQ(ReadSentenceRecord(index_, 1, record), -1);
  // Records: 64 bytes at 0, 24 at 64, 48 at 88; the file is 136 bytes long.
  index_.sentenceOffsets[1] = 132;  // no room for a header
  EXPECT_EQ(ReadSentenceRecord(index_, 1, record), -1);
  index_.sentenceOffsets[1] = 128;  // the last word ID read as a count of 2, with nothing after it
  EXPECT_EQ(ReadSentenceRecord(index_, 1, record), -1);
  index_.sentenceOffsets[1] = 136;
  EXPECT_EQ(ReadSentenceRecord(index_, 1, record), -1);
  std::filesystem::remove(CorpusFileName(CorpusFile::kSentenceRecords, u"BI"));
  index_.sentenceRecordFile.Close();
  EXPECT_EQ(ReadSentenceRecord(index_, 0, record), -1);
}

}  // namespace
}  // namespace tamrel
