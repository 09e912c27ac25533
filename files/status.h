// Status: the result of an operation that touches files. Ok, or a kind and a message that names
// the file and the reason ("data/index1.datBI: shorter than its count announces"). The core
// returns it; only the window or the CLI decides what to show.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace tamrel {

class [[nodiscard]] Status {
 public:
  enum class Kind {
    kOk,
    kNotFound,      // a file that should be there is not
    kIoError,       // a file could not be opened, read, written or renamed
    kCorruption,    // a file holds bytes its layout does not allow
    kInvalidInput,  // a source or argument was refused (the message says which line and why)
    kUnfinished,    // the change took effect, but a step after that failed (the message names its
                    // file and why); the next open of the files finishes it, or, for a sync that
                    // failed, nothing remains to do unless the power fails first
  };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status NotFound(const std::filesystem::path& file, std::string_view reason) {
    return Status(Kind::kNotFound, file, reason);
  }
  static Status IoError(const std::filesystem::path& file, std::string_view reason) {
    return Status(Kind::kIoError, file, reason);
  }
  static Status Corruption(const std::filesystem::path& file, std::string_view reason) {
    return Status(Kind::kCorruption, file, reason);
  }
  static Status Unfinished(const std::filesystem::path& file, std::string_view reason) {
    return Status(Kind::kUnfinished, file, reason);
  }
  // A source refused at 1-based `line` (0: the file as a whole).
  static Status InvalidInput(const std::filesystem::path& file, int64_t line, std::string_view reason) {
    Status status(Kind::kInvalidInput, file, reason);
    status.line_ = line;
    return status;
  }

  bool ok() const { return kind_ == Kind::kOk; }
  // For an operation that changes files: the change was made (ok, or kUnfinished).
  bool tookEffect() const { return kind_ == Kind::kOk || kind_ == Kind::kUnfinished; }
  Kind kind() const { return kind_; }
  // The file the status is about; empty when ok.
  const std::filesystem::path& file() const { return file_; }
  // The 1-based line of the file the status is about; 0 when it is about the whole file.
  int64_t line() const { return line_; }
  const std::string& reason() const { return reason_; }
  // "FILE, line N: REASON", "FILE: REASON", or "OK".
  std::string ToString() const {
    if (ok()) return "OK";
    std::string text = file_.string();
    if (line_ > 0) text += ", line " + std::to_string(line_);
    return text.empty() ? reason_ : text + ": " + reason_;
  }

 private:
  Status(Kind kind, std::filesystem::path file, std::string_view reason)
      : kind_(kind), file_(std::move(file)), reason_(reason) {}

  Kind kind_ = Kind::kOk;
  std::filesystem::path file_;
  int64_t line_ = 0;
  std::string reason_;
};

}  // namespace tamrel
