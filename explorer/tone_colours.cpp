#include "explorer/tone_colours.h"

#include <optional>
#include <string>
#include <unordered_set>

#include "text/code_points.h"
#include "text/pinyin_syllables.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// A syllable the corpus may write: one of Mandarin's, or an interjection written as a syllable of
// its own (hm, ng ...).
bool IsWrittenSyllable(std::string_view base) {
  static constexpr std::string_view kInterjections[] = {"m", "n", "ng", "hm", "hng"};
  for (std::string_view interjection : kInterjections) {
    if (base == interjection) return true;
  }
  return IsPinyinSyllable(std::u16string(base.begin(), base.end()));
}

constexpr size_t kLongestSyllable = 6;  // "zhuang"
// Longer tokens are not pinyin of one word; they are left without tones rather than searched.
constexpr size_t kLongestToken = 64;

// A token read as units: letters (with their marks), tone digits and apostrophes.
struct Unit {
  enum class Kind { kLetter, kDigit, kApostrophe } kind;
  char base = 0;
  int tone = 0;
  size_t start = 0;
  size_t end = 0;
};

std::optional<std::vector<Unit>> ReadUnits(std::u16string_view token) {
  std::vector<Unit> units;
  for (size_t i = 0; i < token.size(); ++i) {
    const char16_t c = token[i];
    if (const int mark = CombiningPinyinMark(c); mark != 0) {
      if (units.empty() || units.back().kind != Unit::Kind::kLetter) return std::nullopt;
      Unit& letter = units.back();
      if (mark == -1) {
        if (letter.base != 'u') return std::nullopt;
        letter.base = 'v';
      } else {
        // Tone marks sit on vowels (and on the nasal interjections m and n).
        if (letter.tone != 0 || std::string_view("aeiouvmn").find(letter.base) == std::string_view::npos) {
          return std::nullopt;
        }
        letter.tone = mark;
      }
      letter.end = i + 1;
    } else if (const auto letter = ReadPinyinLetter(c)) {
      units.push_back({Unit::Kind::kLetter, letter->base, letter->tone, i, i + 1});
    } else if (c >= u'1' && c <= u'5') {
      units.push_back({Unit::Kind::kDigit, 0, c - u'0', i, i + 1});
    } else if (c == u'\'' || c == u'\u2019') {
      units.push_back({Unit::Kind::kApostrophe, 0, 0, i, i + 1});
    } else {
      return std::nullopt;
    }
  }
  return units;
}

class Splitter {
 public:
  explicit Splitter(const std::vector<Unit>& units) : units_(units) {}

  // Splits units [from, end) into `count` syllables, appending them to out_; false when it cannot.
  bool Split(size_t from, size_t count) {
    if (from < units_.size() && units_[from].kind == Unit::Kind::kApostrophe && from > 0) ++from;
    if (count == 0) return from == units_.size();
    if (from >= units_.size()) return false;
    const size_t key = from * (kLongestToken + 1) + count;
    if (failed_.contains(key)) return false;
    std::string base;
    int tone = 0;
    size_t marks = 0;
    std::vector<std::pair<size_t, int>> candidates;  // (units used, tone), shortest first
    for (size_t i = from; i < units_.size() && i - from < kLongestSyllable; ++i) {
      const Unit& u = units_[i];
      if (u.kind != Unit::Kind::kLetter) break;
      base.push_back(u.base);
      if (u.tone != 0) {
        ++marks;
        tone = u.tone;
      }
      if (marks <= 1 && IsWrittenSyllable(base)) candidates.emplace_back(i + 1 - from, tone);
    }
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
      size_t end = from + it->first;
      int syllableTone = it->second;
      if (end < units_.size() && units_[end].kind == Unit::Kind::kDigit) {
        if (syllableTone != 0) continue;  // a mark and a digit on one syllable
        syllableTone = units_[end].tone;
        ++end;
      }
      out_.push_back(
          {units_[from].start, units_[end - 1].end - units_[from].start, syllableTone == 0 ? 5 : syllableTone});
      if (Split(end, count - 1)) return true;
      out_.pop_back();
    }
    failed_.insert(key);
    return false;
  }

  std::vector<ToneSpan> out_;

 private:
  const std::vector<Unit>& units_;
  std::unordered_set<size_t> failed_;
};

}  // namespace

std::vector<ToneSpan> SplitToneSpans(std::u16string_view token, size_t count) {
  if (count == 0 || token.size() > kLongestToken || count > token.size()) return {};
  const auto units = ReadUnits(token);
  if (!units || units->empty() || units->front().kind == Unit::Kind::kApostrophe) return {};
  Splitter splitter(*units);
  if (!splitter.Split(0, count)) return {};
  return std::move(splitter.out_);
}

std::vector<ToneSpan> AlignTones(std::u16string_view word, std::u16string_view pinyin) {
  return SplitToneSpans(pinyin, CharacterCount(word));
}

}  // namespace tamrel
