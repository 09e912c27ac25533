// The readings of typed text: their order, each tried once, and what they find through
// RunSearchCommand as the window and tamrel-cli call it.
#include "explorer/typed_readings.h"

#include <gtest/gtest.h>

#include "explorer/not_found_page.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "importer/corpus_import.h"
#include "importer/open_chinese_text.h"
#include "search/query.h"
#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

class TypedReadingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Status bi =
        test::WriteCorpus(folder_.path(), u"BI",
                          {{"你好 ， 妈 ！", "nǐhǎo ， mā ！", "Hello, mum!"},
                           {"你 好 吗 ？", "nǐ hǎo ma ？", "How are you?"},
                           {"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is good today."},
                           {"我 吃 苹果 。", "wǒ chī píngguǒ 。", "I eat an apple."},
                           {"我们 去 公园 。", "wǒmen qù gōngyuán 。", "We go to the park."}});
    ASSERT_TRUE(bi.ok()) << bi.ToString();
    const Status mo =
        test::WriteCorpus(folder_.path(), u"MO", {{"你好 。", "nǐhǎo 。", ""}, {"天气 冷 。", "tiānqì lěng 。", ""}});
    ASSERT_TRUE(mo.ok()) << mo.ToString();
    for (CorpusIndex* index : {&bi_, &mo_}) ASSERT_TRUE(LoadCorpus(*index).ok());
  }

  SearchCommandResult Run(std::u16string_view text, const SysSettings& settings = {}) {
    return RunSearchCommand(text, {bi_, mo_, test::OpenedSimplifier()}, settings, page_);
  }
  std::string Page() const { return test::ReadBytes(page_); }
  std::string NotFoundPage() const { return test::ReadBytes(NotFoundPageFileName(page_)); }

  test::RuntimeFolder folder_;
  const std::filesystem::path page_ = ResultPageFileName(folder_.path());
  CorpusIndex bi_{folder_.path(), u"BI"};
  CorpusIndex mo_{folder_.path(), u"MO"};
};

// Every reading a text has, in the order they are tried, none repeating an earlier search.
TEST_F(TypedReadingsTest, ReadingsComeInOrderEachSearchOnce) {
  const SearchSources sources{bi_, mo_, test::OpenedSimplifier()};
  const auto routes = [&](std::u16string_view text, const SysSettings& settings = {}) {
    std::vector<SearchRoute> all;
    std::vector<std::pair<Language, std::u16string>> searched;
    TypedReadings readings(text, sources, settings);
    while (const std::optional<TypedReading> reading = readings.Next()) {
      all.push_back(reading->route);
      searched.emplace_back(reading->language, reading->query);
    }
    for (size_t i = 0; i < searched.size(); ++i) {
      for (size_t j = 0; j < i; ++j) EXPECT_NE(searched[i], searched[j]) << Utf16ToUtf8(text);
    }
    return all;
  };
  using R = SearchRoute;
  // Spaces around toned pinyin: without them first (decided English), then as pinyin, then as
  // typed; the text without spaces and the pinyin are not searched a second time.
  EXPECT_EQ(routes(u" ni3hao3 "), (std::vector<R>{R::kTrimmed, R::kPinyin, R::kAsTyped}));
  EXPECT_EQ(routes(u"nihao"), (std::vector<R>{R::kAsTyped, R::kPinyin}));
  EXPECT_EQ(routes(u"天氣"), (std::vector<R>{R::kSimplified, R::kAsTyped}));
  EXPECT_EQ(routes(u"apples"), (std::vector<R>{R::kAsTyped, R::kEnglishBaseForm}));
  EXPECT_EQ(routes(u"apple "), (std::vector<R>{R::kAsTyped}));  // searched as typed, "apple" is the same query
  EXPECT_EQ(routes(u"   "), (std::vector<R>{R::kAsTyped}));
  EXPECT_EQ(routes(u"xyzzy"), (std::vector<R>{R::kAsTyped}));
  // Readings are made only when asked for: the first one alone costs no other.
  TypedReadings readings(u"nihao", sources, {});
  EXPECT_EQ(readings.Next()->route, R::kAsTyped);
}

