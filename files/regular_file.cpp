#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
  int fd;
  do {
    fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    // A FIFO without a reader refuses a non-blocking open to write, and so does a device file
    // without its device: neither is a regular file.
    status =
        errno == ENXIO ? Status::IoError(path, "is not a regular file") : Status::NotFound(path, "cannot be opened");
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
