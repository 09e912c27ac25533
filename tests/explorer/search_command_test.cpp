#include "explorer/search_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "explorer/not_found_page.h"
#include "explorer/result_page.h"
#include "search/query.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using Results = std::vector<ResultSentence>;

// "我爱" is a word of the bilingual dictionary only: the monolingual dictionary segments every
// Chinese query.
class SearchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BuildSmallCorpus(folder_.path(), u"BI",
                           "0我\t0:1 1:1\n0爱\t0:1\n0风筝\t0:1\n0我爱\t1:1\n1wǒ\t0:1 1:1\n1ài\t0:1\n"
                           "1fēngzhēng\t0:1\n1wǒài\t1:1\n3I\t0:1\n3love\t0:1\n3kites.\t0:1\n2i\t0:1\n"
                           "2love\t0:1\n2kites\t0:1\n3Me\t1:1\n2me\t1:1\n3Hello\t2:1\n2hello\t2:1\n"
                           "3world!\t2:1\n2world\t2:1\n",
                           "我 爱 风筝\nwǒ ài fēngzhēng\nI love kites.\n我爱\nwǒài\nMe\n\n\nHello world!\n");
    test::BuildSmallCorpus(folder_.path(), u"MO",
                           "0我\t0:1\n0爱\t0:1\n0风筝\t0:1\n1wǒ\t0:1\n1ài\t0:1\n1fēngzhēng\t0:1\n"
                           "3hello\t1:1\n2hello\t1:1\n3there\t1:1\n2there\t1:1\n",
                           "我 爱 风筝\nwǒ ài fēngzhēng\n\n\n\nhello there\n");
    for (CorpusIndex* index : {&bi_, &mo_}) {
      const Status loaded = LoadCorpus(*index);
      ASSERT_TRUE(loaded.ok()) << loaded.ToString();
    }
  }

  SearchCommandResult Run(std::u16string_view text, const SysSettings& settings = {}) {
    return RunSearchCommand(text, {bi_, mo_, test::OpenedSimplifier()}, settings, page_);
  }

  static SysSettings Sections(bool bi, bool mono) {
    SysSettings s;
    s.searchBilingual = bi;
    s.searchMonolingual = mono;
    return s;
  }

  test::RuntimeFolder folder_;
  const std::filesystem::path page_ = ResultPageFileName(folder_.path());
  CorpusIndex bi_{folder_.path(), u"BI"};
  CorpusIndex mo_{folder_.path(), u"MO"};
};

TEST_F(SearchCommandTest, EnglishQueryNormalisedAndPageWritten) {
  const SearchCommandResult r = Run(u"hello   world ");
  EXPECT_EQ(r.language, Language::kEnglish);
  EXPECT_EQ(r.query, u"hello world");
  EXPECT_EQ(r.bilingual, (Results{{u"", u"", u"Hello world! "}}));
  EXPECT_EQ(r.monolingual, (Results{{u"", u"", u"hello there "}}));
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_EQ(test::ReadBytes(page_), "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"hello world", Language::kEnglish,
                                                                                  r.bilingual, r.monolingual, {})));
}

// 我爱 is a word of the bilingual corpus only: a query searched in both corpora is cut with the
// words of both, so it stays whole; searched in the monolingual corpus alone, with its words only.
TEST_F(SearchCommandTest, ChineseQueryCutWithTheWordsOfEverySearchedCorpus) {
  SearchCommandResult r = Run(u"我爱风筝");
  EXPECT_EQ(r.language, Language::kChinese);
  EXPECT_EQ(r.query, u"我爱 风筝");
  EXPECT_EQ(r.bilingual,
            (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u"I love kites. "}, {u"我爱 ", u"wǒài ", u"Me "}}));
  EXPECT_EQ(r.monolingual, (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u""}}));
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_EQ(test::ReadBytes(page_), "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"我爱 风筝", Language::kChinese,
                                                                                  r.bilingual, r.monolingual, {})));
  EXPECT_EQ(Run(u"我爱", Sections(true, false)).query, u"我爱");
  r = Run(u"我爱风筝", Sections(false, true));
  EXPECT_EQ(r.query, u"我 爱 风筝");
  EXPECT_EQ(r.monolingual, (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u""}}));
}

TEST_F(SearchCommandTest, DigitsAndSpacesMakeAChineseQuery) {
  EXPECT_EQ(Run(u"3 hello").language, Language::kChinese);
  // Searched as typed, " hello" is single letters, each looked up as an English term, and finds
  // nothing; without its leading space it finds the English word.
  const SearchCommandResult r = Run(u" hello");
  EXPECT_EQ(r.route, SearchRoute::kTrimmed);
  EXPECT_EQ(r.language, Language::kEnglish);
  EXPECT_EQ(r.query, u"hello");
  EXPECT_TRUE(r.found());
}

