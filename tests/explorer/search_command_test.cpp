#include "explorer/search_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "corpus/text_utils.h"
#include "explorer/result_page.h"
#include "search/query.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using Results = std::vector<ResultSentence>;

// "我爱" is a word of the bilingual dictionary only: the monolingual dictionary segments every
// Chinese query.
class SearchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BuildSmallCorpus(u"BI",
                           "0我\t0:1 1:1\n0爱\t0:1\n0风筝\t0:1\n0我爱\t1:1\n1wǒ\t0:1 1:1\n1ài\t0:1\n"
                           "1fēngzhēng\t0:1\n1wǒài\t1:1\n3I\t0:1\n3love\t0:1\n3kites.\t0:1\n2i\t0:1\n"
                           "2love\t0:1\n2kites\t0:1\n3Me\t1:1\n2me\t1:1\n3Hello\t2:1\n2hello\t2:1\n"
                           "3world!\t2:1\n2world\t2:1\n",
                           "我 爱 风筝\nwǒ ài fēngzhēng\nI love kites.\n我爱\nwǒài\nMe\n\n\nHello world!\n");
    test::BuildSmallCorpus(u"MO",
                           "0我\t0:1\n0爱\t0:1\n0风筝\t0:1\n1wǒ\t0:1\n1ài\t0:1\n1fēngzhēng\t0:1\n"
                           "3hello\t1:1\n2hello\t1:1\n3there\t1:1\n2there\t1:1\n",
                           "我 爱 风筝\nwǒ ài fēngzhēng\n\n\n\nhello there\n");
    for (CorpusIndex* index : {&bi_, &mo_}) {
      ASSERT_EQ(LoadWordTable(*index), 0);
      ASSERT_EQ(LoadSentenceTable(*index), 0);
    }
  }

  SearchCommandResult Run(std::u16string_view text, const SysSettings& settings = {}) {
    return RunSearchCommand(text, bi_, mo_, settings, kResultPageFile);
  }

  static SysSettings Sections(bool bi, bool mono) {
    SysSettings s;
    s.FLAGBI = bi;
    s.FLAGMONO = mono;
    return s;
  }

  test::RuntimeFolder folder_;
  CorpusIndex bi_{u"BI"};
  CorpusIndex mo_{u"MO"};
};

TEST_F(SearchCommandTest, EnglishQueryNormalisedAndPageWritten) {
  const SearchCommandResult r = Run(u"hello   world ");
  EXPECT_EQ(r.language, LANG_EN);
  EXPECT_EQ(r.query, u"hello world");
  EXPECT_EQ(r.bilingual, (Results{{u"", u"", u"Hello world! "}}));
  EXPECT_EQ(r.monolingual, (Results{{u"", u"", u"hello there "}}));
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.pageStatus, 0);
  EXPECT_EQ(test::ReadBytes(kResultPageFile),
            "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"hello world", LANG_EN, r.bilingual, r.monolingual, {})));
}

TEST_F(SearchCommandTest, ChineseQuerySegmentedWithTheMonolingualDictionary) {
  const SearchCommandResult r = Run(u"我爱风筝");
  EXPECT_EQ(r.language, LANG_CN);
  EXPECT_EQ(r.query, u"我 爱 风筝");
  // Sentence 0 holds all three words, sentence 1 only 我.
  EXPECT_EQ(r.bilingual,
            (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u"I love kites. "}, {u"我爱 ", u"wǒài ", u"Me "}}));
  EXPECT_EQ(r.monolingual, (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u""}}));
  EXPECT_EQ(r.pageStatus, 0);
  EXPECT_EQ(test::ReadBytes(kResultPageFile),
            "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"我 爱 风筝", LANG_CN, r.bilingual, r.monolingual, {})));
}

TEST_F(SearchCommandTest, DigitsAndSpacesMakeAChineseQuery) {
  EXPECT_EQ(Run(u"3 hello").language, LANG_CN);
  const SearchCommandResult r = Run(u" hello");
  EXPECT_EQ(r.language, LANG_CN);
  EXPECT_EQ(r.query, u" h e l l o");  // single letters, each looked up as an English term
  EXPECT_FALSE(r.found());
}

TEST_F(SearchCommandTest, TermInOneCorpusOnly) {
  const SearchCommandResult r = Run(u"World");
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.monolingual, Results{});
  EXPECT_EQ(r.pageStatus, 0);
  EXPECT_TRUE(std::filesystem::exists(kResultPageFile));
}

TEST_F(SearchCommandTest, SectionsFollowTheSettings) {
  SearchCommandResult r = Run(u"hello", Sections(true, false));
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.monolingual, Results{});
  r = Run(u"hello", Sections(false, true));
  EXPECT_EQ(r.bilingual, Results{});
  EXPECT_EQ(r.monolingual.size(), 1u);
  EXPECT_EQ(
      test::ReadBytes(kResultPageFile),
      "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"hello", LANG_EN, {}, r.monolingual, Sections(false, true))));
}

TEST_F(SearchCommandTest, NothingFoundWritesNoPage) {
  SearchCommandResult r = Run(u"hello", Sections(false, false));
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.pageStatus, -1);
  r = Run(u"zebra crossing");
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.pageStatus, -1);
  EXPECT_EQ(r.query, u"zebra crossing");
  EXPECT_FALSE(std::filesystem::exists(kResultPageFile));
}

TEST_F(SearchCommandTest, PagePathOptionalAndFailureReported) {
  SearchCommandResult r = RunSearchCommand(u"hello", bi_, mo_, {}, {});
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.pageStatus, -1);
  r = RunSearchCommand(u"hello", bi_, mo_, {}, "missing/displayResult.html");
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.pageStatus, -1);
  EXPECT_FALSE(std::filesystem::exists(kResultPageFile));
}

}  // namespace
}  // namespace tamrel
