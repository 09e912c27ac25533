// The index build: a corpus's dictionary and sentence file (BDict/) become its four index files
// (data/). Each file is first written under a staging name beside its final one; BuildCorpus
// renames the four into place only when all are complete, so a failed build leaves the previous
// index whole, and commits them so that a crash at any instant does too (corpus/index_commit.h).
// Once they are in place it writes the key table file (corpus/key_table_file.h), which loads use
// only when it matches the word table in place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/index_commit.h"
#include "files/status.h"

namespace tamrel {

// Where a long build stands, for a progress display.
struct BuildProgress {
  std::u16string_view tag;
  CorpusFile source;  // kDictionary or kSentences
  int64_t lines = 0;  // lines read so far from that file
  int64_t bytesRead = 0;
  int64_t bytesTotal = 0;
};

struct BuildReport {
  std::function<void(const BuildProgress&)> onProgress;  // optional; called now and then
  int64_t dictionaryLines = 0;
  int64_t longKeys = 0;               // keys over 50 units, skipped as the format requires
  int64_t skippedLines = 0;           // lines that break the dictionary layout, skipped
  std::vector<int64_t> firstSkipped;  // their 1-based line numbers, the first few
  int64_t sentenceGroups = 0;
  CommitStepHook onCommitStep;  // optional; called after each step of the commit, where tests stop it
  Status keyTableFile;          // writing the key table file: a failure only makes loads slower
                                // (until the next build), and leaves no key table file
  // Optional. When set, a build that succeeds moves the index it made here and writes no key
  // table file: the caller moves the index files elsewhere first (an import) and writes the file
  // there from this index's keys, without loading them again.
  CorpusIndex* builtIndex = nullptr;
};

// Dictionary -> staged posting file and word table of the corpus of `index` (its root and tag);
// fills the index's word table, and `postingCounts` (optional) with the number of postings of
// each word ID. A failure names the file that could not be opened or written. The staged files
// take effect only through BuildCorpus, which runs both steps and commits them.
Status BuildWordIndex(CorpusIndex& index, BuildReport* report = nullptr,
                      std::vector<uint32_t>* postingCounts = nullptr);

// Sentence file -> staged sentence record file and sentence table; needs the word table of
// BuildWordIndex on the same object. With the posting counts BuildWordIndex gave, the most
// frequent words are looked up in a small table first, which only makes the build faster. Fails
// as above.
Status BuildSentenceIndex(CorpusIndex& index, BuildReport* report = nullptr,
                          const std::vector<uint32_t>* postingCounts = nullptr);

// Builds both indexes of corpus `tag` in the runtime folder `root` and moves the four files into
// place. Holds the build lock of the corpus throughout, waiting for a build of it that another
// process or thread runs, and first finishes or undoes a commit that a killed build left. On
// failure the staged files are removed and the previous index files stay as they were, except
// with kUnfinished: the new index has taken effect and the next load finishes its commit.
Status BuildCorpus(const std::filesystem::path& root, std::u16string_view tag, BuildReport* report = nullptr);

// The Build command: "BI", then "MO", stopping at the first failure; a build that took effect but
// could not finish (kUnfinished) does not stop the next one, and is returned when nothing failed.
// `onCorpusDone` (optional) sees each corpus's report, made with `onProgress` (optional), and its
// status when its build ends.
using CorpusBuildDone = std::function<void(std::u16string_view tag, const BuildReport& report, const Status& status)>;
Status BuildAllCorpora(const std::filesystem::path& root,
                       const std::function<void(const BuildProgress&)>& onProgress = {},
                       const CorpusBuildDone& onCorpusDone = {});

}  // namespace tamrel
