// Typed pinyin as a Chinese query: the syllables are cut into the words whose readings the
// corpora give them (the fewest words that cover every syllable, the longer first), each span
// standing for every word read so. A text with tones matches those tones, an untoned syllable
// then being neutral; a text without any tone matches every tone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "corpus/reading_index.h"

namespace tamrel {

// At most this many words, the most frequent, stand for one span (toneless "shi" reads as dozens).
inline constexpr size_t kMaxWordsPerSpan = 10;

struct PinyinWords {
  std::u16string query;  // every word found once, each followed by one space: a Chinese query
  std::u16string shown;  // the text and its words, "nǐhǎo: 你好"; homophones joined by "/"
  // The words of each span in text order, the most frequent first: "shi4" gives one span of
  // 是 事 试 市 室, "nihao" one span of 你好.
  std::vector<std::vector<std::u16string>> spans;
};

// The words `text` names by the readings of `readings` (searched in order), or nothing when the
// text is not pinyin or some syllable is no part of any word's reading.
std::optional<PinyinWords> FindPinyinWords(std::u16string_view text, const std::vector<const ReadingIndex*>& readings);

}  // namespace tamrel
