#include "explorer/result_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "search/query.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using Results = std::vector<ResultSentence>;

const std::u16string kHeader =
    u"<html><meta http-equiv=\"content-type\" content=\"text/html; charset=utf8\" />" + std::u16string(16, u' ') +
    u"<style type=\"text/css\" media=\"all\">" + std::u16string(17, u'\t') + u"#border7 {" + std::u16string(15, u'\t') +
    u"border: 2px solid;" + std::u16string(11, u'\t') + u"border-color: #abc #ddd #ddd #ddd;" +
    std::u16string(7, u'\t') + u"background-color: #E6E6FA;" + std::u16string(9, u'\t') + u"}" +
    std::u16string(16, u'\t') + u".style1 {" + u"\t" + std::u16string(12, u' ') + u"color: #0000FF;" + u"\t" +
    std::u16string(12, u' ') + u"font-style: italic;" + u"\t" + std::u16string(8, u' ') + u"}" +
    std::u16string(3, u'\t') + u"</style>" + std::u16string(15, u'\t') + u"\n" + u"<body>\n";
const std::u16string F1 = u"<p><a name=\"TOP\"><font size=\"+2\"> The results for \"";
const std::u16string F2 = u"\" </font></a>:\n";
const std::u16string F3 = u"<a href=\"#BI\">Bilingual Examples</a> and <a href=\"#MONO\"> Monolingual Examples ";
const std::u16string F4 = u"</a></p>\n";
const std::u16string F5 = u"<p id=\"border7\"><a name=\"BI\"> Bilingual Examples:</a></p>\n";
const std::u16string F6 = u"<ul>";
const std::u16string F7 = u"<li>";
const std::u16string F8 = u"<span class=\"style1\">";
const std::u16string F9 = u"<font color=red>";
const std::u16string F10 = u" </font>";
const std::u16string F11 = u"</span><BR>";
const std::u16string F12 = u"<BR>";
const std::u16string F13 = u"</li><hr>";
const std::u16string F14 = u"</ul>\n";
const std::u16string F15 = u"<p id=\"border7\"><a name=\"MONO\"> Monolingual Examples:</a></p>\n";
const std::u16string F16 = u"</body></html>\n";

SysSettings Flags(bool pron, bool bi, bool mono) {
  SysSettings s;
  s.showPinyin = pron;
  s.searchBilingual = bi;
  s.searchMonolingual = mono;
  return s;
}

TEST(ResultPageTest, FragmentLengths) {
  EXPECT_EQ(kHeader.size(), 402u);
  const std::vector<size_t> lengths = {F1.size(),  F2.size(),  F3.size(),  F4.size(),  F5.size(),  F6.size(),
                                       F7.size(),  F8.size(),  F9.size(),  F10.size(), F11.size(), F12.size(),
                                       F13.size(), F14.size(), F15.size(), F16.size()};
  EXPECT_EQ(lengths, (std::vector<size_t>{51, 15, 79, 9, 58, 4, 4, 21, 16, 8, 11, 4, 9, 6, 62, 15}));
}

class EnglishPageTest : public ::testing::Test {
 protected:
  std::u16string Render(const SysSettings& s) { return RenderResultPage(u"Apple", Language::kEnglish, bi_, mo_, s); }

  const Results bi_ = {{u"我 喜欢 苹果 。 ", u"wǒ xǐhuān píngguǒ 。 ", u"I like apples. An apple. "}};
  const Results mo_ = {{u"", u"", u"Apple pie! "}, {u"", u"", u"Cats. "}};
  const std::u16string biMarked = F8 + u"I like apples. An " + F9 + u"apple." + F10 + F11;
  const std::u16string moItems = F7 + F8 + F9 + u"Apple" + F10 + u"pie! " + F11 + F13 + F7 + F8 + u"Cats. " + F11 + F13;
  const std::u16string title = kHeader + F1 + u"Apple" + F2;
};

TEST_F(EnglishPageTest, BothSectionsWithLinks) {
  EXPECT_EQ(Render(Flags(true, true, true)), title + F3 + F4 + F5 + F6 + F7 + biMarked + u"我 喜欢 苹果 。 " + F12 +
                                                 u"wǒ xǐhuān píngguǒ 。 " + F12 + F13 + F14 + F15 + F6 + moItems + F14 +
                                                 F16);
}