TEST_F(TypedReadingsTest, FoundAsTypedThePageIsThePlainResultPage) {
  const SearchCommandResult r = Run(u"apple");
  EXPECT_EQ(r.route, SearchRoute::kAsTyped);
  EXPECT_TRUE(r.notice.empty());
  EXPECT_EQ(Page(), "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"apple", Language::kEnglish, r.bilingual,
                                                                  r.monolingual, SysSettings{})));
}

TEST_F(TypedReadingsTest, PinyinInEveryNotationSearchesTheChineseWord) {
  const SearchCommandResult chinese = RunSearchCommand(u"你好", {bi_, mo_, test::OpenedSimplifier()}, {}, {});
  for (std::u16string_view typed : {u"nǐhǎo", u"ni3 hao3", u"ni3hao3", u"nihao", u"ni hao", u"NI HAO"}) {
    const SearchCommandResult r = Run(typed);
    const std::string text = Utf16ToUtf8(typed);
    EXPECT_EQ(r.route, SearchRoute::kPinyin) << text;
    EXPECT_EQ(r.language, Language::kChinese) << text;
    EXPECT_EQ(r.query, u"你好") << text;
    EXPECT_EQ(r.searched, std::u16string(typed) + u": 你好") << text;
    EXPECT_EQ(r.bilingual, chinese.bilingual) << text;  // ranked as the Chinese query
    EXPECT_EQ(r.monolingual, chinese.monolingual) << text;
    EXPECT_TRUE(r.found());
  }
  const std::string page = Page();
  EXPECT_NE(page.find("<p><i>Showing results for the pinyin NI HAO: 你好</i></p>\n<p><a name=\"TOP\">"),
            std::string::npos);
  EXPECT_NE(page.find("<font color=red>你好 </font>"), std::string::npos);
}

TEST_F(TypedReadingsTest, TypedTonesChooseTheWord) {
  EXPECT_EQ(Run(u"ma1").searched, u"ma1: 妈");
  EXPECT_EQ(Run(u"ma5").searched, u"ma5: 吗");
  EXPECT_EQ(Run(u"ma").searched, u"ma: 妈/吗");                  // no tone typed: every tone, the more frequent first
  EXPECT_EQ(Run(u"nǐ hǎo ma").searched, u"nǐ hǎo ma: 你好 吗");  // an untoned syllable is neutral here
  EXPECT_EQ(Run(u"ma3").route, SearchRoute::kNothingFound);
  EXPECT_EQ(Run(u"ni2hao3").route, SearchRoute::kNothingFound);
}

TEST_F(TypedReadingsTest, SpacesAroundTraditionalCharactersAndBaseForms) {
  SearchCommandResult r = Run(u" apple ");
  EXPECT_EQ(r.route, SearchRoute::kTrimmed);
  EXPECT_EQ(r.query, u"apple");
  EXPECT_EQ(r.notice, u"Showing results for \"apple\", without the spaces around it");

  r = Run(u"天氣");
  EXPECT_EQ(r.route, SearchRoute::kSimplified);
  EXPECT_EQ(r.searched, u"天气");
  EXPECT_EQ(r.query, u"天气");
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.monolingual.size(), 1u);

  r = Run(u"apples");
  EXPECT_EQ(r.route, SearchRoute::kEnglishBaseForm);
  EXPECT_EQ(r.query, u"apple");
  r = Run(u"Went parks");
  EXPECT_EQ(r.route, SearchRoute::kEnglishBaseForm);
  EXPECT_EQ(r.searched, u"go park");
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_NE(Page().find("Showing results for &quot;go park&quot; (nothing was found for &quot;Went parks&quot;)"),
            std::string::npos);
}

