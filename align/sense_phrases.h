// What a Chinese word may be translated by, read from its CC-CEDICT senses: the English phrases
// of the senses (split at ';' and ','; notes in parentheses, "to" before a verb, articles and the
// placeholders sb/sth left out), each word with its base forms, so that a sentence's "plans" or
// "went" meets the sense's "plan" or "go".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace tamrel {

struct SensePhrase {
  // The phrase's words, each as the lower-case forms it may take (the word and its base forms).
  std::vector<std::vector<std::string>> words;
  // Lower for a better translation: the order of the sense in its entries, and more for an entry
  // that is a less common reading of its headword.
  float rank = 0;
};

// The phrases of the entries of `word` (UTF-8, a headword of `file`), leaving out its less common
// readings when it has a common one; none when it has no entry.
std::vector<SensePhrase> SensePhrases(const DictionaryFile& file, std::string_view word);

// True for English words too common to stand alone as a link taken out of a longer sense ("of",
// "the", "be", "make").
bool IsFunctionWord(std::string_view lower);

}  // namespace tamrel
