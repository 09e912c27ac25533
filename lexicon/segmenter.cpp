#include "lexicon/segmenter.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/code_points.h"

namespace tamrel {

namespace {

constexpr float kImpossible = -std::numeric_limits<float>::infinity();

// How probable a run of Chinese numerals (with its measure) is as one token, relative to one
// character that no word covers: about as likely as a word seen a few thousand times, so that
// 二〇〇一年 beats five single characters while words such as 一起 or 十分 keep their own weight.
constexpr float kNumberBonus = 8.0f;

bool IsSpaceLike(char32_t c) { return u_isUWhiteSpace(c) || u_charType(c) == U_FORMAT_CHAR; }

// A letter or digit of a non-Han word (Latin, Greek, kana, hangul, fullwidth digits, ...).
bool IsWordCharacter(char32_t c) { return !IsHan(c) && (u_isalpha(c) || u_isdigit(c)); }

bool IsMark(char32_t c) {
  const int8_t type = u_charType(c);
  return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK || type == U_ENCLOSING_MARK;
}

bool IsPunctuationOrSymbol(char32_t c) {
  if (u_ispunct(c)) return true;
  const int8_t type = u_charType(c);
  return type == U_MATH_SYMBOL || type == U_CURRENCY_SYMBOL || type == U_MODIFIER_SYMBOL || type == U_OTHER_SYMBOL;
}

}  // namespace

bool IsChineseNumeral(char32_t c) {
  switch (c) {
    case U'〇':
    case U'零':
    case U'一':
    case U'二':
    case U'两':
    case U'三':
    case U'四':
    case U'五':
    case U'六':
    case U'七':
    case U'八':
    case U'九':
    case U'十':
    case U'百':
    case U'千':
    case U'万':
    case U'亿':
      return true;
    default:
      return false;
  }
}

bool IsMeasure(char32_t c) {
  // Dates, times, ages, ordinals and money: the measures that make a number one expression.
  static constexpr std::u16string_view kMeasures = u"年月日号点分秒岁元块倍";
  return c <= 0xFFFF && kMeasures.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

const std::vector<Token>& Segmenter::Segment(std::u16string_view text) {
  tokens_.clear();
  size_t at = 0;
  while (at < text.size()) {
    const CodePoint cp = CodePointAt(text, at);
    if (cp.lone) {
      tokens_.push_back({at, 1, TokenKind::kOther});
      ++at;
    } else if (IsHan(cp.value)) {
      size_t end = at + cp.units;
      while (end < text.size()) {
        const CodePoint next = CodePointAt(text, end);
        if (next.lone || !IsHan(next.value)) break;
        end += next.units;
      }
      SegmentHan(text, at, end);
      at = end;
    } else if (IsWordCharacter(cp.value)) {
      // Letters and digits together (MP3, 3D); a point between digits stays (3.5); combining
      // marks stay with their letter; an all-digit run takes the measure after it (2001年).
      bool allDigits = u_isdigit(cp.value);
      size_t end = at + cp.units;
      while (end < text.size()) {
        const CodePoint next = CodePointAt(text, end);
        if (next.lone) break;
        if (IsWordCharacter(next.value)) {
          allDigits = allDigits && u_isdigit(next.value);
        } else if (!IsMark(next.value) &&
                   !(allDigits && next.value == u'.' && end + 1 < text.size() && u_isdigit(text[end + 1]))) {
          break;
        }
        end += next.units;
      }
      if (allDigits && end < text.size() && IsMeasure(text[end])) ++end;
      tokens_.push_back({at, end - at, allDigits ? TokenKind::kNumber : TokenKind::kWord});
      at = end;
    } else {
      TokenKind kind = TokenKind::kOther;
      if (IsSpaceLike(cp.value)) {
        kind = TokenKind::kSpace;
      } else if (IsPunctuationOrSymbol(cp.value)) {
        kind = TokenKind::kPunctuation;
      }
      tokens_.push_back({at, cp.units, kind});
      at += cp.units;
    }
  }
  return tokens_;
}

// The run text[begin, end) of Han characters: best_[i] is the best log probability of a
// segmentation of the run from unit i on, next_[i] where its first token ends. Computed from
// the end backwards, so each step reads only results already there.
void Segmenter::SegmentHan(std::u16string_view text, size_t begin, size_t end) {
  const std::u16string_view run = text.substr(begin, end - begin);
  const size_t n = run.size();
  best_.assign(n + 1, kImpossible);
  next_.assign(n + 1, 0);
  numeric_.assign(n + 1, 0);
  for (size_t i = 0; i < n; ++i) numeric_[i] = IsChineseNumeral(run[i]) ? 1 : 0;
  best_[n] = 0;
  const float unknown = lexicon_.unknownLogProbability();
  const float number = unknown + kNumberBonus;

  for (size_t i = n; i-- > 0;) {
    if (i > 0 && PairStartsAt(run, i - 1)) continue;  // the second half of a pair: no token starts here
    const size_t single = CharacterUnitsAt(run, i);
    float bestScore = unknown + best_[i + single];
    size_t bestEnd = i + single;
    const auto consider = [&](size_t length, float logProbability) {
      const float score = logProbability + best_[i + length];
      if (score >= bestScore) {  // on a tie the longer token wins (lengths come in rising order)
        bestScore = score;
        bestEnd = i + length;
      }
    };

    const size_t longest = std::min(n - i, Lexicon::kMaxWordLength);
    const Lexicon::Step* step = lexicon_.Next(Lexicon::kRoot, run[i]);
    for (size_t length = 1; step != nullptr; ++length) {
      if (step->isWord) consider(length, step->logProbability);
      if (length == longest) break;
      step = lexicon_.Next(*step, run[i + length]);
    }

    if (numeric_[i]) {
      size_t numeralEnd = i;
      while (numeralEnd < n && numeric_[numeralEnd]) ++numeralEnd;
      if (numeralEnd - i >= 2) consider(numeralEnd - i, number);
      if (numeralEnd < n && IsMeasure(run[numeralEnd])) consider(numeralEnd + 1 - i, number);
    }
    best_[i] = bestScore;
    next_[i] = static_cast<uint32_t>(bestEnd);
  }

  for (size_t i = 0; i < n;) {
    const size_t length = next_[i] - i;
    TokenKind kind = TokenKind::kChinese;
    if (length > 1 && numeric_[i] && lexicon_.FindWord(run.substr(i, length)) == nullptr) kind = TokenKind::kNumber;
    tokens_.push_back({begin + i, length, kind});
    i = next_[i];
  }
}

std::vector<Token> Segment(const Lexicon& lexicon, std::u16string_view text) {
  Segmenter segmenter(lexicon);
  return segmenter.Segment(text);
}

}  // namespace tamrel
