#include "files/durable_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "files/fault_injection.h"
#include "files/system_error.h"

namespace tamrel {

namespace {

Status SyncPath(const std::filesystem::path& path, int flags) {
  if (const int error = InjectedFileFault(FileOperation::kSync, path); error != 0) {
    return Status::IoError(path, WithSystemError("cannot be synced", error));
  }
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return Status::IoError(path, WithSystemError("cannot be opened to sync", errno));
  const bool ok = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!ok) return Status::IoError(path, WithSystemError("cannot be synced", error));
  return Status::Ok();
}

}  // namespace

Status SyncFile(const std::filesystem::path& path) { return SyncPath(path, O_RDONLY); }

Status SyncFolder(const std::filesystem::path& folder) {
  return SyncPath(folder.empty() ? std::filesystem::path(".") : folder, O_RDONLY | O_DIRECTORY);
}

namespace {

std::error_code Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  if (const int injected = InjectedFileFault(FileOperation::kRename, to); injected != 0) {
    error.assign(injected, std::system_category());
  } else {
    std::filesystem::rename(from, to, error);
  }
  return error;
}

}  // namespace

Status MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error = Rename(from, to);
  if (!error) return Status::Ok();
  if (error != std::errc::cross_device_link) {
    return Status::IoError(to, WithSystemError("cannot be written", error.value()));
  }
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  if (error) return Status::IoError(to, WithSystemError("cannot be written", error.value()));
  return SyncFile(to);
}

Status RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  const std::error_code error = Rename(from, to);
  if (error) return Status::IoError(to, WithSystemError("cannot be replaced", error.value()));
  return Status::Ok();
}

Status RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  if (const int injected = InjectedFileFault(FileOperation::kRemove, path); injected != 0) {
    error.assign(injected, std::system_category());
  } else {
    std::filesystem::remove(path, error);
  }
  if (error) return Status::IoError(path, WithSystemError("cannot be removed", error.value()));
  return Status::Ok();
}

Status RemoveFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (const int injected = InjectedFileFault(FileOperation::kRemove, folder); injected != 0) {
    error.assign(injected, std::system_category());
  } else {
    std::filesystem::remove_all(folder, error);
  }
  if (error) return Status::IoError(folder, WithSystemError("cannot be removed", error.value()));
  return Status::Ok();
}

Status CreateFolders(const std::filesystem::path& folder) {
  std::error_code error;
  if (const int injected = InjectedFileFault(FileOperation::kMkdir, folder); injected != 0) {
    error.assign(injected, std::system_category());
  } else {
    std::filesystem::create_directories(folder, error);
  }
  if (error) return Status::IoError(folder, WithSystemError("cannot be created", error.value()));
  return Status::Ok();
}

int FileLock::Open(const std::filesystem::path& path) {
  Release();
  if (const int injected = InjectedFileFault(FileOperation::kOpen, path); injected != 0) {
    errno = injected;
    return -1;
  }
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

Status FileLock::Acquire(const std::filesystem::path& path) {
  const int fd = Open(path);
  if (fd < 0) return Status::IoError(path, WithSystemError("cannot be opened as a lock", errno));
  int result;
  do {
    result = ::flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    return Status::IoError(path, WithSystemError("cannot be locked", error));
  }
  fd_ = fd;
  return Status::Ok();
}

bool FileLock::TryAcquire(const std::filesystem::path& path) {
  const int fd = Open(path);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void FileLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor of the open file releases its flock
  fd_ = -1;
}

}  // namespace tamrel
