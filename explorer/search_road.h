// The other readings of a typed text: the text without the spaces around it, as pinyin, in
// simplified characters, and with its English words in their base forms. Some come before the
// search as typed (TakePlainerReading), all are tried in order when it finds nothing
// (TakeSearchRoad); the first that finds sentences is shown.
#pragma once

#include <string_view>

#include "corpus/corpus_index.h"
#include "explorer/search_command.h"
#include "settings/sys_settings.h"

namespace tamrel {

// The query of `text` read in `language`: Chinese text cut into the words of every corpus the
// settings search (the monolingual one's when they search none), so that a word only one of
// them holds stays whole; other text as it is.
std::u16string QueryOfText(std::u16string_view text, Language language, const CorpusIndex& bilingual,
                           const CorpusIndex& monolingual, const SysSettings& settings);

// The readings that come before the text as typed, because the language decision plainly
// misreads such text: spaces around an English text (it would be decided Chinese), pinyin with
// tone marks or digits, and traditional characters (a simplified corpus never holds them). Fills
// `result` with the first that finds sentences (its query, language, results, route, searched and
// notice) and returns true; returns false and leaves `result` alone when none does.
bool TakePlainerReading(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                        const SysSettings& settings, SearchCommandResult& result);

// Fills `result`, which holds the search of `text` as typed that found nothing: with the first
// reading that finds sentences (its query, language, results, route, searched and notice), or
// else with route kNothingFound, the rest left as it was. Writes no page.
void TakeSearchRoad(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                    const SysSettings& settings, SearchCommandResult& result);

// For `result`, which found monolingual sentences but no bilingual ones although the bilingual
// corpus is searched: the other readings of `text` tried on the bilingual corpus alone, the
// first that finds bilingual sentences giving them (with bilingualQuery and a notice); the
// monolingual sentences stay as found.
void TakeBilingualReading(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                          const SysSettings& settings, SearchCommandResult& result);

// Fills result.offer for a search that found sentences: the Chinese words of an English text that
// is also pinyin (one word's reading: "shi", "ma", "women"), or each word of a pinyin text whose
// one word position reads as several words (shi4: 是 事 试 市 室), with their sentence counts in
// the searched corpora.
void OfferOtherReadings(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                        const SysSettings& settings, SearchCommandResult& result);

}  // namespace tamrel
