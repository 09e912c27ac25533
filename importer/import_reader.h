// ImportReader: reads the files of an import, whatever their formats, as a stream of sentences
// (a Chinese and an English text, either possibly empty). Lines that cannot be used are skipped
// and counted, the first few with their file and line number, so that a report can name them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/status.h"
#include "importer/import_format.h"

namespace tamrel {

// One sentence pair as read: both texts exactly as the file holds them, or one of them empty;
// where it was read (for the sentences of a links file: the line of the link).
struct RawSentence {
  std::u16string chinese;
  std::u16string english;
  size_t file = 0;  // index into the files given to ImportReader::Open
  int64_t line = 0;
};

// A line left out, and why.
struct SkippedLine {
  std::filesystem::path file;
  int64_t line = 0;
  std::string reason;
};

inline constexpr size_t kMaxReportedSkips = 5;
// Longer lines are left out: no example sentence is that long, and a file of one huge line
// (binary, or a page of markup) is not a corpus.
inline constexpr size_t kMaxLineCharacters = 4000;

struct ImportReadReport {
  int64_t linesRead = 0;
  int64_t skippedLines = 0;
  std::vector<SkippedLine> firstSkipped;  // the first kMaxReportedSkips
  void Skip(const std::filesystem::path& file, int64_t line, std::string reason);
};

class ImportReader {
 public:
  // Detects the format of every file (DetectImportFormat) and fails on the first that fits none.
  // Tatoeba's sentences.csv and links.csv come together: one without the other is refused.
  Status Open(const std::vector<std::filesystem::path>& files);

  // Reads the files, calling `onSentence` for every sentence in file order; the pairs joined from
  // sentences and links files come after those of the other files, in the order of the links.
  // `tick`, called every few thousand lines, returns false to stop the reading (the result is
  // then Ok with the reading incomplete, and `stopped()` true). Fails when a file cannot be read.
  Status Read(const std::function<void(const RawSentence&)>& onSentence, const std::function<bool()>& tick,
              ImportReadReport& report);

  const std::vector<std::filesystem::path>& files() const { return files_; }
  const std::vector<DetectedFormat>& formats() const { return formats_; }
  int64_t totalBytes() const { return totalBytes_; }
  // Bytes of the files read so far, for a progress display.
  int64_t bytesRead() const { return bytesDone_ + bytesInFile_; }
  bool stopped() const { return stopped_; }

 private:
  Status ReadFile(size_t index, const std::function<void(const RawSentence&)>& onSentence,
                  const std::function<bool()>& tick, ImportReadReport& report);
  Status ReadSentencesAndLinks(const std::function<void(const RawSentence&)>& onSentence,
                               const std::function<bool()>& tick, ImportReadReport& report);

  std::vector<std::filesystem::path> files_;
  std::vector<DetectedFormat> formats_;
  int64_t totalBytes_ = 0;
  int64_t bytesDone_ = 0;
  int64_t bytesInFile_ = 0;
  bool stopped_ = false;
};

}  // namespace tamrel
