#include "importer/text_scripts.h"

#include <gtest/gtest.h>

namespace tamrel {
namespace {

TEST(TextScriptsTest, HanCharactersOfEveryBlock) {
  EXPECT_TRUE(IsHanCharacter(U'我'));
  EXPECT_TRUE(IsHanCharacter(U'㐀'));          // extension A
  EXPECT_TRUE(IsHanCharacter(U'\U00020000'));  // extension B, outside the BMP
  EXPECT_TRUE(IsHanCharacter(U'々'));
  EXPECT_FALSE(IsHanCharacter(U'。'));
  EXPECT_FALSE(IsHanCharacter(U'，'));
  EXPECT_FALSE(IsHanCharacter(U'あ'));
  EXPECT_FALSE(IsHanCharacter(U'a'));
  EXPECT_FALSE(IsHanCharacter(U'\U0001F600'));
}

TEST(TextScriptsTest, ContainsHanSeesAPairOfSurrogates) {
  EXPECT_TRUE(ContainsHan(u"Tom 是 DJ"));
  EXPECT_TRUE(ContainsHan(u"x\U00020000"));
  EXPECT_FALSE(ContainsHan(u"Hello, world."));
  EXPECT_FALSE(ContainsHan(u"。！？"));
  EXPECT_FALSE(ContainsHan(u"\xD840"));  // a lone high surrogate of extension B is no character
  EXPECT_FALSE(ContainsHan(u""));
}

TEST(TextScriptsTest, CharactersAreCodePoints) {
  EXPECT_EQ(CountCharacters(u"a\U0001F600b"), 3u);
  EXPECT_EQ(SplitCharacters(u"a\U0001F600我"), (std::vector<std::u16string>{u"a", u"\U0001F600", u"我"}));
  // An unpaired surrogate is a character of its own, not joined with its neighbour.
  EXPECT_EQ(SplitCharacters(std::u16string(u"\xDC00\xD800", 2)),
            (std::vector<std::u16string>{std::u16string(1, u'\xDC00'), std::u16string(1, u'\xD800')}));
}

TEST(TextScriptsTest, CollapseSpacesTouchesOnlyAsciiWhiteSpace) {
  EXPECT_EQ(CollapseSpaces(u"  Hi.   How\tare \t you? "), u"Hi. How are you?");
  EXPECT_EQ(CollapseSpaces(u"\"Yes,\" he said."), u"\"Yes,\" he said.");
  EXPECT_EQ(CollapseSpaces(u"a\r\v\fb"), u"a b");
  EXPECT_EQ(CollapseSpaces(u"no\u00A0break"), u"no\u00A0break");
  EXPECT_EQ(CollapseSpaces(u" \t "), u"");
  EXPECT_EQ(CollapseSpaces(u""), u"");
}

TEST(TextScriptsTest, SeparatorsAndDroppedInvisibles) {
  for (char32_t c : {U' ', U'\t', U'\u3000', U'\u00A0', U'\u2002'}) EXPECT_TRUE(IsSeparatorSpace(c)) << int(c);
  for (char32_t c : {U'\u200B', U'\u200E', U'\u200F', U'\u200D', U'x'}) EXPECT_FALSE(IsSeparatorSpace(c)) << int(c);
  EXPECT_TRUE(IsDroppedInvisible(U'\u200B'));
  EXPECT_TRUE(IsDroppedInvisible(U'\uFEFF'));
  EXPECT_FALSE(IsDroppedInvisible(U'\u200F'));  // a direction mark is text
  EXPECT_FALSE(IsDroppedInvisible(U'\u200D'));  // a joiner is text
}

}  // namespace
}  // namespace tamrel
