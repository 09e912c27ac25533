// How a build puts the four index files of a corpus in place so that a crash or power cut at any
// instant leaves the previous index or the new one whole, and how loaders make sure that the
// files they read all come from one build.
//
// Files beside the index files in data/ (tag appended, as for every corpus file):
//   index.lock   the build lock: held (flock) by a build or prepare of the corpus for its whole
//                run, and by whoever finishes or undoes a commit that a killed process left half
//                done. Empty.
//   commit.dat   the commit record: present only while the staged files (index*.dat + tag +
//                ".new", all complete and synced) are being renamed into place. 8 bytes, the
//                stamp the new index gets.
//   stamp.dat    the build stamp: 8 bytes, little-endian, a random nonzero value written with
//                every commit. Missing for an index made by an older version; that counts as
//                stamp 0.
//
// The commit: record written (under a staged name, synced, renamed, folder synced); each staged
// file renamed over its final name; folder synced; new stamp written the same way; record
// removed; folder synced. Recovery, under the build lock: a record present means the staged set
// was complete, so the remaining staged files are renamed into place and the stamp written (roll
// forward); no record means the commit never started, so staged files are removed, and backup
// files (*.old, left by the commit of older versions) are renamed back (roll back).
//
// An import replaces a corpus's two source files (BDict/sents.final and BDict/word.dict + tag)
// with its index: their staged files (+ ".new") are renamed in the same commit, after the record
// and before the index files, and recovery treats them as it treats the staged index files. It
// makes those files in a scratch runtime folder, data/import.tmp + tag, under the build lock for
// its whole run: a scratch folder found by whoever holds the lock was left by a killed import, and
// recovery removes it with all it holds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "corpus/corpus_files.h"
#include "files/status.h"

namespace tamrel {

std::filesystem::path BuildLockFileName(const std::filesystem::path& root, std::u16string_view tag);
std::filesystem::path CommitRecordFileName(const std::filesystem::path& root, std::u16string_view tag);
std::filesystem::path BuildStampFileName(const std::filesystem::path& root, std::u16string_view tag);
// The scratch runtime folder of an import of corpus `tag`: root/data/import.tmp<tag>.
std::filesystem::path ImportScratchFolder(const std::filesystem::path& root, std::u16string_view tag);

// The four index files in the order the commit renames them.
inline constexpr CorpusFile kIndexFiles[] = {CorpusFile::kPostings, CorpusFile::kWordTable,
                                             CorpusFile::kSentenceRecords, CorpusFile::kSentenceTable};

// The two source files that an import commits together with the index files, in that order.
inline constexpr CorpusFile kSourceFiles[] = {CorpusFile::kSentences, CorpusFile::kDictionary};

// The points of a commit after which a test may stop it, as a crash would.
enum class CommitStep {
  kStaged,         // the four staged files are complete and synced; no record yet
  kRecordWritten,  // the record is in place: from here on the commit is finished, not undone
  kFilePlaced,     // one staged file was renamed into place (seen four times, six with the sources)
  kStampWritten,   // every file is in place and the new stamp written
  kRecordRemoved,  // the commit is over
};
using CommitStepHook = std::function<void(CommitStep)>;

// Renames the four staged index files of corpus `tag` into place as described above; the caller
// holds the build lock. A failure before the record leaves the previous index in place (the
// staged files are the caller's to remove). After it the new files have taken effect: a failure
// then is followed by one recovery (RecoverIndexFiles) at once, and when that fails too the
// status is kUnfinished, naming the first failure, and the record stays, so that the next
// recovery finishes the commit.
Status CommitIndexFiles(const std::filesystem::path& root, std::u16string_view tag,
                        const CommitStepHook& afterStep = {});

// As CommitIndexFiles, with the staged source files of the corpus (both complete and synced)
// renamed into place after the record and before the index files, so that a crash leaves the
// previous sentence file, dictionary and index, or the new ones, never a mix. The caller holds
// the build lock, ran RecoverIndexFiles since taking it, and staged all six files.
Status CommitCorpusFiles(const std::filesystem::path& root, std::u16string_view tag,
                         const CommitStepHook& afterStep = {});

// Finishes or undoes a commit that a killed process left half done and removes every staged or
// backup file of the corpus (staged source files included) and the scratch folder of an import;
// the caller holds the build lock.
Status RecoverIndexFiles(const std::filesystem::path& root, std::u16string_view tag);

// RecoverIndexFiles under the build lock, when anything of the corpus was left behind and no
// process holds the lock: a build or import that runs keeps what it uses, and finishes or removes
// it by itself. Ok when nothing was there or the lock is held.
Status RecoverLeftovers(const std::filesystem::path& root, std::u16string_view tag);

// The stamp of the index in place; 0 when there is none.
uint64_t ReadBuildStamp(const std::filesystem::path& root, std::u16string_view tag);

// Runs `read` (which opens and reads index files of corpus `tag`) until everything it read came
// from one build: no commit was under way and the stamp was the same before and after it. Before
// each try, a commit left half done is recovered when no build holds the lock. Returns what the
// last `read` returned, or a kIoError naming the commit record when the index kept changing
// (`settled`, when given, tells which). Every load of a corpus goes through here, so that a load
// clears what a killed build or import left (RecoverLeftovers).
Status ReadFromOneBuild(const std::filesystem::path& root, std::u16string_view tag, const std::function<Status()>& read,
                        bool* settled = nullptr);

}  // namespace tamrel
