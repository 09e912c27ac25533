#include "files/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include "files/regular_file.h"

#if defined(__SANITIZE_ADDRESS__)
#define TAMREL_COPY_MAPPED_FILES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAMREL_COPY_MAPPED_FILES 1
#endif
#endif

namespace tamrel {

MappedFile::~MappedFile() { Close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      open_(std::exchange(other.open_, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    open_ = std::exchange(other.open_, false);
  }
  return *this;
}

Status MappedFile::OpenChecked(const std::filesystem::path& path) {
  Close();
  Status status;
  const int fd = OpenRegularFile(path, O_RDONLY, status);
  if (fd < 0) return status;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (ok && info.st_size > 0) {
    void* p = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ok = p != MAP_FAILED;
    if (ok) {
      data_ = static_cast<const char*>(p);
      size_ = static_cast<size_t>(info.st_size);
#ifdef TAMREL_COPY_MAPPED_FILES
      char* copy = new char[size_];
      std::memcpy(copy, data_, size_);
      ::munmap(p, size_);
      data_ = copy;
#endif
    }
  }
  ::close(fd);
  open_ = ok;
  return ok ? Status::Ok() : Status::IoError(path, "cannot be mapped");
}

void MappedFile::Close() {
#ifdef TAMREL_COPY_MAPPED_FILES
  delete[] data_;
#else
  if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
#endif
  data_ = nullptr;
  size_ = 0;
  open_ = false;
}

}  // namespace tamrel