// Text that the language decision plainly misreads is read the way it is meant first, even where the text
// as typed finds something: " apple" letter by letter finds the "a" of "Here is a letter.", 天氣 finds the
// 天 of 天 冷, and tone digits are not English (though "wo" is a word of the corpus).
TEST(TypedReadingsPrecedenceTest, MisreadTextIsReadAsMeantBeforeTheTextAsTyped) {
  test::RuntimeFolder folder;
  ASSERT_TRUE(test::WriteCorpus(folder.path(), u"BI",
                                {{"我 的 e 邮件 。", "wǒ de e yóujiàn 。", "Here is a letter."},
                                 {"天 冷 。", "tiān lěng 。", "It is cold."},
                                 {"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is good today."},
                                 {"我 吃 苹果 。", "wǒ chī píngguǒ 。", "I eat an apple."},
                                 {"我 爱 你 。", "wǒ ài nǐ 。", "I love you, wo."}})
                  .ok());
  ASSERT_TRUE(test::WriteCorpus(folder.path(), u"MO",
                                {{"天 蓝 。", "tiān lán 。", ""}, {"发 e 邮件 。", "fā e yóujiàn 。", ""}})
                  .ok());
  CorpusIndex bi{folder.path(), u"BI"}, mo{folder.path(), u"MO"};
  ASSERT_TRUE(LoadCorpus(bi).ok());
  ASSERT_TRUE(LoadCorpus(mo).ok());
  const auto asTyped = [&](std::u16string_view text) {
    const Language language = DecideLanguage(text);
    std::vector<ResultSentence> found;
    std::u16string query = QueryOfText(text, language, {bi, mo, test::OpenedSimplifier()}, {});
    SearchCorpus(query, bi, found);
    return found.size();
  };
  ASSERT_GT(asTyped(u" apple"), 0u);  // the misreadings this test is about do find something
  ASSERT_GT(asTyped(u"天氣"), 0u);

  const SearchCommandResult apple = RunSearchCommand(u" apple", {bi, mo, test::OpenedSimplifier()}, {}, {});
  EXPECT_EQ(apple.route, SearchRoute::kTrimmed);
  EXPECT_EQ(apple.query, u"apple");
  const SearchCommandResult weather = RunSearchCommand(u"天氣", {bi, mo, test::OpenedSimplifier()}, {}, {});
  EXPECT_EQ(weather.route, SearchRoute::kSimplified);
  EXPECT_EQ(weather.searched, u"天气");
  EXPECT_EQ(weather.notice, u"Showing results for 天气, in simplified characters");
  const SearchCommandResult love = RunSearchCommand(u"wo3 ai4 ni3", {bi, mo, test::OpenedSimplifier()}, {}, {});
  EXPECT_EQ(love.route, SearchRoute::kPinyin);
  EXPECT_EQ(love.query, u"我 爱 你");
  // Spaces around a Chinese text change nothing, and untoned letters are English first.
  EXPECT_EQ(RunSearchCommand(u" 天气 ", {bi, mo, test::OpenedSimplifier()}, {}, {}).route, SearchRoute::kAsTyped);
  EXPECT_EQ(RunSearchCommand(u"wo", {bi, mo, test::OpenedSimplifier()}, {}, {}).route, SearchRoute::kAsTyped);
}

TEST_F(TypedReadingsTest, ReadingsFollowTheSearchedCorpora) {
  SysSettings monolingualOnly;
  monolingualOnly.searchBilingual = false;
  const SearchCommandResult r = Run(u"tianqi", monolingualOnly);
  EXPECT_EQ(r.route, SearchRoute::kPinyin);
  EXPECT_TRUE(r.bilingual.empty());
  EXPECT_EQ(r.monolingual.size(), 1u);
  EXPECT_EQ(Run(u"women", monolingualOnly).route, SearchRoute::kNothingFound);  // 我们 is bilingual only
}

// An imported corpus writes apostrophes in its pinyin (qǐ'é); typed pinyin with or without them
// finds the word.
TEST(TypedReadingsImportTest, TypedPinyinFindsImportedWordsWrittenWithApostrophes) {
  test::RuntimeFolder folder;
  const Status mo = test::WriteCorpus(folder.path(), u"MO", {{"你好 。", "nǐhǎo 。", ""}});
  ASSERT_TRUE(mo.ok()) << mo.ToString();
  test::WriteBytes(folder.path() / "pairs.tsv",
                   "The penguin is cute.\t企鹅很可爱。\nThe penguins are hungry.\t企鹅饿了。\n");
  Status opened;
  const std::unique_ptr<ChineseText> tools = OpenChineseText(TAMREL_SOURCE_DIR, opened);
  ASSERT_TRUE(opened.ok()) << opened.ToString();
  const Status imported = ImportCorpus(folder.path(), u"BI", {folder.path() / "pairs.tsv"}, false, *tools);
  ASSERT_TRUE(imported.ok()) << imported.ToString();
  EXPECT_NE(test::ReadBytes(folder.path() / "BDict/sents.finalBI").find("qǐ'é hěn kě'ài 。"), std::string::npos);

  CorpusIndex bi(folder.path(), u"BI");
  CorpusIndex mono(folder.path(), u"MO");
  for (CorpusIndex* index : {&bi, &mono}) ASSERT_TRUE(LoadCorpus(*index).ok());
  for (std::u16string_view typed : {u"qie", u"qi'e", u"qǐ'é", u"qǐé", u"qi3e2", u"qi e"}) {
    const SearchCommandResult r = RunSearchCommand(typed, {bi, mono, test::OpenedSimplifier()}, {}, {});
    EXPECT_EQ(r.route, SearchRoute::kPinyin) << Utf16ToUtf8(typed);
    EXPECT_EQ(r.query, u"企鹅") << Utf16ToUtf8(typed);
    EXPECT_EQ(r.bilingual.size(), 2u) << Utf16ToUtf8(typed);
  }
  EXPECT_EQ(RunSearchCommand(u"keai", {bi, mono, test::OpenedSimplifier()}, {}, {}).query, u"可爱");
  EXPECT_EQ(RunSearchCommand(u"ke3'ai4", {bi, mono, test::OpenedSimplifier()}, {}, {}).query, u"可爱");
}

