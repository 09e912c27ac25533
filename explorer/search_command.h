// The Search command as one core operation, shared by the main window and tamrel-cli: typed
// text -> language decision -> segmentation of Chinese -> bilingual and monolingual search as the
// settings ask -> the result page, when anything was found.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "explorer/result_page.h"
#include "learning/sys_settings.h"
#include "search/search_core.h"

namespace tamrel {

// What became of the result page of a search.
enum class PageResult {
  kNotAsked,  // nothing was found, or no page was asked for
  kWritten,
  kFailed,  // the page file could not be written
};

struct SearchCommandResult {
  std::u16string query;  // as searched (segmented, normalised): the history entry
  Language language = Language::kEnglish;
  std::vector<ResultSentence> bilingual;
  std::vector<ResultSentence> monolingual;
  PageResult page = PageResult::kNotAsked;
  bool found() const { return !bilingual.empty() || !monolingual.empty(); }
};

// Runs the search of `text` (non-empty). Writes the page to `pagePath` only when something was
// found and `pagePath` is not empty, looking as `pageOptions` asks.
SearchCommandResult RunSearchCommand(std::u16string_view text, const CorpusIndex& bilingual,
                                     const CorpusIndex& monolingual, const SysSettings& settings,
                                     const std::filesystem::path& pagePath, const PageOptions& pageOptions = {});

}  // namespace tamrel
