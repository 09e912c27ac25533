// SentenceFileWriter: writes the sentence file of an import (UTF-8, no byte-order mark, three
// lines per group) and leaves out any group whose Chinese and English lines were written before.
// Only a 128-bit hash of each group is kept, so a million groups take some 50 MB.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_set>

#include "files/status.h"
#include "files/text_file.h"
#include "importer/sentence_group.h"

namespace tamrel {

class SentenceFileWriter {
 public:
  // Creates (or empties) `path`.
  Status Open(const std::filesystem::path& path);
  // Writes `group` unless an identical one (same Chinese and English lines) was written; false
  // when it was left out for that.
  bool Add(const ImportedGroup& group);
  // Copies the groups of the sentence file `path` as they stand (a group cut short by the end of
  // the file gets its missing lines empty, as the index build reads it), remembering them for Add.
  // A missing file adds nothing.
  Status CopyGroupsOf(const std::filesystem::path& path, int64_t& groups);
  // Writes out what is buffered, closes and syncs the file.
  Status Close();
  int64_t groups() const { return groups_; }
  // False once a write failed (the disk is full); Close then fails too.
  bool ok() const { return ok_; }

 private:
  struct Hash128 {
    uint64_t low, high;
    bool operator==(const Hash128&) const = default;
  };
  struct HashOfHash {
    size_t operator()(const Hash128& h) const { return static_cast<size_t>(h.low); }
  };
  static Hash128 HashGroup(std::u16string_view chinese, std::u16string_view english);
  void Write(const ImportedGroup& group);
  void Flush();

  std::filesystem::path path_;
  TextFile file_;
  std::string buffer_;
  std::unordered_set<Hash128, HashOfHash> seen_;
  int64_t groups_ = 0;
  bool ok_ = true;
};

}  // namespace tamrel