TEST_F(EnglishPageTest, WithoutPinyin) {
  EXPECT_EQ(Render(Flags(false, true, true)), title + F3 + F4 + F5 + F6 + F7 + biMarked + u"我 喜欢 苹果 。 " + F12 +
                                                  F13 + F14 + F15 + F6 + moItems + F14 + F16);
}

TEST_F(EnglishPageTest, OnlyOneSection) {
  EXPECT_EQ(Render(Flags(true, true, false)), title + F4 + F5 + F6 + F7 + biMarked + u"我 喜欢 苹果 。 " + F12 +
                                                  u"wǒ xǐhuān píngguǒ 。 " + F12 + F13 + F14 + F16);
  EXPECT_EQ(Render(Flags(true, false, true)), title + F4 + F15 + F6 + moItems + F14 + F16);
  EXPECT_EQ(Render(Flags(true, false, false)), title + F4 + F16);
}

TEST_F(EnglishPageTest, EmptyBilingualListKeepsItsSection) {
  EXPECT_EQ(RenderResultPage(u"Apple", Language::kEnglish, {}, mo_, Flags(true, true, true)),
            title + F3 + F4 + F5 + F6 + F14 + F15 + F6 + moItems + F14 + F16);
}

TEST(ChinesePageTest, MarksEqualWordsOnly) {
  const Results bi = {{u"我 喜欢 苹果 。 ", u"wǒ xǐhuān píngguǒ 。 ", u"I like apples. "}};
  const Results mo = {{u"苹果 很 甜 Apple ", u"píngguǒ hěn tián Apple ", u""}};
  const std::u16string title = kHeader + F1 + u"喜欢 苹果 apple" + F2;
  const std::u16string biItem = F7 + u"我 " + F9 + u"喜欢" + F10 + F9 + u"苹果" + F10 + u"。 " + F12;
  const std::u16string moItem = F7 + F9 + u"苹果" + F10 + u"很 甜 Apple " + F12;
  EXPECT_EQ(RenderResultPage(u"喜欢 苹果 apple", Language::kChinese, bi, mo, Flags(true, true, true)),
            title + F3 + F4 + F5 + F6 + biItem + u"wǒ xǐhuān píngguǒ 。 " + F12 + u"I like apples. " + F12 + F13 + F14 +
                F15 + F6 + moItem + u"píngguǒ hěn tián Apple " + F12 + F13 + F14 + F16);
  EXPECT_EQ(
      RenderResultPage(u"喜欢 苹果 apple", Language::kChinese, bi, mo, Flags(false, true, true)),
      title + F3 + F4 + F5 + F6 + biItem + u"I like apples. " + F12 + F13 + F14 + F15 + F6 + moItem + F13 + F14 + F16);
  EXPECT_EQ(RenderResultPage(u"喜欢 苹果 apple", Language::kChinese, bi, mo, Flags(true, false, true)),
            title + F4 + F15 + F6 + moItem + u"píngguǒ hěn tián Apple " + F12 + F13 + F14 + F16);
}

TEST(ResultPageEscapingTest, ChineseQuery) {
  const Results bi = {{u"<b> 很 & \"x\" 'y' ", u"<i> ", u"a<b \"c\" & 'd' "}};
  EXPECT_EQ(RenderResultPage(u"<b> & \"x\"", Language::kChinese, bi, {}, Flags(true, true, false)),
            kHeader + F1 + u"&lt;b&gt; &amp; &quot;x&quot;" + F2 + F4 + F5 + F6 + F7 + F9 + u"&lt;b&gt;" + F10 +
                u"很 " + F9 + u"&amp;" + F10 + F9 + u"&quot;x&quot;" + F10 + u"'y' " + F12 + u"&lt;i&gt; " + F12 +
                u"a&lt;b &quot;c&quot; &amp; 'd' " + F12 + F13 + F14 + F16);
}

TEST(ResultPageEscapingTest, EnglishQuery) {
  const Results bi = {{u"<汤姆> & ", u"\"tāngmǔ\" ", u"Tom& <Tom Tom> \"Tom\" it's Tom's "}};
  EXPECT_EQ(RenderResultPage(u"Tom's tom", Language::kEnglish, bi, {}, Flags(true, true, false)),
            kHeader + F1 + u"Tom's tom" + F2 + F4 + F5 + F6 + F7 + F8 + F9 + u"Tom&amp;" + F10 + u"&lt;Tom " + F9 +
                u"Tom&gt;" + F10 + u"&quot;Tom&quot; it's " + F9 + u"Tom's" + F10 + F11 + u"&lt;汤姆&gt; &amp; " + F12 +
                u"&quot;tāngmǔ&quot; " + F12 + F13 + F14 + F16);
}

