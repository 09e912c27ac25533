// The other readings of a typed text, tried in order when the search as typed finds nothing: the
// text without the spaces around it, as pinyin, in simplified characters, and with its English
// words in their base forms. The first that finds sentences is shown.
#pragma once

#include <string_view>

#include "corpus/corpus_index.h"
#include "explorer/search_command.h"
#include "learning/sys_settings.h"

namespace tamrel {

// Fills `result`, which holds the search of `text` as typed that found nothing: with the first
// reading that finds sentences (its query, language, results, route, searched and notice), or
// else with route kNothingFound, the rest left as it was. Writes no page.
void TakeSearchRoad(std::u16string_view text, const CorpusIndex& bilingual, const CorpusIndex& monolingual,
                    const SysSettings& settings, SearchCommandResult& result);

}  // namespace tamrel
