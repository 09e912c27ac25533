// The translations of a word over the sentence pairs that hold it: the words its occurrences are
// aligned with, counted, the most frequent first (打算 -> plan 12, intend 5, be going to 2 ...).
// English translations are counted by their base form (plans, planned -> plan; the first that the
// aligner's co-occurrence table knows, base forms being guesses; the word as written without one) when one word,
// as written in lower case when several (be going to); Chinese ones as the words written together.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "align/word_aligner.h"

namespace tamrel {

// A sentence pair as the corpus stores it: Chinese words separated by spaces, English as written.
struct SentencePair {
  std::string_view chinese;
  std::string_view english;
};

struct Translation {
  std::string text;
  uint32_t count = 0;
};

// The `limit` most frequent translations of `word` over `pairs`, ties in order of first
// appearance. A Chinese `word` (one holding a byte above ASCII) is found as a word of the Chinese
// side; an English one as a token of the English side, in any case or inflection (plan finds
// plans). Pairs without the word count for nothing.
std::vector<Translation> SummariseTranslations(WordAligner& aligner, std::string_view word,
                                               const std::vector<SentencePair>& pairs, size_t limit = 5);

}  // namespace tamrel
