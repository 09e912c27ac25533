#include "text/code_points.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamrel {
namespace {

TEST(IsHanTest, TheHanScriptOfEveryBlockAndNothingElse) {
  struct Case {
    char32_t c;
    bool han;
    const char* what;
  };
  for (const Case& k : std::vector<Case>{
           {U'我', true, "unified ideograph"},
           {U'㐀', true, "extension A"},
           {U'\U00020000', true, "extension B, outside the BMP"},
           {U'\U0002A700', true, "extension C"},
           {U'\U0002B740', true, "extension D"},
           {U'\U0002B820', true, "extension E"},
           {U'\U0002CEB0', true, "extension F"},
           {U'\U00030000', true, "extension G"},
           {U'\uF900', true, "compatibility ideograph"},
           {U'〇', true, "ideographic zero"},
           {U'々', true, "iteration mark"},
           {U'。', false, "ideographic full stop"},
           {U'，', false, "full-width comma"},
           {U'「', false, "corner bracket"},
           {U'あ', false, "hiragana"},
           {U'ア', false, "katakana"},
           {U'ｈ', false, "full-width Latin"},
           {U'ａ', false, "full-width Latin"},
           {U'a', false, "Latin"},
           {U'\U0001F600', false, "emoji"},
           {0xD840, false, "a lone high surrogate"},
           {0xDC00, false, "a lone low surrogate"},
       }) {
    EXPECT_EQ(IsHan(k.c), k.han) << k.what;
  }
}

TEST(ContainsHanTest, DecidesOnCharactersNotUnits) {
  EXPECT_TRUE(ContainsHan(u"Tom 是 DJ"));
  EXPECT_TRUE(ContainsHan(u"x\U00020000"));
  EXPECT_TRUE(ContainsHan(u"二〇〇一"));
  EXPECT_FALSE(ContainsHan(u"Hello, world."));
  EXPECT_FALSE(ContainsHan(u"。！？「」"));
  EXPECT_FALSE(ContainsHan(u"こんにちは"));
  EXPECT_FALSE(ContainsHan(u"ｈｅｌｌｏ"));
  EXPECT_FALSE(ContainsHan(u"\xD840"));  // the high half of extension B alone is no character
  EXPECT_FALSE(ContainsHan(u"\xD840x\xDC00"));
  EXPECT_FALSE(ContainsHan(u""));
}

TEST(CodePointAtTest, PairsLoneHalvesAndPlainUnits) {
  const std::u16string text = u"a\U00020000\xDC00\xD840";
  CodePoint c = CodePointAt(text, 0);
  EXPECT_EQ(c.value, U'a');
  EXPECT_EQ(c.units, 1u);
  EXPECT_FALSE(c.lone);
  c = CodePointAt(text, 1);
  EXPECT_EQ(c.value, U'\U00020000');
  EXPECT_EQ(c.units, 2u);
  EXPECT_FALSE(c.lone);
  c = CodePointAt(text, 3);  // a low half that follows no high half
  EXPECT_EQ(c.value, 0xDC00u);
  EXPECT_EQ(c.units, 1u);
  EXPECT_TRUE(c.lone);
  c = CodePointAt(text, 4);  // a high half at the end
  EXPECT_EQ(c.value, 0xD840u);
  EXPECT_TRUE(c.lone);
  // Cut before the low half, a pair is a lone high half.
  EXPECT_TRUE(CodePointAt(std::u16string_view(text).substr(0, 2), 1).lone);
}

TEST(CharacterCountTest, PairsCountOnceLoneHalvesToo) {
  EXPECT_EQ(CharacterCount(u""), 0u);
  EXPECT_EQ(CharacterCount(u"a\U0001F600b"), 3u);
  EXPECT_EQ(CharacterCount(u"\U00020000\U0002A700"), 2u);
  EXPECT_EQ(CharacterCount(std::u16string(u"\xDC00\xD800", 2)), 2u);
  EXPECT_EQ(CharacterCount(u"々〇。"), 3u);
  EXPECT_EQ(SplitCharacters(u"a\U0001F600我"), (std::vector<std::u16string>{u"a", u"\U0001F600", u"我"}));
  // An unpaired surrogate is a character of its own, not joined with its neighbour.
  EXPECT_EQ(SplitCharacters(std::u16string(u"\xDC00\xD800", 2)),
            (std::vector<std::u16string>{std::u16string(1, u'\xDC00'), std::u16string(1, u'\xD800')}));
}

TEST(AppendCodePointTest, RoundTripsThroughCodePointAt) {
  for (const char32_t c : {U'a', U'我', U'\uFFFF', U'\U00010000', U'\U00020000', U'\U0010FFFF'}) {
    std::u16string text;
    AppendCodePoint(c, text);
    EXPECT_EQ(text.size(), c >= 0x10000 ? 2u : 1u);
    EXPECT_EQ(CodePointAt(text, 0).value, c);
    EXPECT_FALSE(CodePointAt(text, 0).lone);
  }
}

}  // namespace
}  // namespace tamrel
