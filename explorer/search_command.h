// The Search command as one core operation, shared by the main window and tamrel-cli: the typed
// text is read in the order of explorer/typed_readings.h (the text as typed being one reading),
// each reading is searched in the corpora the settings name, and the first that finds sentences
// is shown on the result page, which says which reading it was; or the not-found page says that
// none found anything.
#pragma once

#include <filesystem>
#include <string_view>

#include "explorer/result_page.h"
#include "explorer/search_result.h"
#include "explorer/typed_readings.h"
#include "settings/sys_settings.h"

namespace tamrel {

// Runs the search of `text` (non-empty) in `sources`. When `pagePath` is not empty, writes there
// the result page, looking as `pageOptions` asks, or when nothing was found (route kNothingFound)
// the page that says so beside it (NotFoundPageFileName in explorer/not_found_page.h), leaving
// the result page as it was. With an `offset`, the reading is found as for the first page and the
// sentences are the page that starts after `offset` of them in each corpus; a page past the last
// sentence finds nothing and writes no page.
SearchCommandResult RunSearchCommand(std::u16string_view text, const SearchSources& sources,
                                     const SysSettings& settings, const std::filesystem::path& pagePath,
                                     const PageOptions& pageOptions = {}, size_t offset = 0);

}  // namespace tamrel
