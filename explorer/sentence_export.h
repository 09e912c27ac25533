// The sentences of a result page as notes for a flashcard program: one row per sentence with its
// Chinese, pinyin and English and the query as a tag, written as the tab-separated text that Anki
// imports (UTF-8, header lines that name the separator, that the fields are plain text and which
// column holds the tags). The window's File > Export Results... and `tamrel-cli search --tsv`
// both use it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "search/search_core.h"

namespace tamrel {

struct ExportRow {
  std::u16string chinese;  // the words joined as Chinese is written
  std::u16string pinyin;   // a space between words, none between a word and its punctuation
  std::u16string english;
  std::u16string tag;  // the query, its spaces made underscores (Anki's tags are space-separated)
  bool operator==(const ExportRow&) const = default;
};

// The rows of the bilingual then the monolingual sentences, in page order: those of the sentences
// with both a Chinese and an English side (a monolingual sentence has one of them only, so in
// practice the bilingual ones), the Chinese and the pinyin joined as they are written.
std::vector<ExportRow> ExportRows(std::u16string_view query, const std::vector<ResultSentence>& bilingual,
                                  const std::vector<ResultSentence>& monolingual);

// The whole file: header lines, then one line per row of four tab-separated fields. A field holds
// no tab, line break or other control character; one with a double quote, or one that starts with
// "#", is quoted with its quotes doubled, as Anki reads it.
std::string FormatExportFile(const std::vector<ExportRow>& rows);

// Writes FormatExportFile(rows) to `path` through a staged file renamed into place, so a failure
// leaves no partial file and an earlier file at `path` whole. `path` is a new file, or a regular
// file the user may write (one without any write permission bit is refused as read-only), which
// keeps its permissions; a symbolic link is followed, and the file it names is written, the link
// left as it is. A folder or another kind of file (a FIFO, a device) is refused.
Status WriteExportFile(const std::filesystem::path& path, const std::vector<ExportRow>& rows);

}  // namespace tamrel
