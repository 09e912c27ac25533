#include "files/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/fault_injection.h"
#include "files/regular_file.h"
#include "files/system_error.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {
constexpr size_t kBlockSize = 64 * 1024;

// A file opened for writing is a stdio stream over these functions rather than over its
// descriptor directly, so that every write the buffer makes goes through the fault seam and the
// error of a failed one is kept for the message.
struct WriteCookie {
  int fd;
  std::filesystem::path path;
  int* error;  // TextFile::error_
};

ssize_t CookieWrite(void* cookie, const char* data, size_t size) {
  auto* c = static_cast<WriteCookie*>(cookie);
  if (const int injected = InjectedFileFault(FileOperation::kWrite, c->path); injected != 0) {
    *c->error = errno = injected;
    return -1;
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(c->fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      *c->error = errno;
      return done > 0 ? static_cast<ssize_t>(done) : -1;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

int CookieSeek(void* cookie, off64_t* offset, int whence) {
  const off64_t at = ::lseek64(static_cast<WriteCookie*>(cookie)->fd, *offset, whence);
  if (at < 0) return -1;
  *offset = at;
  return 0;
}

int CookieClose(void* cookie) {
  auto* c = static_cast<WriteCookie*>(cookie);
  const int result = ::close(c->fd);
  if (result != 0 && *c->error == 0) *c->error = errno;
  delete c;
  return result;
}

}  // namespace

TextFile::~TextFile() { Close(); }

Status TextFile::OpenChecked(const std::filesystem::path& path, Mode mode) {
  Close();
  utf16_ = mode == Mode::kCreateUtf16;
  writing_ = mode != Mode::kRead;
  writeFailed_ = false;
  error_ = 0;
  Status status;
  const int fd = OpenRegularFile(path, writing_ ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY, status);
  if (fd < 0) return status;
  if (writing_) {
    auto* cookie = new WriteCookie{fd, path, &error_};
    file_ = ::fopencookie(cookie, "wb", {nullptr, CookieWrite, CookieSeek, CookieClose});
    if (file_ == nullptr) {
      delete cookie;
      ::close(fd);
      return Status::IoError(path, "cannot be opened");
    }
    std::setvbuf(file_, nullptr, _IOFBF, kBlockSize);
    return Status::Ok();
  }
  file_ = ::fdopen(fd, "rb");
  if (file_ == nullptr) {
    ::close(fd);
    return Status::IoError(path, "cannot be opened");
  }
  unsigned char mark[2] = {0, 0};
  utf16_ = std::fread(mark, 1, 2, file_) == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
  if (fseeko(file_, 0, SEEK_SET) != 0) {
    Close();
    return Status::IoError(path, "cannot be read");
  }
  return Status::Ok();
}

bool TextFile::Refill() {
  if (readPos_ > 0) {  // keep the unread tail at the front
    std::memmove(readBuffer_.data(), readBuffer_.data() + readPos_, readEnd_ - readPos_);
    readEnd_ -= readPos_;
    readPos_ = 0;
  }
  if (readBuffer_.size() < readEnd_ + kBlockSize) readBuffer_.resize(readEnd_ + kBlockSize);
  const size_t got = std::fread(readBuffer_.data() + readEnd_, 1, kBlockSize, file_);
  readEnd_ += got;
  return got > 0;
}

void TextFile::DropReadBuffer() { readPos_ = readEnd_ = 0; }

bool TextFile::ReadRawLine(bool& ended) {
  lineBytes_.clear();
  ended = false;
  if (file_ == nullptr) return false;
  bool any = false;
  while (!ended) {
    if (readPos_ == readEnd_ || (utf16_ && readEnd_ - readPos_ < 2)) {
      if (!Refill()) break;
      if (utf16_ && readEnd_ - readPos_ < 2) continue;  // need a whole unit
    }
    const char* begin = readBuffer_.data() + readPos_;
    const size_t available = readEnd_ - readPos_;
    size_t take = available;
    if (!utf16_) {
      if (const void* lf = std::memchr(begin, '\n', available)) {
        take = static_cast<size_t>(static_cast<const char*>(lf) - begin) + 1;
        ended = true;
      }
    } else {
      take = available & ~size_t{1};
      for (size_t i = 0; i + 1 < available; i += 2) {
        if (begin[i] == '\n' && begin[i + 1] == 0) {
          take = i + 2;
          ended = true;
          break;
        }
      }
    }
    lineBytes_.append(begin, take);
    readPos_ += take;
    any = true;
  }
  return any;
}

bool TextFile::ReadLine(std::u16string& line) {
  line.clear();
  bool ended = false;
  if (!ReadRawLine(ended)) return false;
  if (utf16_) {
    const size_t units = lineBytes_.size() / 2;  // an odd trailing byte is ignored
    line.resize(units);
    for (size_t i = 0; i < units; ++i) {
      line[i] = static_cast<char16_t>(static_cast<unsigned char>(lineBytes_[2 * i]) |
                                      static_cast<unsigned char>(lineBytes_[2 * i + 1]) << 8);
    }
  } else {
    AppendUtf8AsUtf16(lineBytes_, line);
  }
  if (ended && !line.empty() && line.back() == u'\n') line.pop_back();
  if (!line.empty() && line.back() == u'\r') line.pop_back();
  if (const size_t nul = line.find(u'\0'); nul != std::u16string::npos) line.resize(nul);
  return true;
}

bool TextFile::ReadLineBytes(std::string& bytes) {
  bool ended = false;
  const bool read = ReadRawLine(ended);
  bytes.swap(lineBytes_);
  if (!read) {
    bytes.clear();
    return false;
  }
  // The terminator, the CR and the NUL are single bytes that no UTF-8 sequence contains, so
  // removing them before the conversion gives the same line as ReadLine.
  if (ended && !bytes.empty() && bytes.back() == '\n') bytes.pop_back();
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  if (const size_t nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
  return true;
}

bool TextFile::WriteText(std::u16string_view text) {
  if (file_ == nullptr) return false;
  bool ok = true;
  if (GetPosition() == 0) ok = utf16_ ? Write("\xFF\xFE", 2) : Write("\xEF\xBB\xBF", 3);
  if (text.empty()) return ok;
  if (utf16_) {
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
      bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return Write(bytes.data(), bytes.size()) && ok;
  }
  const std::string bytes = Utf16ToUtf8(text);
  return Write(bytes.data(), bytes.size()) && ok;
}

size_t TextFile::Read(void* buffer, size_t count) {
  if (file_ == nullptr || count == 0) return 0;
  size_t done = 0;
  if (readPos_ < readEnd_) {  // bytes already buffered by line reading come first
    done = std::min(count, readEnd_ - readPos_);
    std::memcpy(buffer, readBuffer_.data() + readPos_, done);
    readPos_ += done;
  }
  if (done < count) done += std::fread(static_cast<char*>(buffer) + done, 1, count - done, file_);
  return done;
}

bool TextFile::Write(const void* data, size_t count) {
  if (file_ == nullptr) return false;
  if (count > 0 && std::fwrite(data, 1, count, file_) != count) writeFailed_ = true;
  return !writeFailed_;
}

int64_t TextFile::GetPosition() const {
  if (file_ == nullptr) return -1;
  const int64_t pos = ftello(file_);
  return pos < 0 ? pos : pos - static_cast<int64_t>(readEnd_ - readPos_);
}

int64_t TextFile::GetLength() {
  if (file_ == nullptr) return -1;
  const int64_t here = GetPosition();
  DropReadBuffer();
  if (fseeko(file_, 0, SEEK_END) != 0) return -1;
  const int64_t length = ftello(file_);
  fseeko(file_, here, SEEK_SET);
  return length;
}

Status TextFile::WriteFailure(const std::filesystem::path& path) const {
  return Status::IoError(path, WithSystemError("cannot be written", error_));
}

bool TextFile::Close() {
  if (file_ == nullptr) return true;
  const bool ok = std::fclose(file_) == 0 && !writeFailed_;
  file_ = nullptr;
  DropReadBuffer();
  return ok;
}

}  // namespace tamrel
