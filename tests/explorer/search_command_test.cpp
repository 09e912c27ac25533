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
    return RunSearchCommand(text, bi_, mo_, settings, page_);
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

TEST_F(SearchCommandTest, ChineseQuerySegmentedWithTheMonolingualDictionary) {
  const SearchCommandResult r = Run(u"我爱风筝");
  EXPECT_EQ(r.language, Language::kChinese);
  EXPECT_EQ(r.query, u"我 爱 风筝");
  // Sentence 0 holds all three words, sentence 1 only 我.
  EXPECT_EQ(r.bilingual,
            (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u"I love kites. "}, {u"我爱 ", u"wǒài ", u"Me "}}));
  EXPECT_EQ(r.monolingual, (Results{{u"我 爱 风筝 ", u"wǒ ài fēngzhēng ", u""}}));
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_EQ(test::ReadBytes(page_), "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"我 爱 风筝", Language::kChinese,
                                                                                  r.bilingual, r.monolingual, {})));
}

TEST_F(SearchCommandTest, DigitsAndSpacesMakeAChineseQuery) {
  EXPECT_EQ(Run(u"3 hello").language, Language::kChinese);
  const SearchCommandResult r = Run(u" hello");
  EXPECT_EQ(r.language, Language::kChinese);
  EXPECT_EQ(r.query, u" h e l l o");  // single letters, each looked up as an English term
  EXPECT_FALSE(r.found());
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

TEST_F(SearchCommandTest, NothingFoundWritesNoPage) {
  SearchCommandResult r = Run(u"hello", Sections(false, false));
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.page, PageResult::kNotAsked);
  r = Run(u"zebra crossing");
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.page, PageResult::kNotAsked);
  EXPECT_EQ(r.query, u"zebra crossing");
  EXPECT_FALSE(std::filesystem::exists(page_));
}

TEST_F(SearchCommandTest, PagePathOptionalAndFailureReported) {
  SearchCommandResult r = RunSearchCommand(u"hello", bi_, mo_, {}, {});
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.page, PageResult::kNotAsked);
  r = RunSearchCommand(u"hello", bi_, mo_, {}, folder_ / "missing/displayResult.html");
  EXPECT_TRUE(r.found());
  EXPECT_EQ(r.page, PageResult::kFailed);
  EXPECT_FALSE(std::filesystem::exists(page_));
}

}  // namespace
}  // namespace tamrel
