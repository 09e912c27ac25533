#include "explorer/tone_colours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamrel {
namespace {

// The syllables of a split as "text:tone" pieces, to compare in one line.
std::vector<std::u16string> Pieces(std::u16string_view token, const std::vector<ToneSpan>& syllables) {
  std::vector<std::u16string> pieces;
  for (const ToneSpan& s : syllables) {
    pieces.push_back(std::u16string(token.substr(s.start, s.length)) + u":" + char16_t(u'0' + s.tone));
  }
  return pieces;
}

using Pieces16 = std::vector<std::u16string>;

TEST(ToneColoursTest, MarkedSyllablesSplitWithTheirTones) {
  EXPECT_EQ(Pieces(u"wǒmen", AlignTones(u"我们", u"wǒmen")), (Pieces16{u"wǒ:3", u"men:5"}));
  EXPECT_EQ(Pieces(u"míngtiān", AlignTones(u"明天", u"míngtiān")), (Pieces16{u"míng:2", u"tiān:1"}));
  EXPECT_EQ(Pieces(u"gōngyuán", AlignTones(u"公园", u"gōngyuán")), (Pieces16{u"gōng:1", u"yuán:2"}));
  EXPECT_EQ(Pieces(u"lǜsè", AlignTones(u"绿色", u"lǜsè")), (Pieces16{u"lǜ:4", u"sè:4"}));
  EXPECT_EQ(Pieces(u"Běijīng", AlignTones(u"北京", u"Běijīng")), (Pieces16{u"Běi:3", u"jīng:1"}));
  EXPECT_EQ(Pieces(u"yīdiǎnr", AlignTones(u"一点儿", u"yīdiǎnr")), (Pieces16{u"yī:1", u"diǎn:3", u"r:5"}));
}

TEST(ToneColoursTest, ApostrophesDigitsAndCombiningMarks) {
  EXPECT_EQ(Pieces(u"xī'ān", AlignTones(u"西安", u"xī'ān")), (Pieces16{u"xī:1", u"ān:1"}));
  EXPECT_EQ(Pieces(u"xiān", AlignTones(u"先", u"xiān")), (Pieces16{u"xiān:1"}));
  EXPECT_EQ(Pieces(u"ni3hao5", AlignTones(u"你好", u"ni3hao5")), (Pieces16{u"ni3:3", u"hao5:5"}));
  const std::u16string decomposed = u"ha\u030Co";  // "hǎo" with a combining caron
  EXPECT_EQ(Pieces(decomposed, AlignTones(u"好", decomposed)), (Pieces16{decomposed + u":3"}));
  EXPECT_EQ(Pieces(u"nu\u0308", AlignTones(u"女", u"nu\u0308")), (Pieces16{u"nu\u0308:5"}));
}

TEST(ToneColoursTest, GeneratedApostrophesSplitSyllableBySyllable) {
  EXPECT_EQ(Pieces(u"qǐ'é", AlignTones(u"企鹅", u"qǐ'é")), (Pieces16{u"qǐ:3", u"é:2"}));
  EXPECT_EQ(Pieces(u"jī'è", AlignTones(u"饥饿", u"jī'è")), (Pieces16{u"jī:1", u"è:4"}));
  EXPECT_EQ(Pieces(u"tiān'ānmén", AlignTones(u"天安门", u"tiān'ānmén")), (Pieces16{u"tiān:1", u"ān:1", u"mén:2"}));
  EXPECT_EQ(Pieces(u"Tiān'ānmén", AlignTones(u"天安门", u"Tiān'ānmén")), (Pieces16{u"Tiān:1", u"ān:1", u"mén:2"}));
  // The apostrophe belongs to no syllable: the spans leave it out.
  const std::vector<ToneSpan> spans = AlignTones(u"企鹅", u"qǐ'é");
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0], (ToneSpan{0, 2, 3}));
  EXPECT_EQ(spans[1], (ToneSpan{3, 1, 2}));
  // The same word written without it splits the same way.
  EXPECT_EQ(Pieces(u"qǐé", AlignTones(u"企鹅", u"qǐé")), (Pieces16{u"qǐ:3", u"é:2"}));
  EXPECT_TRUE(AlignTones(u"企鹅", u"qǐ''é").empty());  // two apostrophes are no pinyin
}

TEST(ToneColoursTest, WordsThatDoNotPairUpGetNoTones) {
  EXPECT_TRUE(AlignTones(u"我们", u"wǒ").empty());   // fewer syllables than characters
  EXPECT_TRUE(AlignTones(u"我", u"wǒmen").empty());  // more
  EXPECT_TRUE(AlignTones(u"。", u"。").empty());     // punctuation
  EXPECT_TRUE(AlignTones(u"T恤", u"Txù").empty());   // a letter that is no syllable
  EXPECT_TRUE(AlignTones(u"好", u"hǎǒ").empty());    // two marks on one syllable
  EXPECT_TRUE(AlignTones(u"好", u"hǎo3").empty());   // a mark and a digit
  EXPECT_TRUE(AlignTones(u"好", u"").empty());
  EXPECT_TRUE(AlignTones(u"", u"hǎo").empty());
  EXPECT_TRUE(AlignTones(u"好", u"'hǎo").empty());
  EXPECT_TRUE(AlignTones(u"好", u"h\u030Cao").empty());  // a tone mark on a consonant
  EXPECT_TRUE(AlignTones(u"好", u"\u030Chao").empty());  // a mark on nothing
  EXPECT_TRUE(SplitToneSpans(std::u16string(200, u'a'), 100).empty());
}

TEST(ToneColoursTest, AstralCharactersCountOnce) {
  EXPECT_EQ(Pieces(u"hǎo", AlignTones(u"\U00020000", u"hǎo")), (Pieces16{u"hǎo:3"}));
}

}  // namespace
}  // namespace tamrel
