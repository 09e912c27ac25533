// The result page: a query and the two result lists rendered as one HTML document (title line,
// links to the sections, "Bilingual Examples" and "Monolingual Examples" lists, matched words in
// red), written as UTF-8 with a byte-order mark to data/displayResult.html. A monolingual group
// without the line the query's language shows (an English-only sentence found by a Chinese query,
// or the reverse) shows the line it has. Tone colours, an option of data/options.json, colour each
// pinyin syllable and its character by tone; matched words are then bold on a tinted background,
// so that the red of the first tone does not hide them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "files/status.h"
#include "search/search_core.h"
#include "settings/sys_settings.h"

namespace tamrel {

// The result page of the runtime folder `root`.
std::filesystem::path ResultPageFileName(const std::filesystem::path& root);

// `text` with & < > " replaced by their entities, so that it shows as text in the page.
std::u16string HtmlEscape(std::u16string_view text);

// A reading of the typed text that the page offers as a link: a click searches `text`.
struct OfferedReading {
  std::u16string text;
  size_t sentences = 0;  // how many sentences of the searched corpora hold it
  bool operator==(const OfferedReading&) const = default;
};

// The line of links to other readings: `intro` (plain text) then each reading with its count.
struct ReadingOffer {
  std::u16string intro;
  std::vector<OfferedReading> readings;
  bool empty() const { return readings.empty(); }
};

// What the page says above its title about how the typed text was read: the notice, the
// readings it offers, and the query that found the bilingual sentences when it is not the page's.
// Without any of them the page is the plain result page.
struct PageReading {
  PageReading() = default;
  PageReading(std::u16string_view text) : notice(text) {}  // NOLINT: a notice alone reads as one
  std::u16string notice;                                   // plain text
  ReadingOffer offer;
  std::u16string bilingualQuery;  // marks the bilingual sentences instead of the query
};

// The link of a page that searches `text` when clicked: "tamrel:search?text=" and the text as
// percent-encoded UTF-8. The window follows it; elsewhere it leads nowhere.
std::u16string SearchLink(std::u16string_view text);
// UTF-8 text percent-encoded for a link's query: every byte but letters, digits and -._~ as %XX.
std::u16string PercentEncoded(std::string_view utf8);

// How the page looks beyond the settings of data/config.data.
struct PageOptions {
  bool toneColours = false;
  // The learner's HSK level (1-6) the sentences were found at: each shows a badge of its hardest
  // word's level, those above the learner's in another colour. 0: no badges, the page as before.
  int level = 0;
};

// The page for `query` (as searched) in `language`. Settings: showPinyin adds pinyin lines,
// searchBilingual and searchMonolingual choose the sections. A non-empty notice becomes the first
// line of the body, an offer of other readings the line after it.
std::u16string RenderResultPage(std::u16string_view query, Language language,
                                const std::vector<ResultSentence>& bilingual,
                                const std::vector<ResultSentence>& monolingual, const SysSettings& settings,
                                const PageOptions& options = {}, const PageReading& reading = {});

// Renders the page and writes it to `path` in one write; fails when the file cannot be created or
// written.
Status WriteResultPage(std::u16string_view query, Language language, const std::vector<ResultSentence>& bilingual,
                       const std::vector<ResultSentence>& monolingual, const std::filesystem::path& path,
                       const SysSettings& settings, const PageOptions& options = {}, const PageReading& reading = {});

// Writes `page` to `path` as UTF-8 with a byte-order mark, in one write.
Status WritePage(std::u16string_view page, const std::filesystem::path& path);

}  // namespace tamrel
