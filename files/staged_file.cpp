#include "files/staged_file.h"

#include <unistd.h>

#include <atomic>
#include <string>
#include <system_error>
#include <utility>

#include "files/durable_files.h"
#include "files/system_error.h"

namespace tamrel {

std::filesystem::path StagedFileName(const std::filesystem::path& target) {
  std::filesystem::path staged = target;
  staged += ".new";
  return staged;
}

std::filesystem::path UniqueStagedFileName(const std::filesystem::path& target) {
  static std::atomic<uint64_t> counter{0};
  std::filesystem::path staged = StagedFileName(target);
  staged += "." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
  return staged;
}

StagedFile::StagedFile(std::filesystem::path target, Naming naming)
    : target_(std::move(target)),
      staged_(naming == Naming::kUnique ? UniqueStagedFileName(target_) : StagedFileName(target_)) {}

StagedFile::~StagedFile() {
  if (done_) return;
  (void)file_.Close();
  (void)RemoveFile(staged_);  // a staged file that cannot be removed is a leftover the next writer empties
}

Status StagedFile::Open(TextFile::Mode mode) { return file_.OpenChecked(staged_, mode); }

Status StagedFile::WriteFailure() const { return file_.WriteFailure(staged_); }

Status StagedFile::Close() {
  if (!file_.Close()) return WriteFailure();
  return SyncFile(staged_);
}

Status StagedFile::CommitUnsynced() {
  if (!file_.Close()) return WriteFailure();
  if (Status status = RenameFile(staged_, target_); !status.ok()) return status;
  done_ = true;
  return Status::Ok();
}

Status StagedFile::Keep() {
  Status status = Close();
  if (status.ok()) done_ = true;
  return status;
}

Status StagedFile::Commit() {
  if (Status status = Close(); !status.ok()) return status;
  if (Status status = RenameFile(staged_, target_); !status.ok()) return status;
  done_ = true;
  Status synced = SyncFolder(target_.parent_path());
  if (synced.ok()) return synced;
  return Status::Unfinished(synced.file(), synced.reason());
}

Status WriteFileStaged(const std::filesystem::path& target, std::string_view bytes, StagedFile::Naming naming) {
  StagedFile staged(target, naming);
  if (Status status = staged.Open(); !status.ok()) return status;
  if (!staged.file().Write(bytes.data(), bytes.size())) return staged.WriteFailure();
  return staged.Commit();
}

}  // namespace tamrel
