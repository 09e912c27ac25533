#include "lexicon/simplify.h"

#include <gtest/gtest.h>

#include "lexicon/line_analysis.h"
#include "tests/lexicon/lexicon_test_support.h"

namespace tamrel {
namespace {

const Simplifier& OpenSimplifier() {
  static const Simplifier* simplifier = [] {
    auto* opened = new Simplifier;
    const Status status = opened->Open();
    EXPECT_TRUE(status.ok()) << status.ToString();
    return opened;
  }();
  return *simplifier;
}

TEST(SimplifyTest, TraditionalBecomesSimplified) {
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"天氣"), u"天气");
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"請借我你的書。"), u"请借我你的书。");
  EXPECT_EQ(OpenSimplifier().ToSimplified(u"我们"), u"我们");
}

TEST(SimplifyTest, EverythingButHanIsCopied) {
  const std::u16string text = {u'A', 0xD800, u'氣', u' ', 0xDC00, u'。', u'1'};
  const std::u16string expected = {u'A', 0xD800, u'气', u' ', 0xDC00, u'。', u'1'};
  EXPECT_EQ(OpenSimplifier().ToSimplified(text), expected);
  EXPECT_EQ(OpenSimplifier().ToSimplified(u""), u"");
}

TEST(SimplifyTest, UnknownConfigurationIsNotFound) {
  Simplifier simplifier;
  const Status status = simplifier.Open("no-such-config.json");
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_NE(status.ToString().find("no-such-config.json"), std::string::npos);
  EXPECT_FALSE(simplifier.isOpen());
  EXPECT_EQ(simplifier.ToSimplified(u"天氣"), u"天氣");  // left as it is
}

TEST(LineAnalysisTest, TraditionalLinesKeepTheirCharactersButFindSimplifiedWords) {
  const Lexicon& lexicon = test::ShippedLexicon();
  Segmenter segmenter(lexicon);
  const AnalysedLine line = AnalyseLine(segmenter, lexicon, OpenSimplifier(), u"我喜歡這裡的天氣。");
  EXPECT_EQ(line.words, (std::vector<std::u16string>{u"我", u"喜歡", u"這裡", u"的", u"天氣", u"。"}));
  EXPECT_EQ(line.readings, (std::vector<std::u16string>{u"wǒ", u"xǐhuan", u"zhèlǐ", u"de", u"tiānqì", u"。"}));
}

TEST(LineAnalysisTest, SpacesAreNotWords) {
  const Lexicon& lexicon = test::ShippedLexicon();
  Segmenter segmenter(lexicon);
  const AnalysedLine line = AnalyseLine(segmenter, lexicon, OpenSimplifier(), u" 请\u200b借我 ");
  EXPECT_EQ(line.words, (std::vector<std::u16string>{u"请", u"借", u"我"}));
  EXPECT_EQ(line.words.size(), line.readings.size());
}

}  // namespace
}  // namespace tamrel
