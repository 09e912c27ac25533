#include "importer/corpus_import.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "corpus/corpus_files.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/index_commit.h"
#include "corpus/key_table_file.h"
#include "files/durable_files.h"
#include "files/regular_file.h"
#include "files/staged_file.h"
#include "importer/sentence_file_writer.h"
#include "importer/sentence_group.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

using Clock = std::chrono::steady_clock;

// Shares of the whole import, in percent, at which each step begins.
constexpr int kPreparingAt = 70;
constexpr int kBuildingAt = 80;
constexpr int kCommittingAt = 99;

Status Cancelled() { return Status::InvalidInput({}, 0, "the import was cancelled; the corpus was not changed"); }

// The scratch runtime folder: made with BDict/ and data/ on Create, removed with all it holds
// when the object goes. Only the holder of the corpus's build lock uses it; a folder that a killed
// import left there went with the recovery that follows taking the lock.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::filesystem::path path) : path_(std::move(path)) {}
  ~ScratchFolder() {
    if (created_) (void)RemoveFolder(path_);  // one that stays goes with the next command's recovery
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  Status Create() {
    created_ = true;
    for (const char* sub : {"BDict", "data"}) {
      if (Status status = CreateFolders(path_ / sub); !status.ok()) return status;
    }
    return Status::Ok();
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool created_ = false;
};

// Fails with the system's reason when no file can be created in the folder of `target` (a
// read-only BDict/, say): checked before the long work, not after it.
Status CheckWritable(const std::filesystem::path& target) {
  const auto probe = StagedFileName(target);
  Status status;
  // A FIFO left under the probe's name fails the open instead of waiting for a reader.
  const int fd = OpenRegularFile(probe, O_WRONLY | O_CREAT | O_TRUNC, status);
  if (fd < 0) return status;
  ::close(fd);
  return RemoveFile(probe);
}

// Moves a finished file from the scratch folder to its staged name in the runtime folder: a
// rename, or a copy synced to the disk when the two are on different file systems.
Status MoveToStaged(const std::filesystem::path& from, const std::filesystem::path& target) {
  return MoveFile(from, StagedFileName(target));
}

// A status about the content of a file of the scratch folder names the file of the runtime folder
// it stands for. A file that could not be opened, written or synced keeps its own name: that is
// the file the disk refused. Nothing done in the scratch folder has taken effect: a step there
// that could not be finished is a failure.
Status InRuntimeFolder(Status status, const std::filesystem::path& scratch, const std::filesystem::path& root) {
  const std::string file = status.file().string();
  const std::string prefix = scratch.string() + "/";
  if (status.ok() || file.compare(0, prefix.size(), prefix) != 0) return status;
  if (status.kind() == Status::Kind::kIoError || status.kind() == Status::Kind::kUnfinished) {
    return Status::IoError(status.file(), status.reason());
  }
  const std::filesystem::path renamed = root / file.substr(prefix.size());
  switch (status.kind()) {
    case Status::Kind::kInvalidInput:
      return Status::InvalidInput(renamed, status.line(), status.reason());
    case Status::Kind::kNotFound:
      return Status::NotFound(renamed, status.reason());
    case Status::Kind::kCorruption:
      return Status::Corruption(renamed, status.reason());
    default:
      return Status::IoError(renamed, status.reason());
  }
}

// Progress and cancel of one import.
class Monitor {
 public:
  Monitor(const std::function<void(const ImportProgress&)>& onProgress, const std::atomic<bool>* cancel)
      : onProgress_(onProgress), cancel_(cancel), start_(Clock::now()) {}

  bool cancelled() const { return cancel_ != nullptr && cancel_->load(std::memory_order_relaxed); }
  double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

  void Report(ImportProgress::Stage stage, int percent, int64_t lines, int64_t sentences) {
    if (!onProgress_) return;
    ImportProgress progress;
    progress.stage = stage;
    progress.percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    progress.linesRead = lines;
    progress.sentences = sentences;
    const double elapsed = seconds();
    progress.sentencesPerSecond = elapsed > 0 ? static_cast<double>(sentences) / elapsed : 0;
    onProgress_(progress);
  }

 private:
  const std::function<void(const ImportProgress&)>& onProgress_;
  const std::atomic<bool>* cancel_;
  Clock::time_point start_;
};

// Writes the scratch sentence file: the kept groups, then the groups of every sentence read.
Status WriteSentences(const std::filesystem::path& root, std::u16string_view tag, bool append, ImportReader& reader,
                      const ChineseText& tools, const std::filesystem::path& target, Monitor& monitor,
                      ImportReport& report) {
  SentenceFileWriter writer;
  if (Status status = writer.Open(target); !status.ok()) return status;
  if (append) {
    const auto current = CorpusFileName(root, CorpusFile::kSentences, tag);
    if (Status status = writer.CopyGroupsOf(current, report.groupsKept); !status.ok()) return status;
  }
  ImportReadReport read;
  ImportedGroup group;
  const auto onSentence = [&](const RawSentence& sentence) {
    const bool made = MakeImportedGroup(sentence.chinese, sentence.english, tools, group);
    // A side that held only spaces or invisible characters is as good as missing.
    if (!made || (!sentence.chinese.empty() && group.chinese.empty())) {
      read.Skip(reader.files()[sentence.file], sentence.line, "no Chinese side");
    } else if (!sentence.english.empty() && group.english.empty()) {
      read.Skip(reader.files()[sentence.file], sentence.line, "no English side");
    } else if (writer.Add(group)) {
      ++report.groupsImported;
    } else {
      ++report.duplicates;
    }
  };
  const auto tick = [&] {
    const int64_t total = reader.totalBytes();
    const int percent = total > 0 ? static_cast<int>(kPreparingAt * reader.bytesRead() / total) : 0;
    monitor.Report(ImportProgress::Stage::kReading, percent, read.linesRead, writer.groups());
    return writer.ok() && !monitor.cancelled();
  };
  Status status = reader.Read(onSentence, tick, read);
  report.linesRead = read.linesRead;
  report.skippedLines = read.skippedLines;
  report.firstSkipped = read.firstSkipped;
  if (!status.ok()) return status;
  if (monitor.cancelled()) return Cancelled();
  if (Status closed = writer.Close(); !closed.ok()) return closed;
  if (writer.groups() == 0) {
    return Status::InvalidInput(
        reader.files().front(), 0,
        "holds no sentence that can be imported (" + std::to_string(read.skippedLines) + " lines skipped)");
  }
  monitor.Report(ImportProgress::Stage::kPreparing, kPreparingAt, read.linesRead, writer.groups());
  return Status::Ok();
}

// Prepares the dictionary and builds the index in the scratch folder.
Status PrepareAndBuild(const std::filesystem::path& scratch, std::u16string_view tag, Monitor& monitor,
                       const ImportReport& report, CorpusIndex& built) {
  const int64_t groups = report.groupsKept + report.groupsImported;
  PrepareReport prepared;
  if (Status status = PrepareDictionary(scratch, tag, prepared); !status.ok()) return status;
  if (monitor.cancelled()) return Cancelled();
  monitor.Report(ImportProgress::Stage::kBuilding, kBuildingAt, report.linesRead, groups);
  BuildReport building;
  building.builtIndex = &built;
  building.onProgress = [&](const BuildProgress& p) {
    const int64_t share = p.bytesTotal > 0 ? p.bytesRead * 100 / p.bytesTotal : 100;
    const int half = (kCommittingAt - kBuildingAt) / 2;
    const int base = p.source == CorpusFile::kDictionary ? kBuildingAt : kBuildingAt + half;
    monitor.Report(ImportProgress::Stage::kBuilding, base + static_cast<int>(share * half / 100), report.linesRead,
                   groups);
  };
  if (Status status = BuildCorpus(scratch, tag, &building); !status.ok()) return status;
  if (monitor.cancelled()) return Cancelled();
  return Status::Ok();
}

// Puts the six finished files of the scratch folder in place, in one commit.
Status CommitImport(const std::filesystem::path& root, const std::filesystem::path& scratch, std::u16string_view tag) {
  std::vector<CorpusFile> files(std::begin(kSourceFiles), std::end(kSourceFiles));
  files.insert(files.end(), std::begin(kIndexFiles), std::end(kIndexFiles));
  Status status;
  for (CorpusFile f : files) {
    status = MoveToStaged(CorpusFileName(scratch, f, tag), CorpusFileName(root, f, tag));
    if (!status.ok()) break;
  }
  if (status.ok()) status = SyncFolder(CorpusFileName(root, CorpusFile::kSentences, tag).parent_path());
  if (status.ok()) status = SyncFolder(CorpusFileName(root, CorpusFile::kWordTable, tag).parent_path());
  if (status.ok()) status = CommitCorpusFiles(root, tag);
  std::error_code ignored;
  if (!status.ok() && !std::filesystem::exists(CommitRecordFileName(root, tag), ignored)) {
    // Before the record nothing is in place yet: the staged files go, the previous corpus stays.
    (void)RecoverIndexFiles(root, tag);
  }
  return status;
}

}  // namespace

