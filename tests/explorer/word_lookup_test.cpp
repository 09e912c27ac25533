#include "explorer/word_lookup.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using Words = std::vector<NumberedWord>;

// Passes when `status` is ok; otherwise shows which file failed and why.
::testing::AssertionResult Ok(const Status& status) {
  if (status.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.ToString();
}

TEST(ParseNumberBoxTest, DigitsGiveAPosition) {
  const NumberBoxEntry entry = ParseNumberBox(u"12");
  EXPECT_EQ(entry.kind, NumberBoxEntry::Kind::kPosition);
  EXPECT_EQ(entry.position, 12);
}

TEST(ParseNumberBoxTest, LeadingZerosAreDigits) {
  const NumberBoxEntry entry = ParseNumberBox(u"007");
  EXPECT_EQ(entry.kind, NumberBoxEntry::Kind::kPosition);
  EXPECT_EQ(entry.position, 7);
}

TEST(ParseNumberBoxTest, TrailingLetterGivesNoLines) {
  EXPECT_EQ(ParseNumberBox(u"12a").kind, NumberBoxEntry::Kind::kNoLines);
}

TEST(ParseNumberBoxTest, SignGivesNoLines) {
  EXPECT_EQ(ParseNumberBox(u"-3").kind, NumberBoxEntry::Kind::kNoLines);
  EXPECT_EQ(ParseNumberBox(u"+3").kind, NumberBoxEntry::Kind::kNoLines);
  EXPECT_EQ(ParseNumberBox(u" 3").kind, NumberBoxEntry::Kind::kNoLines);
}

TEST(ParseNumberBoxTest, EmptyKeepsTheList) { EXPECT_EQ(ParseNumberBox(u"").kind, NumberBoxEntry::Kind::kKeepList); }

TEST(ParseNumberBoxTest, ValuesBeyondTheLimitAreClamped) {
  EXPECT_EQ(ParseNumberBox(u"2147483647").position, 2147483647);
  EXPECT_EQ(ParseNumberBox(u"2147483648").position, 2147483647);
  EXPECT_EQ(ParseNumberBox(u"99999999999999999999").position, 2147483647);
}

class LookUpWordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Ok(test::WriteCorpus(
        folder_.path(), u"BI", {{"你好 。", "nǐhǎo 。", "Hello there."}, {"谢谢 你", "xièxie nǐ", "Thank you."}})));
    ASSERT_TRUE(Ok(LoadWordTable(corpus_)));
  }
  test::RuntimeFolder folder_;
  CorpusIndex corpus_{folder_.path(), u"BI"};
};

TEST_F(LookUpWordsTest, EnglishAndChineseLists) {
  const auto english = LookUpWords(corpus_, u"1", Language::kEnglish);
  ASSERT_TRUE(english.has_value());
  EXPECT_EQ(*english, (Words{{1, u"there"}, {2, u"thank"}, {3, u"you"}}));
  const auto chinese = LookUpWords(corpus_, u"0", Language::kChinese);
  ASSERT_TRUE(chinese.has_value());
  EXPECT_EQ(*chinese, (Words{{0, u"你好"}, {1, u"谢谢"}, {2, u"你"}}));  // 。 is not listed
}

TEST_F(LookUpWordsTest, AtMostTwentyLines) {
  std::vector<test::SentenceGroup> groups;
  for (int i = 0; i < 30; ++i) groups.push_back({"字" + std::to_string(i), "zi", "w" + std::to_string(i)});
  ASSERT_TRUE(Ok(test::WriteCorpus(folder_.path(), u"BI", groups)));
  CorpusIndex many(folder_.path(), u"BI");
  ASSERT_TRUE(Ok(LoadWordTable(many)));
  const auto lines = LookUpWords(many, u"5", Language::kChinese);
  ASSERT_TRUE(lines.has_value());
  ASSERT_EQ(lines->size(), 20u);
  EXPECT_EQ(lines->front(), (NumberedWord{5, u"字5"}));
  EXPECT_EQ(lines->back(), (NumberedWord{24, u"字24"}));
}

TEST_F(LookUpWordsTest, BeyondTheEndGivesNoLines) {
  const auto lines = LookUpWords(corpus_, u"2147483648", Language::kEnglish);
  ASSERT_TRUE(lines.has_value());
  EXPECT_TRUE(lines->empty());
}

TEST_F(LookUpWordsTest, OtherTextEmptiesAndEmptyKeeps) {
  EXPECT_EQ(LookUpWords(corpus_, u"12a", Language::kEnglish), Words{});
  EXPECT_EQ(LookUpWords(corpus_, u"-3", Language::kChinese), Words{});
  EXPECT_EQ(LookUpWords(corpus_, u"", Language::kEnglish), std::nullopt);
}

}  // namespace
}  // namespace tamrel