TEST(ResultPageEmptyWordTest, EmptyWordsMatchEachOther) {
  const Results mo = {{u"", u"", u"Go  - now 3 "}};
  const std::u16string head = kHeader + F1;
  // "-" normalises to the empty word, which then matches the empty word, "-" and "3".
  EXPECT_EQ(RenderResultPage(u"go -", Language::kEnglish, {}, mo, Flags(true, false, true)),
            head + u"go -" + F2 + F4 + F15 + F6 + F7 + F8 + F9 + u"Go" + F10 + F9 + F10 + F9 + u"-" + F10 + u"now " +
                F9 + u"3" + F10 + F11 + F13 + F14 + F16);
  EXPECT_EQ(RenderResultPage(u"go", Language::kEnglish, {}, mo, Flags(true, false, true)),
            head + u"go" + F2 + F4 + F15 + F6 + F7 + F8 + F9 + u"Go" + F10 + u" - now 3 " + F11 + F13 + F14 + F16);
  // A Chinese query never holds an empty word after normalisation, so the empty word stays plain.
  const Results cn = {{u"我  你 ", u"", u""}};
  EXPECT_EQ(RenderResultPage(u"我", Language::kChinese, {}, cn, Flags(false, false, true)),
            head + u"我" + F2 + F4 + F15 + F6 + F7 + F9 + u"我" + F10 + u" 你 " + F12 + F13 + F14 + F16);
}

// A monolingual group shows the line it has when it lacks the one of the query's language, so
// that no bullet is empty; every other item keeps its bytes.
TEST(MonolingualFallbackTest, EachLanguageShowsTheOtherLineWhenItsOwnIsMissing) {
  const Results mo = {{u"", u"", u"3 apples . "}, {u"三 个 ", u"sān gè ", u""}, {u"", u"", u""}};
  const std::u16string head = kHeader + F1;
  EXPECT_EQ(RenderResultPage(u"3 apples", Language::kChinese, {}, mo, Flags(true, false, true)),
            head + u"3 apples" + F2 + F4 + F15 + F6 + F7 + F8 + F9 + u"3" + F10 + F9 + u"apples" + F10 + u". " + F11 +
                F13 + F7 + u"三 个 " + F12 + u"sān gè " + F12 + F13 + F7 + F12 + F12 + F13 + F14 + F16);
  EXPECT_EQ(RenderResultPage(u"three", Language::kEnglish, {}, mo, Flags(true, false, true)),
            head + u"three" + F2 + F4 + F15 + F6 + F7 + F8 + u"3 apples . " + F11 + F13 + F7 + u"三 个 " + F12 +
                u"sān gè " + F12 + F13 + F7 + F8 + F11 + F13 + F14 + F16);
}

const std::u16string kToneStyle =
    u"<style type=\"text/css\">.t1 {color: #E30000;} .t2 {color: #E07800;} .t3 {color: #008A00;} "
    u".t4 {color: #0046E0;} .t5 {color: #808080;} "
    u"font[color=red] {background-color: #FFEB99; font-weight: bold; border-radius: 3px; padding: 0 1px;}"
    u"</style>\n";
// With tone colours a mark ends with its word, so that its background stops there.
const std::u16string kTonedMarkClose = u"</font> ";

std::u16string Tone(int tone, std::u16string_view text) {
  return u"<span class=\"t" + std::u16string(1, char16_t(u'0' + tone)) + u"\">" + std::u16string(text) + u"</span>";
}

