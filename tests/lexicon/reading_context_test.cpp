#include "lexicon/reading_context.h"

#include <gtest/gtest.h>

#include "lexicon/pinyin.h"
#include "tests/lexicon/lexicon_test_support.h"

namespace tamrel {
namespace {

// The pinyin of the tokens of `text` read as one line, joined by single spaces.
std::u16string LineOf(std::u16string_view text) {
  const Lexicon& lexicon = test::ShippedLexicon();
  const std::vector<Token> tokens = Segment(lexicon, text);
  std::u16string joined;
  for (const std::u16string& reading : Pinyin(lexicon, text, tokens)) joined += (joined.empty() ? u"" : u" ") + reading;
  return joined;
}

// The readings the rules give `words` whose lexicon readings are `readings`.
std::vector<std::u16string> Apply(std::vector<std::u16string_view> words, std::vector<std::u16string> readings) {
  ApplyReadingContext(words, readings);
  return readings;
}

using Readings = std::vector<std::u16string>;

TEST(ReadingContextTest, ChangAfterADegreeWordZhangWhenItGrows) {
  EXPECT_EQ(LineOf(u"这条路很长。"), u"zhè tiáo lù hěn cháng 。");
  EXPECT_EQ(LineOf(u"这条裙子太长了。"), u"zhè tiáo qúnzi tài cháng le 。");
  EXPECT_EQ(LineOf(u"头发长了。"), u"tóufa zhǎng le 。");
  EXPECT_EQ(Apply({u"你", u"长", u"这么", u"大", u"了"}, {u"nǐ", u"cháng", u"zhème", u"dà", u"le"}),
            (Readings{u"nǐ", u"zhǎng", u"zhème", u"dà", u"le"}));
  EXPECT_EQ(Apply({u"头发", u"长", u"回来", u"了"}, {u"tóufa", u"cháng", u"huílai", u"le"}),
            (Readings{u"tóufa", u"zhǎng", u"huílai", u"le"}));
  // The rule, whatever reading the lexicon gives first.
  EXPECT_EQ(Apply({u"非常", u"长"}, {u"fēicháng", u"zhǎng"}), (Readings{u"fēicháng", u"cháng"}));
  EXPECT_EQ(Apply({u"那么", u"长"}, {u"nàme", u"zhǎng"}), (Readings{u"nàme", u"cháng"}));
}

TEST(ReadingContextTest, DeDeiAndDe) {
  EXPECT_EQ(LineOf(u"他跑得很快。"), u"tā pǎo de hěnkuài 。");
  EXPECT_EQ(LineOf(u"我得走了。"), u"wǒ děi zǒu le 。");
  EXPECT_EQ(LineOf(u"你得去。"), u"nǐ děi qù 。");
  EXPECT_EQ(LineOf(u"他得了感冒。"), u"tā dé le gǎnmào 。");
}

TEST(ReadingContextTest, DiAsGroundDeAfterAnAdverbial) {
  EXPECT_EQ(LineOf(u"他慢慢地走回家。"), u"tā mànmàn de zǒu huíjiā 。");
  EXPECT_EQ(Apply({u"这", u"块", u"地"}, {u"zhè", u"kuài", u"de"}), (Readings{u"zhè", u"kuài", u"dì"}));
  EXPECT_EQ(Apply({u"我", u"的", u"地", u"。"}, {u"wǒ", u"de", u"de", u"。"}), (Readings{u"wǒ", u"de", u"dì", u"。"}));
}

TEST(ReadingContextTest, ZhiAfterANumeral) {
  EXPECT_EQ(LineOf(u"我有两只狗。"), u"wǒ yǒu liǎngzhī gǒu 。");
  EXPECT_EQ(LineOf(u"地上有一只猫。"), u"dìshang yǒu yīzhī māo 。");
  EXPECT_EQ(LineOf(u"这只猫很可爱。"), u"zhè zhī māo hěn kě'ài 。");
  EXPECT_EQ(LineOf(u"我只有一个。"), u"wǒ zhǐyǒu yīge 。");
  EXPECT_EQ(LineOf(u"我只想睡觉。"), u"wǒ zhǐ xiǎng shuìjiào 。");
  EXPECT_EQ(Apply({u"3", u"只"}, {u"3", u"zhǐ"}), (Readings{u"3", u"zhī"}));
}

TEST(ReadingContextTest, HuanBeforeGiveAndMoney) {
  EXPECT_EQ(LineOf(u"你什么时候还钱？"), u"nǐ shénmeshíhou huán qián ？");
  EXPECT_EQ(LineOf(u"请把书还给我。"), u"qǐng bǎ shū huángěi wǒ 。");
  EXPECT_EQ(LineOf(u"我还没吃饭。"), u"wǒ hái méi chīfàn 。");
  EXPECT_EQ(Apply({u"还", u"给"}, {u"hái", u"gěi"}), (Readings{u"huán", u"gěi"}));
}

TEST(ReadingContextTest, ZhongWhenItPlants) {
  EXPECT_EQ(LineOf(u"他喜欢种花。"), u"tā xǐhuan zhònghuā 。");
  EXPECT_EQ(LineOf(u"种了很多菜"), u"zhòng le hěnduō cài");
  EXPECT_EQ(Apply({u"我", u"种", u"土豆"}, {u"wǒ", u"zhǒng", u"tǔdòu"}), (Readings{u"wǒ", u"zhòng", u"tǔdòu"}));
  // A measure word after a numeral or demonstrative stays zhǒng, "kind".
  EXPECT_EQ(LineOf(u"这种花很漂亮。"), u"zhèzhǒng huā hěnpiàoliang 。");
  EXPECT_EQ(Apply({u"这", u"种", u"花"}, {u"zhè", u"zhǒng", u"huā"}), (Readings{u"zhè", u"zhǒng", u"huā"}));
  EXPECT_EQ(Apply({u"一", u"种", u"树"}, {u"yī", u"zhǒng", u"shù"}), (Readings{u"yī", u"zhǒng", u"shù"}));
}

TEST(ReadingContextTest, CommonWordsReadTheirEverydayReading) {
  EXPECT_EQ(LineOf(u"我买了很多东西。"), u"wǒ mǎi le hěnduō dōngxi 。");
  EXPECT_EQ(LineOf(u"这个很便宜。"), u"zhège hěn piányi 。");
  EXPECT_EQ(LineOf(u"请告诉我。"), u"qǐng gàosu wǒ 。");
  EXPECT_EQ(LineOf(u"晚上我很累。"), u"wǎnshang wǒ hěn lèi 。");
  EXPECT_EQ(LineOf(u"他更高。"), u"tā gèng gāo 。");
}

TEST(ReadingContextTest, WhiteSpaceSeparatesNothing) {
  const Lexicon& lexicon = test::ShippedLexicon();
  const std::u16string text = u"很 长";
  const std::vector<Token> tokens = Segment(lexicon, text);
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(Pinyin(lexicon, text, tokens), (Readings{u"hěn", u" ", u"cháng"}));
}

TEST(ReadingContextTest, WordsNoRuleNamesStayAsTheyAre) {
  EXPECT_EQ(Apply({u"长"}, {u"cháng"}), (Readings{u"cháng"}));
  EXPECT_EQ(Apply({u"得"}, {u"de"}), (Readings{u"de"}));
  EXPECT_EQ(Apply({}, {}), (Readings{}));
  EXPECT_EQ(Apply({u"只"}, {u"zhǐ"}), (Readings{u"zhǐ"}));
}

}  // namespace
}  // namespace tamrel
