// The file formats an import reads, and their detection from a file's first lines: sentence
// pairs separated by tabs (either column order; Tatoeba's English-Chinese download and its
// "sentence pairs"), Tatoeba's sentences.csv and links.csv, and plain text with one sentence a line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace tamrel {

enum class ImportFormat {
  kPairs,          // text TAB text [TAB anything]: one text column Chinese, the other English
  kSentencePairs,  // id TAB text TAB id TAB text [TAB anything] (Tatoeba's sentence pairs)
  kSentences,      // id TAB language TAB text (Tatoeba's sentences.csv; cmn and eng are used)
  kLinks,          // id TAB id (Tatoeba's links.csv: which sentences translate each other)
  kPlainText,      // one sentence a line, Chinese or English by its script
};

struct DetectedFormat {
  ImportFormat format = ImportFormat::kPlainText;
  // The tab-separated fields that hold the Chinese and the English text (pair formats).
  size_t chineseField = 0;
  size_t englishField = 1;
};

// Lines looked at to detect a format.
inline constexpr int kDetectionLines = 200;

// Detects the format of `file` from its first kDetectionLines lines that are not blank. Fails
// with kNotFound when the file cannot be opened or is a folder, and with kInvalidInput naming the
// file (and a line when one is to blame) when it is empty, binary, UTF-16 without a little-endian
// byte-order mark, or fits no format.
Status DetectImportFormat(const std::filesystem::path& file, DetectedFormat& detected);

// Lines longer than this many bytes refuse the whole file: they are not sentences, and a reader
// would have to hold each of them whole (a file of one huge line could exhaust the memory).
inline constexpr int64_t kMaxLineBytes = 1 << 20;

// Reads `file` through and fails with kInvalidInput naming the first line over kMaxLineBytes
// (line ends found as the reader finds them: LF bytes, or LF units after a UTF-16 mark).
Status CheckLineLengths(const std::filesystem::path& file);

// The tab-separated fields of `line`, as views into it.
std::vector<std::u16string_view> SplitFields(std::u16string_view line);

// True for a non-empty run of ASCII digits (a Tatoeba sentence ID).
bool IsSentenceId(std::u16string_view field);

// A human name of `format` for reports: "sentence pairs", "plain text", ...
const char* FormatName(ImportFormat format);

}  // namespace tamrel