Status ImportCorpus(const std::filesystem::path& root, std::u16string_view tag,
                    const std::vector<std::filesystem::path>& files, bool append, const ChineseText& tools,
                    ImportReport* report, const std::function<void(const ImportProgress&)>& onProgress,
                    const std::atomic<bool>* cancel) {
  ImportReport local;
  ImportReport& r = report != nullptr ? *report : local;
  r = ImportReport();
  Monitor monitor(onProgress, cancel);
  const auto finish = [&](Status status) {
    r.seconds = monitor.seconds();
    r.cancelled = monitor.cancelled() && !status.ok() && status.kind() != Status::Kind::kUnfinished;
    return status;
  };

  if (tag != kTagBilingual && tag != kTagMonolingual) {
    return finish(Status::InvalidInput({}, 0, "the corpus must be BI (bilingual) or MO (monolingual)"));
  }
  if (files.empty()) return finish(Status::InvalidInput({}, 0, "no file to import"));
  if (monitor.cancelled()) return finish(Cancelled());
  // Every file is looked at before anything is written: a file that fits no format stops here.
  ImportReader reader;
  if (Status status = reader.Open(files); !status.ok()) return finish(status);
  for (const DetectedFormat& f : reader.formats()) r.formats.push_back(f.format);

  const auto sentences = CorpusFileName(root, CorpusFile::kSentences, tag);
  for (const auto& folder :
       {sentences.parent_path(), CorpusFileName(root, CorpusFile::kWordTable, tag).parent_path()}) {
    if (Status status = CreateFolders(folder); !status.ok()) return finish(status);
  }
  FileLock lock;
  if (Status status = lock.Acquire(BuildLockFileName(root, tag)); !status.ok()) return finish(status);
  if (Status status = RecoverIndexFiles(root, tag); !status.ok()) return finish(status);
  if (Status status = CheckWritable(sentences); !status.ok()) return finish(status);
  ScratchFolder scratch(ImportScratchFolder(root, tag));
  if (Status status = scratch.Create(); !status.ok()) return finish(status);

  Status status = WriteSentences(root, tag, append, reader, tools,
                                 CorpusFileName(scratch.path(), CorpusFile::kSentences, tag), monitor, r);
  CorpusIndex built;
  if (status.ok()) status = PrepareAndBuild(scratch.path(), tag, monitor, r, built);
  const int64_t groups = r.groupsKept + r.groupsImported;
  if (status.ok()) monitor.Report(ImportProgress::Stage::kCommitting, kCommittingAt, r.linesRead, groups);
  // The last moment a cancel is heeded: from the commit on, the import ends as it began.
  if (status.ok() && monitor.cancelled()) status = Cancelled();
  if (!status.ok()) return finish(InRuntimeFolder(status, scratch.path(), root));
  status = CommitImport(root, scratch.path(), tag);
  if (!status.ok()) return finish(status);
  // The key table file of the index now in place, which the build in the scratch folder left to
  // the import (the stamp it names is the one the commit wrote). The keys the build held are those
  // a load reads back from the word table: the build took them from dictionary lines, which end at
  // a U+0000 as a record's key does. Without the file, loads only take longer.
  r.keyTableFile = WriteKeyTableFile(root, tag, built.words(), built.wordIds());
  // The table of the previous index would only be found stale at each load: it goes.
  if (!r.keyTableFile.ok()) (void)RemoveFile(KeyTableFileName(root, tag));
  monitor.Report(ImportProgress::Stage::kDone, 100, r.linesRead, groups);
  return finish(Status::Ok());
}

}  // namespace tamrel
