#include "corpus/dict_prepare.h"

#include <gtest/gtest.h>

#include "corpus/corpus_files.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

std::filesystem::path Sentences(const RuntimeFolder& folder) { return folder / "BDict/sents.finalBI"; }
std::filesystem::path Dictionary(const RuntimeFolder& folder) { return folder / "BDict/word.dictBI"; }

TEST(PrepareDictionary, WritesKeysByFrequencyWithCountedPostings) {
  RuntimeFolder folder;
  WriteBytes(Sentences(folder),
             "我 爱 你 。\nwǒ ài nǐ 。\nI love you.\n"
             "你 好 。\nnǐ hǎo 。\nHello, hello!\n"
             "我 。\nwǒ 。\nMe\n");
  PrepareReport report;
  ASSERT_TRUE(PrepareDictionary(folder.path(), u"BI", report).ok());
  EXPECT_EQ(report.groups, 3);
  // Totals: 。 and its pinyin 3; 2hello 2 (one sentence, twice), 我/wǒ/你/nǐ 2; the rest 1.
  // Equal totals are ordered by key in code units, so "0" keys come before "1" keys, and so on.
  EXPECT_EQ(ReadBytes(Dictionary(folder)),
            "0。\t0:1 1:1 2:1\n"
            "1。\t0:1 1:1 2:1\n"
            "0你\t0:1 1:1\n"
            "0我\t0:1 2:1\n"
            "1nǐ\t0:1 1:1\n"
            "1wǒ\t0:1 2:1\n"
            "2hello\t1:2\n"
            "0好\t1:1\n"
            "0爱\t0:1\n"
            "1hǎo\t1:1\n"
            "1ài\t0:1\n"
            "2i\t0:1\n"
            "2love\t0:1\n"
            "2me\t2:1\n"
            "2you\t0:1\n"
            "3Hello,\t1:1\n"
            "3I\t0:1\n"
            "3Me\t2:1\n"
            "3hello!\t1:1\n"
            "3love\t0:1\n"
            "3you.\t0:1\n");
}

TEST(PrepareDictionary, DropsKeysOverFiftyUnitsAndBarePrefixes) {
  RuntimeFolder folder;
  const std::string longWord(50, 'x');  // with its prefix: 51 units
  WriteBytes(Sentences(folder), "\n\n" + longWord + " 7\n");
  PrepareReport report;
  ASSERT_TRUE(PrepareDictionary(folder.path(), u"BI", report).ok());
  // "7" normalises to the empty word: no "2" key; the 51-unit keys "2xx..." and "3xx..." go.
  EXPECT_EQ(ReadBytes(Dictionary(folder)), "37\t0:1\n");
  ASSERT_EQ(report.droppedKeys.size(), 2u);
  EXPECT_EQ(report.droppedKeys[0].sentenceId, 0);
}

// Occurrences in one sentence are counted exactly, also past what a byte holds.
TEST(PrepareDictionary, CountsAWordRepeatedHundredsOfTimesInASentence) {
  RuntimeFolder folder;
  std::string sentences;
  for (const int times : {300, 255, 254, 1}) {
    std::string english = "a";
    for (int i = 1; i < times; ++i) english += " a";
    sentences += "\n\n" + english + "\n";
  }
  WriteBytes(Sentences(folder), sentences);
  PrepareReport report;
  ASSERT_TRUE(PrepareDictionary(folder.path(), u"BI", report).ok());
  EXPECT_EQ(ReadBytes(Dictionary(folder)), "2a\t0:300 1:255 2:254 3:1\n3a\t0:300 1:255 2:254 3:1\n");
}

