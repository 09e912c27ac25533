// Chinese word segmentation: the most probable path through the lattice of lexicon words
// (unigram log probabilities, dynamic programming), with numbers, Latin words and punctuation
// as tokens of their own. Every input unit lands in exactly one token, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"

namespace tamrel {

enum class TokenKind : uint8_t {
  kChinese,      // Han characters: a lexicon word, or a character no word covers
  kNumber,       // digits (3, 2001, 3.5), or Chinese numerals (二〇〇一), with a measure after them
  kWord,         // a run of letters and digits that are not Han (MP3, hello, café)
  kPunctuation,  // one punctuation mark or symbol
  kSpace,        // one white-space or invisible formatting unit (U+200B)
  kOther,        // anything else, one code point (or one unpaired surrogate) a token
};

struct Token {
  size_t begin = 0;   // in UTF-16 units of the segmented text
  size_t length = 0;  // in UTF-16 units; never 0, never splits a surrogate pair
  TokenKind kind = TokenKind::kOther;
};

// A measure word that joins the number in front of it (2001年, 3月, 三十岁).
bool IsMeasure(char32_t c);
// A Chinese numeral character (〇 零 一 … 十 百 千 万 亿 两).
bool IsChineseNumeral(char32_t c);

// Segments text with one lexicon, reusing its working memory from call to call. Not for use
// by two threads at once; the lexicon may be shared.
class Segmenter {
 public:
  explicit Segmenter(const Lexicon& lexicon) : lexicon_(lexicon) {}

  // The tokens of `text`, valid until the next call.
  const std::vector<Token>& Segment(std::u16string_view text);

 private:
  void SegmentHan(std::u16string_view text, size_t begin, size_t end);

  const Lexicon& lexicon_;
  std::vector<Token> tokens_;
  std::vector<float> best_;     // best log probability of the rest of the run from each unit
  std::vector<uint32_t> next_;  // where the best first token from each unit ends
  std::vector<uint8_t> numeric_;
};

// One-shot form of Segmenter::Segment.
std::vector<Token> Segment(const Lexicon& lexicon, std::u16string_view text);

}  // namespace tamrel