TEST_F(TypedReadingsTest, NothingFoundPageNamesTheQueryAsText) {
  SearchCommandResult r = Run(u"xyzzy");
  EXPECT_EQ(r.route, SearchRoute::kNothingFound);
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.page, PageResult::kWritten);
  EXPECT_NE(NotFoundPage().find("Nothing found for \"<span class=\"query\">xyzzy</span>\""), std::string::npos);

  r = Run(u"<b>zq</b>&\"");
  EXPECT_EQ(r.route, SearchRoute::kNothingFound);
  EXPECT_EQ(NotFoundPage().find("<b>zq"), std::string::npos);
  EXPECT_NE(NotFoundPage().find("&lt;b&gt;zq&lt;/b&gt;&amp;&quot;"), std::string::npos);

  Run(std::u16string(u"a\x01") + char16_t(0xD800) + u"\U0001F600");  // a control, a lone half, an astral
  EXPECT_NE(NotFoundPage().find("a\xEF\xBF\xBD\xEF\xBF\xBD\xF0\x9F\x98\x80"), std::string::npos);
}

TEST_F(TypedReadingsTest, HugeQueriesEndWithOnlyThePageWritten) {
  std::u16string huge;
  while (huge.size() < (1u << 20)) huge += u"zq \u6C23";
  for (const std::u16string& text : {huge, u" " + huge, std::u16string(1u << 20, u'a')}) {
    const SearchCommandResult r = Run(text);
    EXPECT_EQ(r.route, SearchRoute::kNothingFound);
    EXPECT_LT(NotFoundPage().size(), 4096u);  // the query is named by its start
  }
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.path())) {
    if (entry.path().parent_path().filename() != "BDict" && entry.path().parent_path().filename() != "data") {
      files.push_back(entry.path().string());
    }
  }
  EXPECT_EQ(files, (std::vector<std::string>{(folder_.path() / "BDict").string(), (folder_.path() / "data").string()}));
}

// A corpus where "shi" is an English word (a surname) and the reading of several Chinese words,
// and where the monolingual corpus alone holds "wolves".
class OtherReadingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Status bi = test::WriteCorpus(folder_.path(), u"BI",
                                        {{"他 是 老师 。", "tā shì lǎoshī 。", "He is a teacher."},
                                         {"十 个 人 。", "shí gè rén 。", "Ten people."},
                                         {"石 先生 来 了 。", "shí xiānsheng lái le 。", "Mr Shi has come."},
                                         {"这 是 我 的 事 。", "zhè shì wǒ de shì 。", "This is my business."},
                                         {"我 去 市 里 。", "wǒ qù shì lǐ 。", "I go to the city."},
                                         {"狼 来 了 。", "láng lái le 。", "The wolf is coming."}});
    ASSERT_TRUE(bi.ok()) << bi.ToString();
    const Status mo =
        test::WriteCorpus(folder_.path(), u"MO", {{"他 来 了 。", "tā lái le 。", ""}, {"", "", "The wolves howl."}});
    ASSERT_TRUE(mo.ok()) << mo.ToString();
    for (CorpusIndex* index : {&bi_, &mo_}) ASSERT_TRUE(LoadCorpus(*index).ok());
  }

  SearchCommandResult Run(std::u16string_view text, const SysSettings& settings = {}) {
    return RunSearchCommand(text, {bi_, mo_, test::OpenedSimplifier()}, settings, page_);
  }
  std::string Page() const { return test::ReadBytes(page_); }

  test::RuntimeFolder folder_;
  const std::filesystem::path page_ = ResultPageFileName(folder_.path());
  CorpusIndex bi_{folder_.path(), u"BI"};
  CorpusIndex mo_{folder_.path(), u"MO"};
};

