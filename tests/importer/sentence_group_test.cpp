#include "importer/sentence_group.h"

#include <gtest/gtest.h>

#include "tests/support/character_chinese_text.h"

namespace tamrel {
namespace {

using test::CharacterChineseText;

// Language tools that behave badly in every way an implementation might: conversion adds
// spaces, words come back with spaces in them, pinyin has too few tokens, empty ones and spaces.
class UnrulyText : public ChineseText {
 public:
  std::u16string ToSimplified(std::u16string_view text) const override {
    std::u16string out(text);
    for (char16_t& c : out) {
      if (c == u'們') c = u'们';
    }
    return u" " + out + u" ";
  }
  std::vector<std::u16string> Segment(std::u16string_view text) const override {
    if (text == u"我们好") return {u"我们", u" ", u"好"};
    return {std::u16string(text)};
  }
  std::vector<std::u16string> Pinyin(const std::vector<std::u16string>& words) const override {
    if (words.size() == 2) return {u"wǒ men"};  // one short, with a space
    return std::vector<std::u16string>(words.size() + 1, u"");
  }
};

ImportedGroup Make(std::u16string_view chinese, std::u16string_view english, const ChineseText& tools) {
  ImportedGroup g;
  EXPECT_TRUE(MakeImportedGroup(chinese, english, tools, g));
  return g;
}

TEST(SentenceGroupTest, PairBecomesThreeLines) {
  const ImportedGroup g = Make(u"你好。", u"  Hello,   friend. ", CharacterChineseText());
  EXPECT_EQ(g.chinese, u"你 好 。");
  EXPECT_EQ(g.pinyin, u"你 好 。");
  EXPECT_EQ(g.english, u"Hello, friend.");
}

TEST(SentenceGroupTest, WhiteSpaceOnlySeparatesChineseWords) {
  const ImportedGroup g = Make(u" 他是\u3000DJ\t。\u200B", u"He is a DJ.", CharacterChineseText());
  EXPECT_EQ(g.chinese, u"他 是 D J 。");
  EXPECT_EQ(g.pinyin, g.chinese);
}

TEST(SentenceGroupTest, MonolingualGroupsLeaveASideEmpty) {
  ImportedGroup g = Make(u"我们。", u"", CharacterChineseText());
  EXPECT_EQ(g.english, u"");
  EXPECT_EQ(g.chinese, u"我 们 。");
  g = Make(u"", u"We are.", CharacterChineseText());
  EXPECT_EQ(g.chinese, u"");
  EXPECT_EQ(g.pinyin, u"");
  EXPECT_EQ(g.english, u"We are.");
  ImportedGroup empty;
  EXPECT_FALSE(MakeImportedGroup(u" \u3000\u200B", u" \t ", CharacterChineseText(), empty));
}

TEST(SentenceGroupTest, UnrulyToolsStillGiveOnePinyinTokenPerWord) {
  const UnrulyText tools;
  ImportedGroup g = Make(u"我們好", u"We are fine.", tools);
  EXPECT_EQ(g.chinese, u"我们 好");
  EXPECT_EQ(g.pinyin, u"wǒmen 好");  // joined syllables; the missing token is the word itself
  g = Make(u"好", u"Fine.", tools);
  EXPECT_EQ(g.chinese, u"好");
  EXPECT_EQ(g.pinyin, u"好");  // an empty token is the word itself; the extra one is dropped
}

TEST(SentenceGroupTest, HostileTextStaysText) {
  const CharacterChineseText tools;
  ImportedGroup g = Make(u"<b>好</b>", u"<script>alert('x')</script> &amp;", tools);
  EXPECT_EQ(g.chinese, u"< b > 好 < / b >");
  EXPECT_EQ(g.english, u"<script>alert('x')</script> &amp;");
  // Direction marks, a control character and a character outside the BMP are kept as words.
  g = Make(u"\u200F好\x01\U0001F600", u"\u202Eevil\u202C \x01", tools);
  EXPECT_EQ(g.chinese, u"\u200F 好 \x01 \U0001F600");
  EXPECT_EQ(g.pinyin, g.chinese);
  EXPECT_EQ(g.english, u"\u202Eevil\u202C \x01");
}

}  // namespace
}  // namespace tamrel
