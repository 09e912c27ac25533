#include "explorer/sentence_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "explorer/sentence_text.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

const std::string kHeader = "#separator:tab\n#html:false\n#columns:Chinese\tPinyin\tEnglish\tTags\n#tags column:4\n";

TEST(SentenceTextTest, ChineseWordsJoinLatinWordsKeepTheirSpace) {
  EXPECT_EQ(JoinChineseWords(u"我们 明天 去 公园 散步 。 "), u"我们明天去公园散步。");
  EXPECT_EQ(JoinChineseWords(u"我 用 Visual Studio 写 ， 3 个 "), u"我用Visual Studio写，3个");
  EXPECT_EQ(PlainText(u" a\tb\r\n\nc\u2028d\x01  "), u"a b c d");
  EXPECT_EQ(JoinChineseWords(u"  "), u"");
}

TEST(SentenceTextTest, LanguageComesFromTheScript) {
  EXPECT_EQ(SpokenLanguageOf(u"The weather is nice."), SpokenLanguage::kEnglish);
  EXPECT_EQ(SpokenLanguageOf(u"我喜欢 Apple。"), SpokenLanguage::kMandarin);
  EXPECT_EQ(SpokenLanguageOf(u"wǒ xǐhuān"), SpokenLanguage::kEnglish);  // pinyin alone is Latin letters
  EXPECT_EQ(SpokenLanguageOf(u"\U00020000"), SpokenLanguage::kMandarin);
  EXPECT_EQ(SpokenLanguageOf(u"123 。!"), SpokenLanguage::kNone);
  EXPECT_EQ(SpokenLanguageOf(std::u16string(1, char16_t(0xD800))), SpokenLanguage::kNone);
}

TEST(SentenceTextTest, PinyinPunctuationStandsAgainstItsWord) {
  EXPECT_EQ(JoinPinyinWords(u"wǒmen míngtiān qù gōngyuán sànbù 。 "), u"wǒmen míngtiān qù gōngyuán sànbù。");
  EXPECT_EQ(JoinPinyinWords(u"zhōngshì dàshēng hǎn ： “ tíngzhǐ shèjī ！ ”"),
            u"zhōngshì dàshēng hǎn： “tíngzhǐ shèjī！”");
  EXPECT_EQ(JoinPinyinWords(u"en ， wǒ xiǎngxiang … … hǎo ba ？"), u"en， wǒ xiǎngxiang…… hǎo ba？");
  EXPECT_EQ(JoinPinyinWords(u"dá · fēnqí 、 《 hóngloumèng 》 ； （ a ） ‘ b ’ 「 c 」"),
            u"dá·fēnqí、 《hóngloumèng》； （a） ‘b’ 「c」");
  EXPECT_EQ(JoinPinyinWords(u"Visual Studio , 3 . 5"), u"Visual Studio , 3 . 5");  // Latin marks keep their spaces
  EXPECT_EQ(JoinPinyinWords(u" 。 "), u"。");
  EXPECT_EQ(JoinPinyinWords(u""), u"");
}

// Anki drops a note whose first field is empty, and a card needs both sides: the rows are the
// sentences with a Chinese and an English side, whichever section they come from.
TEST(SentenceExportTest, RowsOfTheSentencesWithBothSidesInPageOrder) {
  const std::vector<ResultSentence> bi = {{u"我 有 一个 朋友 。 ", u"wǒ yǒu yīgè péngyou 。 ", u"I have a friend. "},
                                          {u" ", u"", u"Only English. "}};
  const std::vector<ResultSentence> mo = {{u"", u"", u"We are friends. "},
                                          {u"天气 很 冷 。", u"tiānqì hěn lěng 。", u""},
                                          {u"你好 ！", u"nǐhǎo ！", u"Hello!"}};
  const auto rows = ExportRows(u"good  friend", bi, mo);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (ExportRow{u"我有一个朋友。", u"wǒ yǒu yīgè péngyou。", u"I have a friend.", u"good_friend"}));
  EXPECT_EQ(FormatExportFile(rows), kHeader +
                                        "我有一个朋友。\twǒ yǒu yīgè péngyou。\tI have a friend.\tgood_friend\n"
                                        "你好！\tnǐhǎo！\tHello!\tgood_friend\n");
  EXPECT_TRUE(ExportRows(u"cold", {}, {mo[0], mo[1]}).empty());
}

TEST(SentenceExportTest, OddTextCannotBreakARowOrAField) {
  const std::vector<ResultSentence> bi = {{u"#1 \"引号\"", u"a\tb", u"line\none\r\n<b>&amp;</b> \x07"},
                                          {u"x", std::u16string(1, char16_t(0xDC00)), u"say \"hi\""}};
  EXPECT_EQ(FormatExportFile(ExportRows(u"<q>\t\"", bi, {})),
            kHeader + "\"#1 \"\"引号\"\"\"\ta b\tline one <b>&amp;</b>\t\"<q>_\"\"\"\n" +
                "x\t\xEF\xBF\xBD\t\"say \"\"hi\"\"\"\t\"<q>_\"\"\"\n");
}

TEST(SentenceExportTest, WriteReplacesWholeOrLeavesNothing) {
  test::RuntimeFolder folder;
  const std::vector<ExportRow> rows = {{u"你好", u"nǐhǎo", u"hello", u"hello"}};
  const auto target = folder / "cards.tsv";
  test::WriteBytes(target, "older file");
  ASSERT_TRUE(WriteExportFile(target, rows).ok());
  EXPECT_EQ(test::ReadBytes(target), kHeader + "你好\tnǐhǎo\thello\thello\n");

  const Status missing = WriteExportFile(folder / "no/such/cards.tsv", rows);
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));

  if (geteuid() != 0) {  // root writes into read-only folders
    const auto locked = folder / "locked";
    std::filesystem::create_directories(locked);
    chmod(locked.c_str(), 0555);
    EXPECT_FALSE(WriteExportFile(locked / "cards.tsv", rows).ok());
    chmod(locked.c_str(), 0755);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
  }
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 3u);  // BDict/, data/ and cards.tsv: no staged file left behind
}

}  // namespace
}  // namespace tamrel