TEST_F(SearchCommandTest, TermInOneCorpusOnly) {
  const SearchCommandResult r = Run(u"World");
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.monolingual, Results{});
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_TRUE(std::filesystem::exists(page_));
}

TEST_F(SearchCommandTest, SectionsFollowTheSettings) {
  SearchCommandResult r = Run(u"hello", Sections(true, false));
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.monolingual, Results{});
  r = Run(u"hello", Sections(false, true));
  EXPECT_EQ(r.bilingual, Results{});
  EXPECT_EQ(r.monolingual.size(), 1u);
  EXPECT_EQ(test::ReadBytes(page_),
            "\xEF\xBB\xBF" +
                Utf16ToUtf8(RenderResultPage(u"hello", Language::kEnglish, {}, r.monolingual, Sections(false, true))));
}

TEST_F(SearchCommandTest, NothingFoundWritesTheNotFoundPage) {
  SearchCommandResult r = Run(u"hello", Sections(false, false));
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.route, SearchRoute::kNothingFound);
  r = Run(u"zebra crossing");
  EXPECT_FALSE(r.found());
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_EQ(r.query, u"zebra crossing");
  EXPECT_EQ(r.pageFile, folder_.path() / "data/notFound.html");
  EXPECT_NE(test::ReadBytes(r.pageFile).find("Nothing found for"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(page_));  // the result page on display stays
  r = RunSearchCommand(u"zebra", {bi_, mo_, test::OpenedSimplifier()}, {}, {});
  EXPECT_EQ(r.page, PageResult::kNotAsked);
}

TEST_F(SearchCommandTest, PagePathOptionalAndFailureReported) {
  SearchCommandResult r = RunSearchCommand(u"hello", {bi_, mo_, test::OpenedSimplifier()}, {}, {});
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.page, PageResult::kNotAsked);
  r = RunSearchCommand(u"hello", {bi_, mo_, test::OpenedSimplifier()}, {}, folder_ / "missing/displayResult.html");
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.page, PageResult::kFailed);
  EXPECT_FALSE(std::filesystem::exists(page_));
}

TEST_F(SearchCommandTest, AstralCharacterBetweenChineseWordsStaysWholeInTheTitle) {
  // U+1F600 is in no dictionary: it becomes a word of its own, both units together.
  const SearchCommandResult r = Run(u"我\U0001F600风筝");
  EXPECT_EQ(r.query, u"我 \U0001F600 风筝");
  ASSERT_EQ(r.page, PageResult::kWritten);
  const std::string page = test::ReadBytes(page_);
  EXPECT_NE(page.find("The results for \"我 \xF0\x9F\x98\x80 风筝\""), std::string::npos);
  EXPECT_EQ(page.find("\xEF\xBF\xBD"), std::string::npos);  // no U+FFFD from a lone half
}

// A corpus made from its sentence file by prepare, as a user makes one.
TEST(PreparedCorpusSearchTest, EnglishWordEndingInAnAstralCharacterIsFound) {
  test::RuntimeFolder folder;
  for (const char* tag : {"BI", "MO"}) {
    test::WriteBytes(folder / (std::string("BDict/sents.final") + tag),
                     "我 喜欢 寿司\nwǒ xǐhuan shòusī\nI like sushi\xF0\x9F\x91\x8D\n");  // U+1F44D
    const std::u16string wideTag = Ascii(tag);
    PrepareReport report;
    const Status prepared = PrepareDictionary(folder.path(), wideTag, report);
    ASSERT_TRUE(prepared.ok()) << prepared.ToString();
    const Status built = BuildCorpus(folder.path(), wideTag);
    ASSERT_TRUE(built.ok()) << built.ToString();
  }
  // The normal form drops the whole pair: the dictionary files the word as "sushi".
  EXPECT_NE(test::ReadBytes(folder / "BDict/word.dictBI").find("\n2sushi\t0:1\n"), std::string::npos);
  CorpusIndex bi(folder.path(), u"BI");
  CorpusIndex mo(folder.path(), u"MO");
  ASSERT_TRUE(LoadCorpus(bi).ok());
  ASSERT_TRUE(LoadCorpus(mo).ok());
  const Results expected{{u"我 喜欢 寿司 ", u"wǒ xǐhuan shòusī ", u"I like sushi\U0001F44D "}};
  for (std::u16string_view query : {u"sushi\U0001F44D", u"Sushi\U0001F44D", u"sushi", u"like sushi\U0001F44D"}) {
    const SearchCommandResult r = RunSearchCommand(query, {bi, mo, test::OpenedSimplifier()}, {}, {});
    EXPECT_EQ(r.bilingual, expected) << Utf16ToUtf8(query);
    EXPECT_EQ(r.monolingual, expected) << Utf16ToUtf8(query);
  }
}

}  // namespace
}  // namespace tamrel
