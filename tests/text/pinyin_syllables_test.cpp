#include "text/pinyin_syllables.h"

#include <gtest/gtest.h>

namespace tamrel {
namespace {

// "ni3 hao3" style: the letters of each syllable and its tone.
std::vector<PinyinSyllable> Read(std::u16string_view text) {
  const std::optional<PinyinText> read = ReadPinyin(text);
  return read ? read->syllables : std::vector<PinyinSyllable>{};
}

TEST(PinyinSyllablesTest, ThreeNotationsGiveTheSameSyllables) {
  const std::vector<PinyinSyllable> toned = {{u"ni", 3}, {u"hao", 3}};
  EXPECT_EQ(Read(u"nǐhǎo"), toned);
  EXPECT_EQ(Read(u"ni3hao3"), toned);
  EXPECT_EQ(Read(u"ni3 hao3"), toned);
  EXPECT_EQ(Read(u"Ni3 HAO3"), toned);
  EXPECT_EQ(Read(u"ni\u030Cha\u030Co"), toned);  // decomposed tone marks
  const std::vector<PinyinSyllable> toneless = {{u"ni", 0}, {u"hao", 0}};
  EXPECT_EQ(Read(u"nihao"), toneless);
  EXPECT_EQ(Read(u"ni hao"), toneless);
  EXPECT_TRUE(ReadPinyin(u"ni3hao")->toned);
  EXPECT_FALSE(ReadPinyin(u"ni hao")->toned);
  EXPECT_EQ(Read(u"ma5"), (std::vector<PinyinSyllable>{{u"ma", 5}}));
}

TEST(PinyinSyllablesTest, ApostrophesAsImportsWriteThem) {
  EXPECT_EQ(Read(u"qǐ'é"), (std::vector<PinyinSyllable>{{u"qi", 3}, {u"e", 2}}));
  EXPECT_EQ(Read(u"jī'è"), (std::vector<PinyinSyllable>{{u"ji", 1}, {u"e", 4}}));
  EXPECT_EQ(Read(u"tiān'ānmén"), (std::vector<PinyinSyllable>{{u"tian", 1}, {u"an", 1}, {u"men", 2}}));
  EXPECT_EQ(Read(u"nǚ'ér"), (std::vector<PinyinSyllable>{{u"nv", 3}, {u"er", 2}}));
  // Without tones the apostrophe alone tells the syllables apart: xi'an is two, xian one.
  EXPECT_EQ(Read(u"xi'an"), (std::vector<PinyinSyllable>{{u"xi", 0}, {u"an", 0}}));
  EXPECT_EQ(Read(u"xian"), (std::vector<PinyinSyllable>{{u"xian", 0}}));
  EXPECT_EQ(Read(u"fang'an"), (std::vector<PinyinSyllable>{{u"fang", 0}, {u"an", 0}}));
  EXPECT_EQ(TonelessLetters(Read(u"qǐ'é")), u"qie");
}

TEST(PinyinSyllablesTest, UmlautSpellings) {
  const std::vector<PinyinSyllable> lv = {{u"lv", 3}, {u"xing", 2}};
  EXPECT_EQ(Read(u"lǚxíng"), lv);
  EXPECT_EQ(Read(u"lv3xing2"), lv);
  EXPECT_EQ(Read(u"lu:3xing2"), lv);
  EXPECT_EQ(Read(u"lüxing"), (std::vector<PinyinSyllable>{{u"lv", 0}, {u"xing", 0}}));
  EXPECT_EQ(Read(u"nüè"), (std::vector<PinyinSyllable>{{u"nve", 4}}));
  EXPECT_EQ(Read(u"nue4"), (std::vector<PinyinSyllable>{{u"nve", 4}}));
  // After j q x y the ü is written u: a typed v means the same syllable.
  EXPECT_EQ(Read(u"qv4"), (std::vector<PinyinSyllable>{{u"qu", 4}}));
}

TEST(PinyinSyllablesTest, LongestSyllableFirstBackingOffWhereTheRestWouldNotCut) {
  EXPECT_EQ(Read(u"xian"), (std::vector<PinyinSyllable>{{u"xian", 0}}));
  EXPECT_EQ(Read(u"xi'an"), (std::vector<PinyinSyllable>{{u"xi", 0}, {u"an", 0}}));
  EXPECT_EQ(Read(u"xīān"), (std::vector<PinyinSyllable>{{u"xi", 1}, {u"an", 1}}));      // one mark a syllable
  EXPECT_EQ(Read(u"fanguo"), (std::vector<PinyinSyllable>{{u"fan", 0}, {u"guo", 0}}));  // fang+uo does not cut
  EXPECT_EQ(Read(u"yidianr"), (std::vector<PinyinSyllable>{{u"yi", 0}, {u"dian", 0}, {u"r", 0}}));
  EXPECT_EQ(TonelessLetters(Read(u"Zhōng guó")), u"zhongguo");
}

TEST(PinyinSyllablesTest, TextThatIsNotPinyin) {
  for (std::u16string_view text : {u"xyzzy", u"apple", u"hello world", u"3", u"ni33", u"ni6", u"ni0", u"<b>ni</b>", u"",
                                   u"  ", u"r", u"nǐ2", u"你好", u"ni\u0301\u0301", u"ni\x01hao"}) {
    EXPECT_FALSE(ReadPinyin(text).has_value()) << std::string(text.begin(), text.end());
  }
  std::u16string longText;
  for (size_t i = 0; i <= kMaxPinyinSyllables; ++i) longText += u"ma ";
  EXPECT_FALSE(ReadPinyin(longText).has_value());
  EXPECT_FALSE(ReadPinyin(std::u16string(1 << 20, u'a')).has_value());
}

}  // namespace
}  // namespace tamrel
