// The readings of a corpus's Chinese words, taken from the corpus itself: each sentence's pinyin
// line gives one reading per Chinese word, token by token, so typed pinyin finds the words of any
// corpus, imported or written by hand. Words are filed under the toneless letters of a reading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "corpus/corpus_index.h"
#include "text/pinyin_syllables.h"

namespace tamrel {

class ReadingIndex {
 public:
  struct Word {
    std::u16string chinese;
    std::vector<PinyinSyllable> syllables;  // of the reading, with the tones it was written with
    uint32_t rank = 0;                      // smaller for more frequent words (the word ID of its key)
  };

  // Files `chinese` under `reading` when the reading is pinyin and the word holds a Han
  // character; a word and reading given again (with or without apostrophes between syllables, in
  // any case, marks or digits) are kept once, with the rank given first.
  void Add(std::u16string_view chinese, std::u16string_view reading, uint32_t rank);

  // The words read as the toneless `letters`, most frequent first; null when there are none.
  const std::vector<Word>* Find(std::u16string_view letters) const;

  // The most syllables any reading has: no longer span of a query can match a word.
  size_t longestReading() const { return longestReading_; }
  size_t size() const { return added_.size(); }

 private:
  std::unordered_map<std::u16string, std::vector<Word>> byLetters_;
  std::unordered_set<std::u16string> added_;  // word, then tab, letters and tone of each syllable
  size_t longestReading_ = 0;
};

// The readings of every Chinese word of the loaded corpus `index`, from its sentence records: the
// i-th Chinese token of a sentence is read as its i-th pinyin token. Records that cannot be read
// are passed over.
ReadingIndex BuildReadingIndex(const CorpusIndex& index);

}  // namespace tamrel
