// StagedFile: writes a file under a staged name beside its target ("data/config.data.new" for
// "data/config.data") and renames it into place only when it is complete, so that a failed write
// leaves the previous file whole. The file is synced before the rename and its folder after it, so
// that after a power cut the target is the previous file or the new one, never an empty or partly
// written one. A file that is one of several committed together (the four index files of a build)
// is closed, synced and kept under its staged name for that commit instead.
//
// The fixed staged name suits writers that hold a lock of their own (the index build, prepare);
// writers that may run in several processes at once without one take a unique name, so that
// they never write into each other's staged file.
#pragma once

#include <filesystem>
#include <string_view>

#include "files/status.h"
#include "files/text_file.h"

namespace tamrel {

// The name `target` is written under before it is renamed into place: target + ".new".
std::filesystem::path StagedFileName(const std::filesystem::path& target);

// A staged name no other StagedFile of any process uses at the same time:
// target + ".new." + process ID + "." + a counter of this process.
std::filesystem::path UniqueStagedFileName(const std::filesystem::path& target);

class StagedFile {
 public:
  enum class Naming { kFixed, kUnique };  // StagedFileName or UniqueStagedFileName
  explicit StagedFile(std::filesystem::path target, Naming naming = Naming::kFixed);
  // Removes the staged file unless it was committed or kept.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Creates the staged file, emptying one left by an earlier run.
  Status Open(TextFile::Mode mode = TextFile::Mode::kCreate);
  TextFile& file() { return file_; }
  // The status of a failed write of the staged file: its name and the system's reason.
  Status WriteFailure() const;
  const std::filesystem::path& stagedPath() const { return staged_; }

  // Closes and syncs the staged file, renames it over the target and syncs the folder. On a
  // failure before the rename the staged file is removed and the target is as it was; when only
  // the folder's sync fails, the new file is in place and the status is kUnfinished (naming the
  // folder): a power cut could still bring the previous file back.
  Status Commit();
  // Closes and syncs the staged file and leaves it under its staged name, for a commit of several
  // files.
  Status Keep();
  // As Commit without the syncs, for a file whose loss or truncation at a power cut does no harm
  // (its reader checks it and does without it): renamed into place, so that no reader ever sees
  // it half written.
  Status CommitUnsynced();

 private:
  Status Close();

  std::filesystem::path target_;
  std::filesystem::path staged_;
  TextFile file_;
  bool done_ = false;
};

// Writes `bytes` to `target` through a staged file.
Status WriteFileStaged(const std::filesystem::path& target, std::string_view bytes,
                       StagedFile::Naming naming = StagedFile::Naming::kFixed);

}  // namespace tamrel
