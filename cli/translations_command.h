// tamrel-cli translations: how a word is translated over the bilingual corpus's sentences.
#pragma once

#include <string>

namespace tamrel::cli {

// Prints the most frequent translations of `word` (SummariseTranslations, align/translation_summary.h)
// over the pairs of `corpus` (a sents.final file; by default the runtime folder's
// BDict/sents.finalBI) that hold it, one "TRANSLATION<TAB>COUNT" a line, at most `limit`.
// 0 when some were found, 1 when none were, 2 when the dictionary or the corpus cannot be read.
int Translations(const std::string& word, const std::string& corpus, size_t limit);

}  // namespace tamrel::cli
