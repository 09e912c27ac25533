// The other readings of a typed text: the text without the spaces around it, as pinyin, in
// simplified characters, and with its English words in their base forms. Some come before the
// search as typed (TakePlainerReading), all are tried in order when it finds nothing
// (TakeSearchRoad); the first that finds sentences is shown.
#pragma once

#include <string_view>

#include "corpus/corpus_index.h"
#include "explorer/search_command.h"
#include "learning/sys_settings.h"

namespace tamrel {

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

}  // namespace tamrel
