#include "lexicon/pinyin.h"

#include <gtest/gtest.h>

#include "tests/lexicon/lexicon_test_support.h"

namespace tamrel {
namespace {

// The pinyin of the tokens of `text`, joined by single spaces.
std::u16string PinyinOf(std::u16string_view text) {
  const Lexicon& lexicon = test::ShippedLexicon();
  const std::vector<Token> tokens = Segment(lexicon, text);
  const std::vector<std::u16string> readings = Pinyin(lexicon, text, tokens);
  EXPECT_EQ(readings.size(), tokens.size());
  std::u16string joined;
  for (const std::u16string& reading : readings) {
    EXPECT_FALSE(reading.empty());
    joined += (joined.empty() ? u"" : u" ") + reading;
  }
  return joined;
}

TEST(PinyinTest, ShuoIsTheCommonReadingOfSay) {
  EXPECT_EQ(PinyinOf(u"他说"), u"tā shuō");
  EXPECT_EQ(PinyinOf(u"说话"), u"shuōhuà");
  EXPECT_EQ(PinyinOf(u"游说"), u"yóushuì");  // the word knows its own reading
}

TEST(PinyinTest, DeIsTheParticle) {
  EXPECT_EQ(PinyinOf(u"我的书"), u"wǒ de shū");
  EXPECT_EQ(PinyinOf(u"目的"), u"mùdì");
  EXPECT_EQ(PinyinOf(u"的确"), u"díquè");
}

TEST(PinyinTest, CommonReadingsByTheWordsSenses) {
  EXPECT_EQ(PinyinOf(u"东西"), u"dōngxi");
  EXPECT_EQ(PinyinOf(u"便宜"), u"piányi");
  EXPECT_EQ(PinyinOf(u"告诉"), u"gàosu");
  EXPECT_EQ(PinyinOf(u"晚上"), u"wǎnshang");
  EXPECT_EQ(PinyinOf(u"累"), u"lèi");
  EXPECT_EQ(PinyinOf(u"更"), u"gèng");
  EXPECT_EQ(PinyinOf(u"得"), u"de");
}

TEST(PinyinTest, ChangOrZhangByTheWord) {
  EXPECT_EQ(PinyinOf(u"长城"), u"chángchéng");
  EXPECT_EQ(PinyinOf(u"长大"), u"zhǎngdà");
  EXPECT_EQ(PinyinOf(u"校长"), u"xiàozhǎng");
  EXPECT_EQ(PinyinOf(u"长期"), u"chángqī");
}

TEST(PinyinTest, OtherCommonPolyphones) {
  EXPECT_EQ(PinyinOf(u"了"), u"le");
  EXPECT_EQ(PinyinOf(u"了解"), u"liǎojiě");
  EXPECT_EQ(PinyinOf(u"都"), u"dōu");
  EXPECT_EQ(PinyinOf(u"没"), u"méi");
  EXPECT_EQ(PinyinOf(u"银行"), u"yínháng");
  EXPECT_EQ(PinyinOf(u"行"), u"xíng");
}

TEST(PinyinTest, LowerCaseEvenForProperNouns) { EXPECT_EQ(PinyinOf(u"北京"), u"běijīng"); }

TEST(PinyinTest, NonChineseTokensStayAsTheyAre) {
  EXPECT_EQ(PinyinOf(u"MP3，3.5！"), u"MP3 ， 3.5 ！");
  EXPECT_EQ(PinyinOf(u"hello 😀"), u"hello   😀");  // the space token reads as itself
}

TEST(PinyinTest, NumbersReadCharacterByCharacter) {
  EXPECT_EQ(PinyinOf(u"二〇〇一年"), u"èrlínglíngyīnián");
  EXPECT_EQ(PinyinOf(u"2001年"), u"2001nián");
}

TEST(PinyinTest, UnknownCharactersStandForThemselves) {
  EXPECT_EQ(PinyinOf(u"\U0003134A"), u"\U0003134A");  // a Han character no word has
  EXPECT_EQ(PinyinOf(std::u16string{u'我', 0xD800}), (std::u16string{u'w', u'ǒ', u' ', 0xD800}));
}

TEST(PinyinTest, ApostropheBeforeASyllableStartingWithAOrE) {
  EXPECT_EQ(PinyinOf(u"企鹅"), u"qǐ'é");
  EXPECT_EQ(PinyinOf(u"西安"), u"xī'ān");
  EXPECT_EQ(PinyinOf(u"天安门"), u"tiān'ānmén");
  EXPECT_EQ(PinyinOf(u"饥饿"), u"jī'è");
  EXPECT_EQ(PinyinOf(u"可爱"), u"kě'ài");
  EXPECT_EQ(PinyinOf(u"女儿"), u"nǚ'ér");
  EXPECT_EQ(PinyinOf(u"十二"), u"shí'èr");  // a number token too
  EXPECT_EQ(PinyinOf(u"先"), u"xiān");      // one syllable, one character
  EXPECT_EQ(PinyinOf(u"我们"), u"wǒmen");
  EXPECT_EQ(PinyinOf(u"2001年"), u"2001nián");
}

TEST(PinyinTest, ApostrophesFollowTheCharactersReadings) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"心爱", u"xīnài"), u"xīn'ài");
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"西奈", u"xīnài"), u"xīnài");  // xī nài
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"方案", u"fāngàn"), u"fāng'àn");
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"一点儿", u"yīdiǎnr"), u"yīdiǎnr");
  // What does not cut into one syllable per character stays as it is.
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"企鹅", u"qǐ"), u"qǐ");
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"企鹅", u"qǐé3"), u"qǐé3");
  EXPECT_EQ(WithSyllableApostrophes(lexicon, u"T恤", u"Txù"), u"Txù");
}

TEST(PinyinTest, TokenPinyinWritesApostrophesToo) {
  const Lexicon& lexicon = test::ShippedLexicon();
  const std::u16string text = u"企鹅";
  const std::vector<Token> tokens = Segment(lexicon, text);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(TokenPinyin(lexicon, text, tokens[0]), u"qǐ'é");
}

TEST(PinyinTest, WordsWithoutAReadingReadAsTheirLongestWords) {
  // 很漂亮 is a word of jieba's that CC-CEDICT lacks: 很 and 漂亮 piàoliang, not the characters'
  // piāo and liàng.
  EXPECT_EQ(PinyinOf(u"很漂亮"), u"hěnpiàoliang");
}

}  // namespace
}  // namespace tamrel
