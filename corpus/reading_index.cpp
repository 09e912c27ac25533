#include "corpus/reading_index.h"

#include <algorithm>

#include "corpus/index_records.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

void ReadingIndex::Add(std::u16string_view chinese, std::u16string_view reading, uint32_t rank) {
  if (!ContainsHan(chinese)) return;
  std::optional<PinyinText> read = ReadPinyin(reading);
  if (!read) return;
  // The word with its syllables and their tones: one reading however it is written (qǐ'é as an
  // import writes it, qǐé as the shipped corpus does, Qǐ'é, qi3e2).
  std::u16string pair(chinese);
  for (const PinyinSyllable& syllable : read->syllables) {
    pair += u'\t';
    pair += syllable.letters;
    pair += static_cast<char16_t>(u'0' + syllable.tone);
  }
  if (!added_.insert(std::move(pair)).second) return;
  longestReading_ = std::max(longestReading_, read->syllables.size());
  std::vector<Word>& words = byLetters_[TonelessLetters(read->syllables)];
  const Word word{std::u16string(chinese), std::move(read->syllables), rank};
  const auto at =
      std::upper_bound(words.begin(), words.end(), word, [](const Word& a, const Word& b) { return a.rank < b.rank; });
  words.insert(at, word);
}

const std::vector<ReadingIndex::Word>* ReadingIndex::Find(std::u16string_view letters) const {
  const auto found = byLetters_.find(std::u16string(letters));
  return found == byLetters_.end() ? nullptr : &found->second;
}

ReadingIndex BuildReadingIndex(const CorpusIndex& index) {
  // Each distinct pair of word IDs once: a million sentences hold only some ten thousand pairs.
  std::unordered_set<uint64_t> pairs;
  SentenceRecord record;
  const size_t words = index.words().size();
  for (size_t id = 0; id < index.sentenceCount(); ++id) {
    if (!ReadSentenceRecord(index, static_cast<int64_t>(id), record)) continue;
    const size_t tokens = std::min(record.chinese.size(), record.pinyin.size());
    for (size_t t = 0; t < tokens; ++t) {
      if (record.chinese[t] < words && record.pinyin[t] < words) {
        pairs.insert(uint64_t{record.chinese[t]} << 32 | record.pinyin[t]);
      }
    }
  }
  std::vector<uint64_t> sorted(pairs.begin(), pairs.end());
  std::sort(sorted.begin(), sorted.end());  // by Chinese word ID, so each word's first rank is its least
  ReadingIndex readings;
  for (const uint64_t pair : sorted) {
    const uint32_t chineseId = static_cast<uint32_t>(pair >> 32);
    const std::u16string_view chinese = index.words()[chineseId];
    const std::u16string_view reading = index.words()[static_cast<uint32_t>(pair)];
    if (chinese.size() < 2 || chinese[0] != u'0' || reading.size() < 2 || reading[0] != u'1') continue;
    readings.Add(chinese.substr(1), reading.substr(1), chineseId);
  }
  return readings;
}

}  // namespace tamrel
