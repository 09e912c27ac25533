// Typed pinyin to the dictionary's words read so, in any notation the learner types (nǐhǎo,
// ni3hao3, ni hao, nihao; text/pinyin_syllables.h reads it). Built once from a DictionaryFile,
// whose entries it files under the toneless letters of their readings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace tamrel {

// How many sentences of the loaded corpora hold a word: the caller's answer, so that the
// dictionary needs no corpus. May be empty (no counts).
using SentenceCount = std::function<uint32_t(std::u16string_view word)>;

class PinyinLookup {
 public:
  // Files every entry of `file` whose headword holds a Han character and whose reading is pinyin.
  explicit PinyinLookup(const DictionaryFile& file);

  // The indexes of the entries read as `text`, the commonest first: the common reading of a word
  // before proper nouns and other forms (DictionaryFile::IsSecondary), then by `count` (the most
  // sentences first), then by frequency rank. A text with
  // tones matches those tones (an untoned syllable being neutral); one without any matches every
  // tone, and a single untoned syllable also the words whose reading has the same letters cut
  // otherwise ("xian" finds 西安 after 先). Empty when the text is not pinyin.
  std::vector<size_t> Find(std::u16string_view text, const SentenceCount& count) const;

 private:
  const DictionaryFile& file_;
  std::unordered_map<std::u16string, std::vector<uint32_t>> byLetters_;
};

}  // namespace tamrel
