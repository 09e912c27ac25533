// ImportCorpus: turns sentence files in the common formats (importer/import_format.h) into a
// corpus of the program — its sentence file, dictionary and index — replacing the corpus or
// adding to it, all at once or not at all.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "importer/chinese_text.h"
#include "importer/import_reader.h"

namespace tamrel {

// Where an import stands, for a progress display.
struct ImportProgress {
  enum class Stage { kReading, kPreparing, kBuilding, kCommitting, kDone };
  Stage stage = Stage::kReading;
  int64_t linesRead = 0;
  int64_t sentences = 0;  // groups written so far, kept ones included
  double sentencesPerSecond = 0;
  int percent = 0;  // of the whole import, 0 to 100
};

struct ImportReport {
  int64_t linesRead = 0;                  // lines of the files that are not blank
  int64_t groupsImported = 0;             // new groups written
  int64_t groupsKept = 0;                 // groups of the previous sentence file kept by an append
  int64_t duplicates = 0;                 // sentences left out because an identical group was there already
  int64_t skippedLines = 0;               // lines that could not be used
  std::vector<SkippedLine> firstSkipped;  // the first kMaxReportedSkips of them
  std::vector<ImportFormat> formats;      // the format found in each file
  bool cancelled = false;
  double seconds = 0;
  Status keyTableFile;  // writing the key table file: a failure only makes loads slower, and leaves none
};

// Imports `files` into corpus `tag` ("BI" or "MO") of the runtime folder `root`: reads them,
// makes every sentence a group (importer/sentence_group.h), leaves out groups identical to one
// already written, and writes BDict/sents.final<tag> (replacing it, or after its groups when
// `append`), then BDict/word.dict<tag> and the four index files of the corpus. The other corpus
// is not touched and need not exist.
//
// All or nothing: the new files are made in a scratch runtime folder (ImportScratchFolder in
// corpus/index_commit.h) and
// go into place in one commit with the index (CommitCorpusFiles), under the build lock of the
// corpus, held for the whole import. A failure, a cancel or a crash at any point leaves the
// previous sentence file, dictionary and index as they were; once the commit record is written
// the import has taken effect, and a failure then that a second try does not mend is kUnfinished
// (the new files answer once the next load has finished the commit; `report` is filled as for a
// success).
//
// Fails with kInvalidInput naming the file and line when a file fits no format (nothing is then
// read further), with kNotFound when one cannot be opened, and with kIoError naming the file that
// cannot be written. `cancel` (optional) is polled every few thousand lines and between the
// steps; once set, the import stops before its commit, `report->cancelled` is set and the status
// is kInvalidInput without a file. `onProgress` (optional) is called now and then from the
// calling thread.
Status ImportCorpus(const std::filesystem::path& root, std::u16string_view tag,
                    const std::vector<std::filesystem::path>& files, bool append, const ChineseText& tools,
                    ImportReport* report = nullptr, const std::function<void(const ImportProgress&)>& onProgress = {},
                    const std::atomic<bool>* cancel = nullptr);

}  // namespace tamrel