TEST(PrepareDictionary, RefusesBrokenSentenceFilesAndWritesNothing) {
  const struct {
    const char* sentences;
    int64_t line;
    const char* reason;
  } cases[] = {
      {"我 爱 你\nwǒ ài\nI love you.\n", 2, "the pinyin line has 2 tokens but the Chinese line has 3"},
      {"你好\nnǐhǎo\nHi.\n我  爱\nwǒ ài\nLove.\n", 4, "the line holds a double space (an empty token)"},
      {"你好\nnǐhǎo\nHi.\t\n", 3, "the line holds a tab"},
      {" 你好\n nǐhǎo\nHi.\n", 1, "the line starts with a space (an empty token)"},
  };
  for (const auto& c : cases) {
    RuntimeFolder folder;
    WriteBytes(Sentences(folder), c.sentences);
    WriteBytes(Dictionary(folder), "old");
    PrepareReport report;
    const Status status = PrepareDictionary(folder.path(), u"BI", report);
    EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput) << c.sentences;
    EXPECT_EQ(status.file(), Sentences(folder)) << c.sentences;
    EXPECT_EQ(status.line(), c.line) << c.sentences;
    EXPECT_EQ(status.reason(), c.reason) << c.sentences;
    EXPECT_EQ(ReadBytes(Dictionary(folder)), "old");
    EXPECT_FALSE(std::filesystem::exists(folder / "BDict/word.dictBI.new"));
  }
}

TEST(PrepareDictionary, MissingSentenceFileFails) {
  RuntimeFolder folder;
  PrepareReport report;
  const Status status = PrepareDictionary(folder.path(), u"MO", report);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(status.file(), folder / "BDict/sents.finalMO");
  EXPECT_FALSE(std::filesystem::exists(folder / "BDict/word.dictMO"));
}

TEST(PrepareDictionary, SentenceFileThatIsAFifoIsRefusedAtOnce) {
  RuntimeFolder folder;
  WriteBytes(Dictionary(folder), "old");
  test::MakeFifo(Sentences(folder));
  PrepareReport report;
  Status status;
  EXPECT_TRUE(
      test::ReturnsWithin(5, {Sentences(folder)}, [&] { status = PrepareDictionary(folder.path(), u"BI", report); }));
  EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
  EXPECT_EQ(status.file(), Sentences(folder));
  EXPECT_EQ(status.reason(), "is a FIFO, not a regular file");
  EXPECT_EQ(ReadBytes(Dictionary(folder)), "old");
}

// The new dictionary replaces the old one whole and leaves no staged file behind; when it cannot
// be written the old one stays and the status names the file that failed.
TEST(PrepareDictionary, ReplacesTheOldDictionaryOnlyWhenComplete) {
  RuntimeFolder folder;
  WriteBytes(Sentences(folder), "我\nwǒ\nMe\n");
  WriteBytes(Dictionary(folder), "old");
  PrepareReport report;
  ASSERT_TRUE(PrepareDictionary(folder.path(), u"BI", report).ok());
  EXPECT_EQ(ReadBytes(Dictionary(folder)), "0我\t0:1\n1wǒ\t0:1\n2me\t0:1\n3Me\t0:1\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "BDict/word.dictBI.new"));

  WriteBytes(Dictionary(folder), "old");
  std::filesystem::create_directories(folder / "BDict/word.dictBI.new/keep");  // the staged file cannot be made
  const Status status = PrepareDictionary(folder.path(), u"BI", report);
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  EXPECT_EQ(status.file(), folder / "BDict/word.dictBI.new");
  EXPECT_EQ(ReadBytes(Dictionary(folder)), "old");
}

// The shared Tatoeba dictionaries were made by an independent tool from the same sentence files.
TEST(PrepareDictionary, ReproducesAnIndependentlyMadeDictionary) {
  const auto shared = test::SharedTatoebaFolder();
  if (shared.empty()) GTEST_SKIP() << "shared/corpora/tatoeba is not beside the checkout";
  for (const std::u16string tag : {u"BI", u"MO"}) {
    RuntimeFolder folder;
    const auto sentences = CorpusFileName(folder.path(), CorpusFile::kSentences, tag);
    const auto dictionary = CorpusFileName(folder.path(), CorpusFile::kDictionary, tag);
    std::filesystem::copy_file(shared / sentences.filename(), sentences);
    PrepareReport report;
    ASSERT_TRUE(PrepareDictionary(folder.path(), tag, report).ok());
    EXPECT_TRUE(ReadBytes(dictionary) == ReadBytes(shared / dictionary.filename()));
  }
}

}  // namespace
}  // namespace tamrel
