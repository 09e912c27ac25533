#include "corpus/index_commit.h"

#include <chrono>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "corpus/key_table_file.h"
#include "files/byte_coding.h"
#include "files/durable_files.h"
#include "files/staged_file.h"
#include "files/text_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

std::filesystem::path DataFileName(const std::filesystem::path& root, const char* name, std::u16string_view tag) {
  return root / (std::string("data/") + name + Utf16ToUtf8(tag));
}

std::filesystem::path BackupFileName(const std::filesystem::path& root, CorpusFile file, std::u16string_view tag) {
  std::filesystem::path p = CorpusFileName(root, file, tag);
  p += ".old";
  return p;
}

// The first 8 bytes of `path` as a little-endian value; 0 when the file is missing or shorter.
uint64_t ReadValue(const std::filesystem::path& path) {
  TextFile file;
  char bytes[8];
  if (!file.Open(path, TextFile::Mode::kRead) || file.Read(bytes, 8) != 8) return 0;
  return GetFixed64(bytes);
}

Status WriteValue(const std::filesystem::path& path, uint64_t value) {
  std::string bytes;
  PutFixed64(bytes, value);
  return WriteFileStaged(path, bytes);
}

// A fresh stamp: random, nonzero and unlike the one in place.
uint64_t NewStamp(uint64_t current) {
  static thread_local std::mt19937_64 random(
      std::random_device{}() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  uint64_t stamp = 0;
  while (stamp == 0 || stamp == current) stamp = random();
  return stamp;
}

bool Exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// True when a commit record, a staged or backup file of the corpus, or the scratch folder of an
// import is there: something a build or import running now may be using, or something that a
// killed one left behind.
bool HasLeftovers(const std::filesystem::path& root, std::u16string_view tag) {
  if (Exists(CommitRecordFileName(root, tag)) || Exists(ImportScratchFolder(root, tag))) return true;
  if (Exists(StagedFileName(KeyTableFileName(root, tag)))) return true;
  for (CorpusFile f : kIndexFiles) {
    if (Exists(StagedFileName(CorpusFileName(root, f, tag))) || Exists(BackupFileName(root, f, tag))) return true;
  }
  for (CorpusFile f : kSourceFiles) {
    if (Exists(StagedFileName(CorpusFileName(root, f, tag)))) return true;
  }
  return false;
}

// The files a commit renames, in its order: the sources first when it has them.
std::vector<CorpusFile> CommittedFiles(bool withSources) {
  std::vector<CorpusFile> files;
  if (withSources) files.assign(std::begin(kSourceFiles), std::end(kSourceFiles));
  files.insert(files.end(), std::begin(kIndexFiles), std::end(kIndexFiles));
  return files;
}

// The folder of the source files of a corpus: BDict/.
std::filesystem::path SourceFolder(const std::filesystem::path& root, std::u16string_view tag) {
  return CorpusFileName(root, CorpusFile::kSentences, tag).parent_path();
}

// The commit from its record on: the staged files renamed into place, the stamp written, the
// record removed.
Status FinishCommit(const std::filesystem::path& root, std::u16string_view tag, const std::vector<CorpusFile>& files,
                    uint64_t stamp, const std::function<void(CommitStep)>& step) {
  const auto record = CommitRecordFileName(root, tag);
  for (CorpusFile f : files) {
    const auto target = CorpusFileName(root, f, tag);
    if (Status status = RenameFile(StagedFileName(target), target); !status.ok()) return status;
    step(CommitStep::kFilePlaced);
  }
  if (files.size() > std::size(kIndexFiles)) {
    if (Status status = SyncFolder(SourceFolder(root, tag)); !status.ok()) return status;
  }
  const auto data = record.parent_path();
  if (Status status = SyncFolder(data); !status.ok()) return status;
  if (Status status = WriteValue(BuildStampFileName(root, tag), stamp); !status.ok()) return status;
  step(CommitStep::kStampWritten);
  if (Status status = RemoveFile(record); !status.ok()) return status;
  if (Status status = SyncFolder(data); !status.ok()) return status;
  step(CommitStep::kRecordRemoved);
  return Status::Ok();
}

Status Commit(const std::filesystem::path& root, std::u16string_view tag, bool withSources,
              const CommitStepHook& afterStep) {
  const std::function<void(CommitStep)> step = [&](CommitStep s) {
    if (afterStep) afterStep(s);
  };
  step(CommitStep::kStaged);
  const std::vector<CorpusFile> files = CommittedFiles(withSources);
  // A folder in the way of a final name would make its rename fail after the record: refuse it
  // while the previous index can still stay as it is.
  for (CorpusFile f : files) {
    const auto target = CorpusFileName(root, f, tag);
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) return Status::IoError(target, "is a folder, not a file");
    // A staged file missing now would leave the commit half done once the record is written.
    if (!Exists(StagedFileName(target))) return Status::NotFound(StagedFileName(target), "is missing");
  }
  const auto record = CommitRecordFileName(root, tag);
  const uint64_t stamp = NewStamp(ReadBuildStamp(root, tag));
  Status status = WriteValue(record, stamp);
  // A record in place, even one whose folder could not be synced, makes the commit one that is
  // finished, not undone.
  if (!status.ok() && !Exists(record)) return status;
  if (status.ok()) {
    step(CommitStep::kRecordWritten);
    status = FinishCommit(root, tag, files, stamp, step);
  }
  if (status.ok()) return status;
  // The new files have taken effect (loads finish the commit from the record): a second try, as
  // the next recovery would make it, spares the caller a commit left to finish.
  if (RecoverIndexFiles(root, tag).ok()) return Status::Ok();
  return Status::Unfinished(status.file(), status.reason());
}

}  // namespace

