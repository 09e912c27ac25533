#include "importer/text_scripts.h"

#include <gtest/gtest.h>

namespace tamrel {
namespace {

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
