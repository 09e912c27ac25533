#include "lexicon/segmenter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/lexicon/lexicon_test_support.h"

namespace tamrel {
namespace {

std::vector<std::u16string> Words(const Lexicon& lexicon, std::u16string_view text) {
  std::vector<std::u16string> words;
  for (const Token& token : Segment(lexicon, text)) words.emplace_back(text.substr(token.begin, token.length));
  return words;
}

using W = std::vector<std::u16string>;

// Tokens follow each other without gap or overlap from the first unit to the last, none is
// empty, and none starts or ends inside a surrogate pair.
void ExpectEveryUnitOnce(const Lexicon& lexicon, std::u16string_view text) {
  const std::vector<Token> tokens = Segment(lexicon, text);
  size_t at = 0;
  for (const Token& token : tokens) {
    ASSERT_EQ(token.begin, at);
    ASSERT_GT(token.length, 0u);
    const size_t end = token.begin + token.length;
    if (end < text.size()) {
      const bool splitsPair =
          text[end] >= 0xDC00 && text[end] <= 0xDFFF && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF;
      ASSERT_FALSE(splitsPair) << "token ends inside a surrogate pair at " << end;
    }
    at = end;
  }
  ASSERT_EQ(at, text.size());
}

TEST(SegmenterTest, KnownWords) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(Words(lexicon, u"我们喜欢北京"), (W{u"我们", u"喜欢", u"北京"}));
  EXPECT_EQ(Words(lexicon, u"他是研究生命起源的"), (W{u"他", u"是", u"研究", u"生命", u"起源", u"的"}));
  EXPECT_EQ(Words(lexicon, u"中华人民共和国"), (W{u"中华人民共和国"}));
}

TEST(SegmenterTest, NumbersKeepTheirMeasure) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(Words(lexicon, u"二〇〇一年"), (W{u"二〇〇一年"}));
  EXPECT_EQ(Words(lexicon, u"我3月去"), (W{u"我", u"3月", u"去"}));
  EXPECT_EQ(Words(lexicon, u"生于2001年。"), (W{u"生于", u"2001年", u"。"}));
  EXPECT_EQ(Words(lexicon, u"价格是3.5元"), (W{u"价格", u"是", u"3.5元"}));
  EXPECT_EQ(Words(lexicon, u"１２３４"), (W{u"１２３４"}));  // fullwidth digits
  // A point that no digit follows is punctuation of its own.
  EXPECT_EQ(Words(lexicon, u"12."), (W{u"12", u"."}));
  const std::vector<Token> tokens = Segment(lexicon, u"二〇〇一年");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].kind, TokenKind::kNumber);
}

TEST(SegmenterTest, LatinWordsStayWhole) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(Words(lexicon, u"我有MP3和iPod"), (W{u"我", u"有", u"MP3", u"和", u"iPod"}));
  // A combining accent stays with its letter.
  EXPECT_EQ(Words(lexicon, u"cafe\u0301馆"), (W{u"cafe\u0301", u"馆"}));
  const std::vector<Token> tokens = Segment(lexicon, u"hello");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].kind, TokenKind::kWord);
}

TEST(SegmenterTest, PunctuationIsItsOwnToken) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(Words(lexicon, u"好！？……“你”"), (W{u"好", u"！", u"？", u"…", u"…", u"“", u"你", u"”"}));
  for (const Token& token : Segment(lexicon, u"，。！")) EXPECT_EQ(token.kind, TokenKind::kPunctuation);
}

TEST(SegmenterTest, SpacesAndInvisibleCharactersAreKept) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_EQ(Words(lexicon, u"请\u200b借 我"), (W{u"请", u"\u200b", u"借", u" ", u"我"}));
  const std::vector<Token> tokens = Segment(lexicon, u"请\u200b借");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].kind, TokenKind::kSpace);
}

TEST(SegmenterTest, AstralCharactersAreNeverSplit) {
  const Lexicon& lexicon = test::ShippedLexicon();
  // U+20000 and U+2A6D6 (Han, outside the BMP), an emoji, and Han around them.
  const std::u16string text = u"我\U00020000\U0002A6D6你😀好";
  ExpectEveryUnitOnce(lexicon, text);
  const W words = Words(lexicon, text);
  EXPECT_NE(std::find(words.begin(), words.end(), u"😀"), words.end());
}

TEST(SegmenterTest, UnpairedSurrogatesAreTokensOfTheirOwn) {
  const Lexicon& lexicon = test::ShippedLexicon();
  const std::u16string text = {u'我', 0xD800, u'们', 0xDC00, 0xDC00, u'a', 0xD83D};
  ExpectEveryUnitOnce(lexicon, text);
  const std::vector<Token> tokens = Segment(lexicon, text);
  ASSERT_EQ(tokens.size(), 7u);
  EXPECT_EQ(tokens[1].kind, TokenKind::kOther);
  EXPECT_EQ(tokens[6].kind, TokenKind::kOther);
}

TEST(SegmenterTest, EmptyTextHasNoTokens) { EXPECT_TRUE(Segment(test::ShippedLexicon(), u"").empty()); }

TEST(SegmenterTest, RandomTextKeepsEveryUnitOnce) {
  const Lexicon& lexicon = test::ShippedLexicon();
  // Units drawn from Han words, digits, measures, letters, punctuation, spaces, pairs and lone
  // halves of pairs, so that every branch of the segmenter meets every neighbour.
  const std::u16string pool = u"我们的一二〇十年月点3.5aZé。，！ \u200b\u0301\U00020000😀";
  const std::u16string extra = {0xD800, 0xDFFF};
  const std::u16string units = pool + extra;
  std::mt19937 random(7);
  Segmenter segmenter(lexicon);
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    const size_t length = random() % 24;
    for (size_t i = 0; i < length; ++i) text.push_back(units[random() % units.size()]);
    ExpectEveryUnitOnce(lexicon, text);
    // The reusable segmenter answers as the one-shot function does.
    const std::vector<Token>& again = segmenter.Segment(text);
    const std::vector<Token> once = Segment(lexicon, text);
    ASSERT_EQ(again.size(), once.size());
    for (size_t i = 0; i < once.size(); ++i) ASSERT_EQ(again[i].length, once[i].length);
  }
}

TEST(SegmenterTest, LongRunsAreSegmented) {
  const Lexicon& lexicon = test::ShippedLexicon();
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += u"我们喜欢北京";
  ExpectEveryUnitOnce(lexicon, text);
  EXPECT_EQ(Segment(lexicon, text).size(), 15000u);
}

TEST(SegmenterTest, ASmallLexiconDecidesByProbability) {
  Lexicon lexicon;
  // 研究生 is a word, yet 研究 + 生命 together are more probable than 研究生 + 命.
  ASSERT_TRUE(lexicon.Parse("研究\t100\t\n研究生\t20\t\n生命\t100\t\n命\t5\t\n生\t5\t\n", "mini.tsv").ok());
  EXPECT_EQ(Words(lexicon, u"研究生命"), (W{u"研究", u"生命"}));
  EXPECT_EQ(Words(lexicon, u"研究生"), (W{u"研究生"}));
  // Characters the lexicon lacks become single tokens.
  EXPECT_EQ(Words(lexicon, u"猫研究"), (W{u"猫", u"研究"}));
}

}  // namespace
}  // namespace tamrel