std::filesystem::path BuildLockFileName(const std::filesystem::path& root, std::u16string_view tag) {
  return DataFileName(root, "index.lock", tag);
}

std::filesystem::path CommitRecordFileName(const std::filesystem::path& root, std::u16string_view tag) {
  return DataFileName(root, "commit.dat", tag);
}

std::filesystem::path BuildStampFileName(const std::filesystem::path& root, std::u16string_view tag) {
  return DataFileName(root, "stamp.dat", tag);
}

std::filesystem::path ImportScratchFolder(const std::filesystem::path& root, std::u16string_view tag) {
  return DataFileName(root, "import.tmp", tag);
}

uint64_t ReadBuildStamp(const std::filesystem::path& root, std::u16string_view tag) {
  return ReadValue(BuildStampFileName(root, tag));
}

Status CommitIndexFiles(const std::filesystem::path& root, std::u16string_view tag, const CommitStepHook& afterStep) {
  return Commit(root, tag, /*withSources=*/false, afterStep);
}

Status CommitCorpusFiles(const std::filesystem::path& root, std::u16string_view tag, const CommitStepHook& afterStep) {
  return Commit(root, tag, /*withSources=*/true, afterStep);
}

namespace {

// RecoverIndexFiles without the scratch folder: the commit and the files it renames.
Status RecoverCommit(const std::filesystem::path& root, std::u16string_view tag) {
  const auto record = CommitRecordFileName(root, tag);
  // Staged names of the record, the stamp and the key table file: a write of one of them stopped
  // before its rename.
  for (const auto& small : {record, BuildStampFileName(root, tag), KeyTableFileName(root, tag)}) {
    if (Status status = RemoveFile(StagedFileName(small)); !status.ok()) return status;
  }
  if (!HasLeftovers(root, tag)) return Status::Ok();
  const bool rollForward = Exists(record);
  if (rollForward) {
    // Every staged file was complete when the record was written; those still staged go in. A
    // staged source file is there only when the commit had them: every commit starts after a
    // recovery that removed any other, under the lock that a prepare holds too.
    bool sourcesPlaced = false;
    for (CorpusFile f : CommittedFiles(/*withSources=*/true)) {
      const auto target = CorpusFileName(root, f, tag);
      if (!Exists(StagedFileName(target))) continue;
      if (Status status = RenameFile(StagedFileName(target), target); !status.ok()) return status;
      sourcesPlaced = sourcesPlaced || f == CorpusFile::kSentences || f == CorpusFile::kDictionary;
    }
    if (sourcesPlaced) {
      if (Status status = SyncFolder(SourceFolder(root, tag)); !status.ok()) return status;
    }
    if (Status status = SyncFolder(record.parent_path()); !status.ok()) return status;
    uint64_t stamp = ReadValue(record);
    if (stamp == 0) stamp = NewStamp(ReadBuildStamp(root, tag));
    if (Status status = WriteValue(BuildStampFileName(root, tag), stamp); !status.ok()) return status;
    if (Status status = RemoveFile(record); !status.ok()) return status;
  }
  // What is still staged now was never part of a commit. Backups are what the commit of an older
  // version moved aside before it stopped: without a record they go back, so that the index is
  // the previous one whole; after a roll forward they are out of date.
  bool restored = false;
  for (CorpusFile f : kIndexFiles) {
    const auto target = CorpusFileName(root, f, tag);
    const auto backup = BackupFileName(root, f, tag);
    if (Exists(backup)) {
      Status status = rollForward ? RemoveFile(backup) : RenameFile(backup, target);
      if (!status.ok()) return status;
      restored = !rollForward;
    }
    if (Status status = RemoveFile(StagedFileName(target)); !status.ok()) return status;
  }
  for (CorpusFile f : kSourceFiles) {
    if (Status status = RemoveFile(StagedFileName(CorpusFileName(root, f, tag))); !status.ok()) return status;
  }
  if (Status status = SyncFolder(record.parent_path()); !status.ok()) return status;
  // Files put back change the index in place: a new stamp tells loaders reading meanwhile.
  if (restored) return WriteValue(BuildStampFileName(root, tag), NewStamp(ReadBuildStamp(root, tag)));
  return Status::Ok();
}

}  // namespace

