#include "explorer/word_lookup.h"

#include <gtest/gtest.h>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

TEST(ParseNumberBoxTest, DigitsGiveAPosition) {
  const NumberBoxEntry entry = ParseNumberBox(u"12");
  EXPECT_EQ(entry.kind, NumberBoxEntry::kPosition);
  EXPECT_EQ(entry.position, 12);
}

TEST(ParseNumberBoxTest, LeadingZerosAreDigits) {
  const NumberBoxEntry entry = ParseNumberBox(u"007");
  EXPECT_EQ(entry.kind, NumberBoxEntry::kPosition);
  EXPECT_EQ(entry.position, 7);
}

TEST(ParseNumberBoxTest, TrailingLetterGivesNoLines) {
  EXPECT_EQ(ParseNumberBox(u"12a").kind, NumberBoxEntry::kNoLines);
}

TEST(ParseNumberBoxTest, SignGivesNoLines) {
  EXPECT_EQ(ParseNumberBox(u"-3").kind, NumberBoxEntry::kNoLines);
  EXPECT_EQ(ParseNumberBox(u"+3").kind, NumberBoxEntry::kNoLines);
  EXPECT_EQ(ParseNumberBox(u" 3").kind, NumberBoxEntry::kNoLines);
}

TEST(ParseNumberBoxTest, EmptyKeepsTheList) { EXPECT_EQ(ParseNumberBox(u"").kind, NumberBoxEntry::kKeepList); }

TEST(ParseNumberBoxTest, ValuesBeyondTheLimitAreClamped) {
  EXPECT_EQ(ParseNumberBox(u"2147483647").position, 2147483647);
  EXPECT_EQ(ParseNumberBox(u"2147483648").position, 2147483647);
  EXPECT_EQ(ParseNumberBox(u"99999999999999999999").position, 2147483647);
}

TEST(WordOfLineTest, TextAfterTheFirstColon) {
  EXPECT_EQ(WordOfLine(u"12:hello"), u"hello");
  EXPECT_EQ(WordOfLine(u"3:a:b"), u"a:b");
  EXPECT_EQ(WordOfLine(u"no colon"), std::nullopt);
}

class LookUpWordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        test::WriteCorpus(u"BI", {{"你好 。", "nǐhǎo 。", "Hello there."}, {"谢谢 你", "xièxie nǐ", "Thank you."}}), 0);
    ASSERT_EQ(LoadWordTable(corpus_), 0);
  }
  test::RuntimeFolder folder_;
  CorpusIndex corpus_{u"BI"};
};

TEST_F(LookUpWordsTest, EnglishAndChineseLists) {
  const auto english = LookUpWords(corpus_, u"1", true);
  ASSERT_TRUE(english.has_value());
  EXPECT_EQ(*english, (std::vector<std::u16string>{u"1:there", u"2:thank", u"3:you"}));
  const auto chinese = LookUpWords(corpus_, u"0", false);
  ASSERT_TRUE(chinese.has_value());
  EXPECT_EQ(*chinese, (std::vector<std::u16string>{u"0:你好", u"1:谢谢", u"2:你"}));  // 。 is not listed
}

TEST_F(LookUpWordsTest, AtMostTwentyLines) {
  std::vector<test::SentenceGroup> groups;
  for (int i = 0; i < 30; ++i) groups.push_back({"字" + std::to_string(i), "zi", "w" + std::to_string(i)});
  ASSERT_EQ(test::WriteCorpus(u"BI", groups), 0);
  CorpusIndex many(u"BI");
  ASSERT_EQ(LoadWordTable(many), 0);
  const auto lines = LookUpWords(many, u"5", false);
  ASSERT_TRUE(lines.has_value());
  ASSERT_EQ(lines->size(), 20u);
  EXPECT_EQ(lines->front(), u"5:字5");
  EXPECT_EQ(lines->back(), u"24:字24");
}

TEST_F(LookUpWordsTest, BeyondTheEndGivesNoLines) {
  const auto lines = LookUpWords(corpus_, u"2147483648", true);
  ASSERT_TRUE(lines.has_value());
  EXPECT_TRUE(lines->empty());
}

TEST_F(LookUpWordsTest, OtherTextEmptiesAndEmptyKeeps) {
  EXPECT_EQ(LookUpWords(corpus_, u"12a", true), std::vector<std::u16string>{});
  EXPECT_EQ(LookUpWords(corpus_, u"-3", true), std::vector<std::u16string>{});
  EXPECT_EQ(LookUpWords(corpus_, u"", true), std::nullopt);
}

}  // namespace
}  // namespace tamrel
