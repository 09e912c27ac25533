// The result page: a query and the two result lists rendered as one HTML document (title line,
// links to the sections, "Bilingual Examples" and "Monolingual Examples" lists, matched words in
// red), written as UTF-8 with a byte-order mark to data/displayResult.html. A monolingual group
// without the line the query's language shows (an English-only sentence found by a Chinese query,
// or the reverse) shows the line it has. Tone colours, an option of data/options.json, colour each
// pinyin syllable and its character by tone; matched words are then red-underlined and bold, so that
// the red of the first tone does not hide them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "corpus/status.h"
#include "learning/sys_settings.h"
#include "search/search_core.h"

namespace tamrel {

// The result page of the runtime folder `root`.
std::filesystem::path ResultPageFileName(const std::filesystem::path& root);

// `text` with & < > " replaced by their entities, so that it shows as text in the page.
std::u16string HtmlEscape(std::u16string_view text);

// How the page looks beyond the settings of data/config.data.
struct PageOptions {
  bool toneColours = false;
};

// The page for `query` (as searched) in `language`. Settings: showPinyin adds pinyin lines,
// searchBilingual and searchMonolingual choose the sections. A non-empty `notice` (plain text)
// becomes the first line of the body; without one the page is the plain result page.
std::u16string RenderResultPage(std::u16string_view query, Language language,
                                const std::vector<ResultSentence>& bilingual,
                                const std::vector<ResultSentence>& monolingual, const SysSettings& settings,
                                const PageOptions& options = {}, std::u16string_view notice = {});

// Renders the page and writes it to `path` in one write; fails when the file cannot be created or
// written.
Status WriteResultPage(std::u16string_view query, Language language, const std::vector<ResultSentence>& bilingual,
                       const std::vector<ResultSentence>& monolingual, const std::filesystem::path& path,
                       const SysSettings& settings, const PageOptions& options = {}, std::u16string_view notice = {});

// Writes `page` to `path` as UTF-8 with a byte-order mark, in one write.
Status WritePage(std::u16string_view page, const std::filesystem::path& path);

}  // namespace tamrel