Status RecoverIndexFiles(const std::filesystem::path& root, std::u16string_view tag) {
  if (Status status = RecoverCommit(root, tag); !status.ok()) return status;
  // The caller holds the lock that an import holds for its whole run: no import uses it now.
  const auto scratch = ImportScratchFolder(root, tag);
  return RemoveFolder(scratch);
}

Status RecoverLeftovers(const std::filesystem::path& root, std::u16string_view tag) {
  if (!HasLeftovers(root, tag)) return Status::Ok();
  FileLock lock;
  if (!lock.TryAcquire(BuildLockFileName(root, tag))) return Status::Ok();
  return RecoverIndexFiles(root, tag);
}

Status ReadFromOneBuild(const std::filesystem::path& root, std::u16string_view tag, const std::function<Status()>& read,
                        bool* settled) {
  constexpr int kTries = 40;
  if (settled != nullptr) *settled = false;
  const auto record = CommitRecordFileName(root, tag);
  auto pause = std::chrono::milliseconds(1);
  for (int attempt = 0; attempt < kTries; ++attempt) {
    if (attempt > 0) {
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    // A failure leaves the record, which the loop below waits on, or files a load does not read.
    (void)RecoverLeftovers(root, tag);
    if (Exists(record)) continue;
    const uint64_t stamp = ReadBuildStamp(root, tag);
    Status status = read();
    if (!Exists(record) && ReadBuildStamp(root, tag) == stamp) {
      if (settled != nullptr) *settled = true;
      return status;
    }
  }
  return Status::IoError(record, "the index of " + Utf16ToUtf8(tag) +
                                     " kept changing while it was read: a build did not finish its commit");
}

}  // namespace tamrel
