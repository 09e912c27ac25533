#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/fault_injection.h"
#include "files/system_error.h"

namespace tamrel {

namespace {

const char* NotRegularReason(mode_t mode) {
  if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
  if (S_ISDIR(mode)) return "is a folder, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  return "is not a regular file";
}

}  // namespace

int OpenRegularFile(const std::filesystem::path& path, int flags, Status& status) {
  const bool truncate = (flags & O_TRUNC) != 0;
  int fd = -1;
  if (const int injected = InjectedFileFault(FileOperation::kOpen, path); injected != 0) {
    errno = injected;
  } else {
    do {
      fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
  }
  if (fd < 0) {
    // A FIFO without a reader refuses a non-blocking open to write, and so does a device file
    // without its device: neither is a regular file. A missing file is simply not there; any
    // other failure says why.
    const int error = errno;
    if (error == ENXIO) {
      status = Status::IoError(path, "is not a regular file");
    } else if ((flags & O_CREAT) != 0) {
      status = Status::IoError(path, WithSystemError("cannot be created", error));
    } else if (error == ENOENT) {
      status = Status::NotFound(path, "cannot be opened");
    } else {
      status = Status::IoError(path, WithSystemError("cannot be opened", error));
    }
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    status = Status::IoError(path, "cannot be read");
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    status = Status::IoError(path, NotRegularReason(info.st_mode));
    return -1;
  }
  const int fileFlags = ::fcntl(fd, F_GETFL);
  if (fileFlags < 0 || ::fcntl(fd, F_SETFL, fileFlags & ~O_NONBLOCK) != 0 || (truncate && ::ftruncate(fd, 0) != 0)) {
    ::close(fd);
    status = Status::IoError(path, "cannot be opened");
    return -1;
  }
  status = Status::Ok();
  return fd;
}

}  // namespace tamrel
