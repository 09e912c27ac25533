// The result page: a query and the two result lists rendered as one HTML document (title line,
// links to the sections, "Bilingual Examples" and "Monolingual Examples" lists, matched words in
// red), written as UTF-8 with a byte-order mark to data/displayResult.html.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "learning/sys_settings.h"
#include "search/search_core.h"

namespace tamrel {

inline const std::filesystem::path kResultPageFile = "data/displayResult.html";

// `text` with & < > " replaced by their entities, so that it shows as text in the page.
std::u16string HtmlEscape(std::u16string_view text);

// The page for `query` (as searched) in `language` (LANG_EN or LANG_CN). Settings: FLAGPRON adds
// pinyin lines, FLAGBI and FLAGMONO choose the sections.
std::u16string RenderResultPage(std::u16string_view query, std::u16string_view language,
                                const std::vector<ResultSentence>& bilingual,
                                const std::vector<ResultSentence>& monolingual, const SysSettings& settings);

// Renders the page and writes it to `path` in one write. 0 on success, -1 when the file cannot be
// created or written.
int WriteResultPage(std::u16string_view query, std::u16string_view language,
                    const std::vector<ResultSentence>& bilingual, const std::vector<ResultSentence>& monolingual,
                    const std::filesystem::path& path, const SysSettings& settings);

}  // namespace tamrel