TEST_F(OtherReadingsTest, EnglishThatIsAlsoPinyinOffersItsChineseWords) {
  const SearchCommandResult r = Run(u"shi");
  EXPECT_EQ(r.route, SearchRoute::kAsTyped);  // the surname is what is found and shown
  EXPECT_EQ(r.bilingual.size(), 1u);
  EXPECT_EQ(r.offer.intro, u"\"shi\" is also pinyin:");
  EXPECT_EQ(r.offer.readings,
            (std::vector<OfferedReading>{{u"是", 2}, {u"十", 1}, {u"石", 1}, {u"事", 1}, {u"市", 1}}));
  EXPECT_NE(Page().find("<p class=\"readings\"><i>&quot;shi&quot; is also pinyin: "
                        "<a href=\"tamrel:search?text=%E6%98%AF\">是</a> (2), "),
            std::string::npos);
  // A word's count follows the searched corpora: 他 is in one bilingual and one monolingual sentence.
  EXPECT_EQ(Run(u"ta").offer.readings, (std::vector<OfferedReading>{}));   // "ta" is no English word here
  EXPECT_EQ(Run(u"Ten").offer.readings, (std::vector<OfferedReading>{}));  // not pinyin
  // English found through its base form is no pinyin reading.
  EXPECT_TRUE(Run(u"teachers").offer.empty());
}

TEST_F(OtherReadingsTest, PinyinOfSeveralWordsOffersEachWord) {
  const SearchCommandResult r = Run(u"shi4");
  EXPECT_EQ(r.route, SearchRoute::kPinyin);
  EXPECT_EQ(r.query, u"是 事 市");  // all of them at once
  EXPECT_EQ(r.offer.intro, u"\"shi4\" reads as several words; search one of them:");
  EXPECT_EQ(r.offer.readings, (std::vector<OfferedReading>{{u"是", 2}, {u"事", 1}, {u"市", 1}}));
  // One word, or several word positions, offer nothing.
  EXPECT_TRUE(Run(u"lang2").offer.empty());
  EXPECT_TRUE(Run(u"ta1 shi4").offer.empty());
  SysSettings monolingualOnly;
  monolingualOnly.searchBilingual = false;
  const SearchCommandResult ta = Run(u"ta1", monolingualOnly);
  EXPECT_TRUE(ta.offer.empty());
  EXPECT_EQ(ta.monolingual.size(), 1u);
}

TEST_F(OtherReadingsTest, BilingualCorpusTakesItsOwnReadingWhenItAloneFindsNothing) {
  const SearchCommandResult r = Run(u"wolves");
  EXPECT_EQ(r.query, u"wolves");  // the title and the history entry: what was found as typed
  EXPECT_EQ(r.monolingual, (std::vector<ResultSentence>{{u"", u"", u"The wolves howl. "}}));
  EXPECT_EQ(r.bilingual, (std::vector<ResultSentence>{{u"狼 来 了 。 ", u"láng lái le 。 ", u"The wolf is coming. "}}));
  EXPECT_EQ(r.bilingualQuery, u"wolf");
  EXPECT_EQ(r.notice, u"Bilingual examples for \"wolf\" (no bilingual sentence holds \"wolves\")");
  const std::string page = Page();
  EXPECT_NE(page.find("The <font color=red>wolf </font>is coming."), std::string::npos);
  EXPECT_NE(page.find("The <font color=red>wolves </font>howl."), std::string::npos);
  // Searched alone, the monolingual corpus keeps its answer and nothing more.
  SysSettings monolingualOnly;
  monolingualOnly.searchBilingual = false;
  EXPECT_TRUE(Run(u"wolves", monolingualOnly).notice.empty());
  // A text the bilingual corpus finds as typed is left alone.
  EXPECT_TRUE(Run(u"wolf").bilingualQuery.empty());
}

}  // namespace
}  // namespace tamrel
