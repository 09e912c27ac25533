// MappedFile: a whole file mapped read-only into memory, so that the posting and sentence record
// files of a loaded corpus are read without a system call per query. The mapping keeps the file
// as it was when mapped, even after a build renames new index files into its place; the files
// must not be truncated in place while mapped (the build never does). In a build with
// AddressSanitizer the file is read into a heap block of its exact size instead, so that a read
// past its end is reported rather than landing silently in the rest of the mapped page.
#pragma once

#include <filesystem>
#include <string_view>

#include "files/status.h"

namespace tamrel {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps `path`; an empty file maps as empty bytes. False when the file cannot be opened or
  // mapped, or is not a regular file (the object is then closed); the open never blocks
  // (OpenRegularFile).
  bool Open(const std::filesystem::path& path) { return OpenChecked(path).ok(); }
  // Open, telling why it failed: NotFound "cannot be opened", IoError "is a FIFO, not a regular
  // file" and the like (OpenRegularFile), or IoError "cannot be mapped".
  [[nodiscard]] Status OpenChecked(const std::filesystem::path& path);
  void Close();
  bool IsOpen() const { return open_; }
  std::string_view bytes() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
  bool open_ = false;
};

}  // namespace tamrel
