// StagedFile: writes a file under a staged name beside its target ("data/config.data.new" for
// "data/config.data") and renames it into place only when it is complete, so that a failed write
// leaves the previous file whole. A file that is one of several committed together (the four
// index files of a build) is closed and kept under its staged name for that commit instead.
#pragma once

#include <filesystem>
#include <string_view>

#include "corpus/status.h"
#include "corpus/text_file.h"

namespace tamrel {

// The name `target` is written under before it is renamed into place: target + ".new".
std::filesystem::path StagedFileName(const std::filesystem::path& target);

class StagedFile {
 public:
  explicit StagedFile(std::filesystem::path target);
  // Removes the staged file unless it was committed or kept.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Creates the staged file, emptying one left by an earlier run.
  Status Open(TextFile::Mode mode = TextFile::Mode::kCreate);
  TextFile& file() { return file_; }
  const std::filesystem::path& stagedPath() const { return staged_; }

  // Closes the staged file and renames it over the target. On failure the staged file is removed
  // and the target is as it was.
  Status Commit();
  // Closes the staged file and leaves it under its staged name, for a commit of several files.
  Status Keep();

 private:
  Status Close();

  std::filesystem::path target_;
  std::filesystem::path staged_;
  TextFile file_;
  bool done_ = false;
};

// Writes `bytes` to `target` through a staged file.
Status WriteFileStaged(const std::filesystem::path& target, std::string_view bytes);

}  // namespace tamrel
