#include "corpus/index_presence.h"

#include <gtest/gtest.h>

#include "corpus/corpus_files.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDictionary = "0水\t0:1\n1shui\t0:1\n";
constexpr std::string_view kSentences = "水\nshui\n\n";

TEST(IndexPresenceTest, CorpusWithoutIndexMustBeBuilt) {
  test::RuntimeFolder folder;
  test::WriteBytes(CorpusFileName(folder.path(), CorpusFile::kDictionary, u"MO"), kDictionary);
  test::WriteBytes(CorpusFileName(folder.path(), CorpusFile::kSentences, u"MO"), kSentences);
  EXPECT_TRUE(IndexMissing(folder.path(), u"MO"));
  EXPECT_FALSE(IndexMissing(folder.path(), u"BI"));  // no sources: nothing to build
  EXPECT_TRUE(AnyIndexMissing(folder.path()));
}

TEST(IndexPresenceTest, RemovedIndexMustBeBuiltAgain) {
  test::RuntimeFolder folder;
  test::BuildSmallCorpus(folder.path(), u"MO", kDictionary, kSentences);
  EXPECT_FALSE(IndexMissing(folder.path(), u"MO"));
  EXPECT_FALSE(AnyIndexMissing(folder.path()));
  EXPECT_TRUE(RemoveIndex(folder.path(), u"MO").ok());
  EXPECT_TRUE(IndexMissing(folder.path(), u"MO"));
  for (CorpusFile index :
       {CorpusFile::kWordTable, CorpusFile::kPostings, CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords}) {
    EXPECT_FALSE(fs::exists(CorpusFileName(folder.path(), index, u"MO")));
  }
  EXPECT_TRUE(fs::exists(CorpusFileName(folder.path(), CorpusFile::kSentences, u"MO")));  // sources stay
}

}  // namespace
}  // namespace tamrel
