// The word lookup of the number box: the typed text decides whether the word list keeps its
// lines, is emptied, or shows up to 20 numbered words of the bilingual corpus from a position on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "dictionary/dictionary.h"

namespace tamrel {

inline constexpr int32_t kLookupLines = 20;

struct NumberBoxEntry {
  enum class Kind {
    kKeepList,  // empty text: the list keeps its lines
    kNoLines,   // any character other than 0-9: the list is emptied and stays empty
    kPosition,  // digits only: list the words from `position` on
  };
  Kind kind = Kind::kKeepList;
  int32_t position = 0;  // for kPosition; a value beyond 2147483647 is 2147483647
};

NumberBoxEntry ParseNumberBox(std::u16string_view text);

// The new words of the word list for the number box `text`, from the English or the Chinese word
// list; nullopt when the list keeps its lines.
std::optional<std::vector<NumberedWord>> LookUpWords(const CorpusIndex& bilingual, std::u16string_view text,
                                                     Language language);

// What the word list shows beside `word` when it shows senses: a Chinese word's first sense, or
// the Chinese word that best translates an English one; empty when the dictionary has none.
std::u16string WordListSense(const Dictionary& dictionary, std::u16string_view word, Language language);

}  // namespace tamrel
