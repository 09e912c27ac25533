// The translations of a searched word for the word panel: its five most frequent aligned
// translations over the bilingual corpus with their counts (align/translation_summary.h), as links,
// and for a clicked one the sentences where the word is aligned with it, as a page of the panel.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "align/translation_summary.h"
#include "align/word_aligner.h"

namespace tamrel {

// The pairs of a bilingual sentence file's bytes (three lines a pair: Chinese words, pinyin,
// English) that may hold `word`: for a Chinese word those whose Chinese line holds its bytes,
// for an English one (inflected or capitalised in the text) all. Views into `bytes`.
std::vector<SentencePair> PairsThatMayHold(std::string_view bytes, std::string_view word);

// Of `pairs`, at most `limit` where `word` is aligned with `translation` as
// SummariseTranslations counts it.
std::vector<SentencePair> PairsTranslatedAs(WordAligner& aligner, std::string_view word, std::string_view translation,
                                            const std::vector<SentencePair>& pairs, size_t limit = 20);

// The panel's section of the translations of `word` (UTF-8): `intro` (plain text, in the
// window's language) then each translation a link "tamrel:aligned?word=...&as=..." with its
// count; empty when there are none.
std::u16string TranslationSummaryHtml(std::u16string_view intro, const std::vector<Translation>& translations,
                                      std::string_view word);

// The panel's page of the sentences where the word is translated as `translation`: `heading`
// (plain text) above them.
std::u16string TranslatedSentencesHtml(std::u16string_view heading, const std::vector<SentencePair>& pairs);

}  // namespace tamrel
