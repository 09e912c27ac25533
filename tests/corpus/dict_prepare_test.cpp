#include "corpus/dict_prepare.h"

#include <gtest/gtest.h>

#include "corpus/corpus_files.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

const auto kSentences = CorpusFileName(CorpusFile::kSentences, u"BI");
const auto kDictionary = CorpusFileName(CorpusFile::kDictionary, u"BI");

TEST(PrepareDictionary, WritesKeysByFrequencyWithCountedPostings) {
  RuntimeFolder folder;
  WriteBytes(kSentences,
             "我 爱 你 。\nwǒ ài nǐ 。\nI love you.\n"
             "你 好 。\nnǐ hǎo 。\nHello, hello!\n"
             "我 。\nwǒ 。\nMe\n");
  PrepareReport report;
  ASSERT_EQ(PrepareDictionary(u"BI", report), 0);
  EXPECT_EQ(report.groups, 3);
  // Totals: 。 and its pinyin 3; 2hello 2 (one sentence, twice), 我/wǒ/你/nǐ 2; the rest 1.
  // Equal totals are ordered by key in code units, so "0" keys come before "1" keys, and so on.
  EXPECT_EQ(ReadBytes(kDictionary),
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
  WriteBytes(kSentences, "\n\n" + longWord + " 7\n");
  PrepareReport report;
  ASSERT_EQ(PrepareDictionary(u"BI", report), 0);
  // "7" normalises to the empty word: no "2" key; the 51-unit keys "2xx..." and "3xx..." go.
  EXPECT_EQ(ReadBytes(kDictionary), "37\t0:1\n");
  ASSERT_EQ(report.droppedKeys.size(), 2u);
  EXPECT_EQ(report.droppedKeys[0].sentenceId, 0);
}

TEST(PrepareDictionary, RefusesBrokenSentenceFilesAndWritesNothing) {
  const struct {
    const char* sentences;
    int64_t line;
  } cases[] = {
      {"我 爱 你\nwǒ ài\nI love you.\n", 2},            // token counts differ
      {"你好\nnǐhǎo\nHi.\n我  爱\nwǒ ài\nLove.\n", 4},  // double space
      {"你好\nnǐhǎo\nHi.\t\n", 3},                      // tab
      {" 你好\n nǐhǎo\nHi.\n", 1},                      // leading space
  };
  for (const auto& c : cases) {
    RuntimeFolder folder;
    WriteBytes(kSentences, c.sentences);
    WriteBytes(kDictionary, "old");
    PrepareReport report;
    EXPECT_EQ(PrepareDictionary(u"BI", report), -1) << c.sentences;
    EXPECT_FALSE(report.error.empty());
    EXPECT_EQ(report.errorLine, c.line) << c.sentences;
    EXPECT_EQ(ReadBytes(kDictionary), "old");
  }
}

TEST(PrepareDictionary, MissingSentenceFileFails) {
  RuntimeFolder folder;
  PrepareReport report;
  EXPECT_EQ(PrepareDictionary(u"MO", report), -1);
  EXPECT_FALSE(std::filesystem::exists(CorpusFileName(CorpusFile::kDictionary, u"MO")));
}

// The shared Tatoeba dictionaries were made by an independent tool from the same sentence files.
TEST(PrepareDictionary, ReproducesAnIndependentlyMadeDictionary) {
  const auto shared = test::SharedTatoebaFolder();
  if (shared.empty()) GTEST_SKIP() << "shared/corpora/tatoeba is not beside the checkout";
  for (const std::u16string tag : {u"BI", u"MO"}) {
    RuntimeFolder folder;
    const auto sentences = CorpusFileName(CorpusFile::kSentences, tag);
    const auto dictionary = CorpusFileName(CorpusFile::kDictionary, tag);
    std::filesystem::copy_file(shared / sentences.filename(), sentences);
    PrepareReport report;
    ASSERT_EQ(PrepareDictionary(tag, report), 0);
    EXPECT_TRUE(ReadBytes(dictionary) == ReadBytes(shared / dictionary.filename()));
  }
}

}  // namespace
}  // namespace tamrel