TEST(ToneColourPageTest, CharactersAndSyllablesTakeTheirTonesMatchesStayMarked) {
  const Results bi = {{u"我们 喜欢 T恤 。 ", u"wǒmen xǐhuan Txù 。 ", u"We like T-shirts. "}};
  PageOptions tones;
  tones.toneColours = true;
  const std::u16string chinese = Tone(3, u"我") + Tone(5, u"们") + u" " + F9 + Tone(3, u"喜") + Tone(5, u"欢") +
                                 kTonedMarkClose + u"T恤 。 " + F12;
  const std::u16string pinyin =
      Tone(3, u"wǒ") + Tone(5, u"men") + u" " + Tone(3, u"xǐ") + Tone(5, u"huan") + u" Txù 。 " + F12;
  EXPECT_EQ(RenderResultPage(u"喜欢", Language::kChinese, bi, {}, Flags(true, true, false), tones),
            kHeader + kToneStyle + F1 + u"喜欢" + F2 + F4 + F5 + F6 + F7 + chinese + pinyin + u"We like T-shirts. " +
                F12 + F13 + F14 + F16);
  // An English query marks the English line only; a line whose tokens do not pair up is not coloured.
  const Results uneven = {{u"我们 喜欢 ", u"wǒmen ", u"We like it. "}};
  EXPECT_EQ(RenderResultPage(u"like", Language::kEnglish, uneven, {}, Flags(false, true, false), tones),
            kHeader + kToneStyle + F1 + u"like" + F2 + F4 + F5 + F6 + F7 + F8 + u"We " + F9 + u"like" +
                kTonedMarkClose + u"it. " + F11 + u"我们 喜欢 " + F12 + F13 + F14 + F16);
  // Off, the page is the plain result page.
  EXPECT_EQ(RenderResultPage(u"喜欢", Language::kChinese, bi, {}, Flags(true, true, false), PageOptions{}),
            RenderResultPage(u"喜欢", Language::kChinese, bi, {}, Flags(true, true, false)));
}

// Other readings of the typed text are a line of links after the notice; the bilingual sentences
// found by another reading are marked by its words, the monolingual ones by the query's.
TEST(ResultPageReadingTest, OfferedReadingsAndTheBilingualQuery) {
  PageReading reading(u"Bilingual examples for \"wolf\"");
  reading.offer.intro = u"\"shi\" is also <pinyin>:";
  reading.offer.readings = {{u"是", 523}, {u"a&b c", 1}};
  reading.bilingualQuery = u"wolf";
  const Results bi = {{u"狼 ", u"láng ", u"The wolf "}};
  const Results mo = {{u"", u"", u"The wolves "}};
  const std::u16string page =
      RenderResultPage(u"wolves", Language::kEnglish, bi, mo, Flags(true, true, true), {}, reading);
  const std::u16string links =
      u"<p class=\"readings\"><i>&quot;shi&quot; is also &lt;pinyin&gt;: <a "
      u"href=\"tamrel:search?text=%E6%98%AF\">是</a> "
      u"(523), <a href=\"tamrel:search?text=a%26b%20c\">a&amp;b c</a> (1)</i></p>\n";
  EXPECT_NE(page.find(u"<p><i>Bilingual examples for &quot;wolf&quot;</i></p>\n" + links + F1 + u"wolves" + F2),
            std::u16string::npos);
  EXPECT_NE(page.find(u"The " + F9 + u"wolf" + F10), std::u16string::npos);
  EXPECT_NE(page.find(u"The " + F9 + u"wolves" + F10), std::u16string::npos);
  EXPECT_EQ(SearchLink(u"ma3 \U0001F600"), u"tamrel:search?text=ma3%20%F0%9F%98%80");
}

TEST(ToneColourPageTest, ApostrophesBetweenSyllablesStayUncoloured) {
  const Results bi = {{u"企鹅 很 可爱 。 ", u"qǐ'é hěn kě'ài 。 ", u"Penguins are cute. "}};
  PageOptions tones;
  tones.toneColours = true;
  const std::u16string page = RenderResultPage(u"企鹅", Language::kChinese, bi, {}, Flags(true, true, false), tones);
  EXPECT_NE(page.find(Tone(3, u"qǐ") + u"'" + Tone(2, u"é") + u" " + Tone(3, u"hěn") + u" " + Tone(3, u"kě") + u"'" +
                      Tone(4, u"ài")),
            std::u16string::npos);
  EXPECT_NE(page.find(Tone(3, u"企") + Tone(2, u"鹅")), std::u16string::npos);
}

TEST(ToneColourPageTest, MarkupInSentencesStaysText) {
  const Results bi = {{u"<b>好</b> ", u"hǎo ", u"<i>good</i> "}};
  PageOptions tones;
  tones.toneColours = true;
  const std::u16string page = RenderResultPage(u"好", Language::kChinese, bi, {}, Flags(true, true, false), tones);
  EXPECT_NE(page.find(u"&lt;b&gt;好&lt;/b&gt; "), std::u16string::npos);
  EXPECT_EQ(page.find(u"<b>"), std::u16string::npos);
  EXPECT_EQ(page.find(u"<i>"), std::u16string::npos);
}

