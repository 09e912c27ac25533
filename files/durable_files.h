// Making file changes last through a power cut, and keeping processes that change the same files
// apart. A rename or removal is durable only once its folder is synced, and a renamed file's bytes
// only once the file itself was synced before the rename; a lock is an flock(2) on a lock file,
// released by the kernel when its holder ends, even by kill -9.
#pragma once

#include <filesystem>

#include "files/status.h"

namespace tamrel {

// Writes the bytes of `path` through to the disk. Fails when it cannot be opened or synced.
Status SyncFile(const std::filesystem::path& path);

// Writes the entries of `folder` (the renames and removals done in it) through to the disk.
Status SyncFolder(const std::filesystem::path& folder);

// Renames `from` over `to`. Fails naming `to` with the system's reason.
Status RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Moves `from` to `to`, replacing it: a rename, or where the two are on different file systems a
// copy synced to the disk. Fails naming `to` with the system's reason.
Status MoveFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes the file `path` when it is there; a missing file is no failure.
Status RemoveFile(const std::filesystem::path& path);

// Removes `folder` with all it holds when it is there; a missing folder is no failure.
Status RemoveFolder(const std::filesystem::path& folder);

// Creates `folder` and the folders above it that are missing.
Status CreateFolders(const std::filesystem::path& folder);

// An exclusive lock on a lock file, held from Acquire or a successful TryAcquire until Release or
// destruction. Two FileLock objects on the same file exclude each other even in one process.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Opens `path`, creating it when missing, and waits until the lock is free.
  Status Acquire(const std::filesystem::path& path);
  // Takes the lock of `path` only when no one holds it; false when someone does or the lock file
  // cannot be opened.
  bool TryAcquire(const std::filesystem::path& path);
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  int Open(const std::filesystem::path& path);
  int fd_ = -1;
};

}  // namespace tamrel
