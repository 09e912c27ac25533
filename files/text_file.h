// TextFile: the one file class of the system. Line-oriented text in UTF-8 (UTF-16LE when a
// file opened for reading starts with FF FE), a byte-order mark written at position 0, and plain
// byte operations with 64-bit positions for the binary index files. Lives on the stack of the
// operation that uses the file; the destructor closes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace tamrel {

class TextFile {
 public:
  enum class Mode {
    kRead,         // an existing file, from its start
    kCreate,       // a new or emptied file; text is written as UTF-8
    kCreateUtf16,  // a new or emptied file; text is written as UTF-16LE
  };

  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens `path` in `mode`; bytes pass unchanged (no line-end translation). A read open detects
  // a leading FF FE and then reads UTF-16LE lines; the position is back at byte 0 afterwards.
  // False when the file cannot be opened, or is not a regular file (a folder, a FIFO, a device):
  // the open never blocks (OpenRegularFile).
  [[nodiscard]] bool Open(const std::filesystem::path& path, Mode mode) { return OpenChecked(path, mode).ok(); }
  // Open, telling why it failed: NotFound "cannot be opened", IoError "is a FIFO, not a regular
  // file" and the like (OpenRegularFile), or IoError "cannot be read".
  [[nodiscard]] Status OpenChecked(const std::filesystem::path& path, Mode mode);

  // Reads the next line without its LF and without one CR before it, cut at its first U+0000.
  // Ill-formed UTF-8 becomes U+FFFD (one per maximal ill-formed subpart); a trailing odd byte of
  // a UTF-16LE file is ignored. True when a line was read (possibly empty); false at end of file,
  // with `line` emptied.
  bool ReadLine(std::u16string& line);

  // For a file that is not in UTF-16 mode: the next line as its bytes, exactly the bytes that
  // ReadLine would convert (no LF, no final CR, nothing from the first NUL byte on). Lets a reader
  // that only needs ASCII fields skip the conversion. Same results and end-of-file rule as ReadLine.
  bool ReadLineBytes(std::string& bytes);

  // Writes `text` (no terminator added), preceded by a byte-order mark at position 0: FF FE in
  // UTF-16 mode, EF BB BF otherwise. An unpaired surrogate is written as U+FFFD. False when the
  // write failed (disk full, file not open for writing).
  bool WriteText(std::u16string_view text);

  // Byte operations, unaffected by the text mode.
  size_t Read(void* buffer, size_t count);
  bool Write(const void* data, size_t count);
  int64_t GetPosition() const;
  int64_t GetLength();  // file size in bytes, or -1
  // Closes the file; false when buffered data could not be written (or an earlier write failed).
  bool Close();
  // The system's error number of the first write or close of this file that failed, or 0 (kept
  // after Close, until the next Open).
  int error() const { return error_; }
  // IoError "cannot be written: REASON" naming `path`, the file this one was opened as.
  Status WriteFailure(const std::filesystem::path& path) const;

  bool IsOpen() const { return file_ != nullptr; }
  bool IsUtf16() const { return utf16_; }

 private:
  // Reads up to and including the next LF (narrow) or U+000A unit (UTF-16) into lineBytes_;
  // `ended` tells whether the terminator was found. False when nothing was left to read.
  bool ReadRawLine(bool& ended);
  // Fills the read buffer; false at end of file.
  bool Refill();
  void DropReadBuffer();

  std::FILE* file_ = nullptr;
  bool utf16_ = false;  // lines are UTF-16LE (read) or text is written as UTF-16LE (write)
  bool writing_ = false;
  bool writeFailed_ = false;
  int error_ = 0;
  // Block read buffer for lines: bytes [readPos_, readEnd_) are read from the file but not yet used.
  std::vector<char> readBuffer_;
  size_t readPos_ = 0;
  size_t readEnd_ = 0;
  std::string lineBytes_;  // reused between lines so the common line costs no allocation
};

}  // namespace tamrel