TEST(WriteResultPageTest, FileIsUtf8WithByteOrderMark) {
  test::RuntimeFolder folder;
  const std::filesystem::path page = ResultPageFileName(folder.path());
  EXPECT_EQ(page, folder / "data/displayResult.html");
  const Results bi = {{u"苹果 ", u"píngguǒ ", u"apple "}};
  test::WriteBytes(page, std::string(5000, 'x'));  // an older, longer page
  const Status written = WriteResultPage(u"apple", Language::kEnglish, bi, {}, page, SysSettings{});
  ASSERT_TRUE(written.ok()) << written.ToString();
  const std::string bytes = test::ReadBytes(page);
  EXPECT_EQ(bytes.substr(0, 26), "\xEF\xBB\xBF<html><meta http-equiv=");
  EXPECT_EQ(bytes, "\xEF\xBB\xBF" + Utf16ToUtf8(RenderResultPage(u"apple", Language::kEnglish, bi, {}, SysSettings{})));
}

TEST(WriteResultPageTest, FailureNamesThePage) {
  test::RuntimeFolder folder;
  const std::filesystem::path page = folder / "missing/page.html";
  const Status written =
      WriteResultPage(u"apple", Language::kEnglish, {{u"", u"", u"apple "}}, {}, page, SysSettings{});
  EXPECT_FALSE(written.ok());
  EXPECT_EQ(written.kind(), Status::Kind::kIoError);
  EXPECT_EQ(written.file(), page);
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

// Found at a level, each sentence with a Chinese word shows the level of its hardest one, those
// above the learner's level in the other colour; found at all levels, the page is today's.
TEST(LevelBadgePageTest, SentencesFoundAtALevelShowTheirHardestWord) {
  Results bi = {{u"我 喜欢 。 ", u"wǒ xǐhuān 。 ", u"I like it. "}, {u"喜欢 猫 ", u"xǐhuān māo ", u"Likes cats. "}};
  Results mo = {{u"喜欢 龘 ", u"xǐhuān dá ", u""}, {u"", u"", u"Cats. "}};
  bi[0].hardest = 1;
  bi[1].hardest = 6;
  mo[0].hardest = 7;  // the English-only one keeps kBucketNotChinese: no badge
  PageOptions atLevel;
  atLevel.level = 2;
  const std::u16string page = RenderResultPage(u"喜欢", Language::kChinese, bi, mo, Flags(false, true, true), atLevel);
  const std::u16string style =
      u"<style type=\"text/css\">.level {font-size: 75%; color: #FFFFFF; background-color: #5B8A5B; "
      u"border-radius: 3px; padding: 0 4px; margin-right: 4px; white-space: nowrap; font-style: normal;} "
      u".level.above {background-color: #B8643C;}</style>\n";
  const std::u16string liked = F9 + u"喜欢" + F10;
  EXPECT_EQ(page, kHeader + style + F1 + u"喜欢" + F2 + F3 + F4 + F5 + F6 + F7 +
                      u"<span class=\"level\">HSK 2</span>我 " + liked + u"。 " + F12 + u"I like it. " + F12 + F13 +
                      F7 + u"<span class=\"level above\">HSK 7+</span>" + liked + u"猫 " + F12 + u"Likes cats. " + F12 +
                      F13 + F14 + F15 + F6 + F7 + u"<span class=\"level above\">not in HSK</span>" + liked + u"龘 " +
                      F12 + F13 + F7 + F8 + u"Cats. " + F11 + F13 + F14 + F16);
  const Results plainBi = {{bi[0].chinese, bi[0].pinyin, bi[0].english}, {bi[1].chinese, bi[1].pinyin, bi[1].english}};
  const Results plainMo = {{mo[0].chinese, mo[0].pinyin, mo[0].english}, mo[1]};
  EXPECT_EQ(RenderResultPage(u"喜欢", Language::kChinese, bi, mo, Flags(false, true, true), PageOptions{}),
            RenderResultPage(u"喜欢", Language::kChinese, plainBi, plainMo, Flags(false, true, true)));
}

}  // namespace
}  // namespace tamrel
