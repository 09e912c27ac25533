#include "explorer/pinyin_query.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tamrel {

namespace {

// The longest span tried: no reading is longer, and a learner's query words are short.
constexpr size_t kLongestSpan = 12;

}  // namespace

std::optional<PinyinWords> FindPinyinWords(std::u16string_view text, const std::vector<const ReadingIndex*>& readings) {
  const std::optional<PinyinText> typed = ReadPinyin(text);
  if (!typed) return std::nullopt;
  const std::vector<PinyinSyllable>& syllables = typed->syllables;
  const size_t n = syllables.size();
  size_t longest = 0;
  for (const ReadingIndex* r : readings) longest = std::max(longest, r->longestReading());
  longest = std::min(longest, kLongestSpan);

  // The words of the span [i, i + len). Their readings cut into the same syllables (and with
  // tones typed, the same tones); for one typed syllable without tone, when no reading does, any
  // reading of its letters: "xian" finds 先 before 西安, and 西安 where no 先 is; "xi'an" never 先.
  const auto wordsOf = [&](size_t i, size_t len) {
    std::vector<std::u16string_view> words;
    std::u16string letters;
    for (size_t k = i; k < i + len; ++k) letters += syllables[k].letters;
    for (const bool exact : {true, false}) {
      if (!exact && (typed->toned || !words.empty() || len != 1)) break;
      for (const ReadingIndex* r : readings) {
        const std::vector<ReadingIndex::Word>* found = r->Find(letters);
        if (found == nullptr) continue;
        for (const ReadingIndex::Word& w : *found) {
          if (words.size() >= kMaxWordsPerSpan) break;
          if (exact && !SyllablesMatch(w.syllables, syllables, i, len, typed->toned)) continue;
          if (std::find(words.begin(), words.end(), w.chinese) == words.end()) words.push_back(w.chinese);
        }
      }
    }
    return words;
  };

  // From the end: the fewest spans covering the rest from each syllable, longer first spans
  // preferred among equals.
  constexpr size_t kNone = std::numeric_limits<size_t>::max();
  std::vector<size_t> spans(n + 1, kNone), take(n + 1, 0);
  std::vector<std::vector<std::u16string_view>> chosen(n + 1);
  spans[n] = 0;
  for (size_t i = n; i-- > 0;) {
    for (size_t len = std::min(longest, n - i); len >= 1; --len) {
      if (spans[i + len] == kNone || spans[i + len] + 1 >= spans[i]) continue;
      std::vector<std::u16string_view> words = wordsOf(i, len);
      if (words.empty()) continue;
      spans[i] = spans[i + len] + 1;
      take[i] = len;
      chosen[i] = std::move(words);
    }
  }
  if (spans[0] == kNone) return std::nullopt;

  PinyinWords out;
  out.shown.assign(text);
  out.shown += u':';
  std::vector<std::u16string_view> all;
  for (size_t i = 0; i < n; i += take[i]) {
    out.shown += u' ';
    out.spans.emplace_back(chosen[i].begin(), chosen[i].end());
    for (size_t w = 0; w < chosen[i].size(); ++w) {
      if (w > 0) out.shown += u'/';
      out.shown += chosen[i][w];
      if (std::find(all.begin(), all.end(), chosen[i][w]) != all.end()) continue;
      all.push_back(chosen[i][w]);
      out.query += chosen[i][w];
      out.query += u' ';
    }
  }
  return out;
}

}  // namespace tamrel
