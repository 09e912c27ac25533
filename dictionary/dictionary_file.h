// The dictionary file (resources/lexicon/dictionary.tsv, written by scripts/make-lexicon.py):
// mapped, not parsed, at open. Its lines are sorted by the bytes of their headword, so a word is
// found by binary search over the line starts; an entry is parsed only when it is read.
//
// Layout: UTF-8 text, "\n" line ends. Header lines start with '#', the first being
// "# Tamrel dictionary 1: ...". Then one entry a line, nine tab-separated fields (eight in files
// made before the character levels, which read as having none):
//   SIMPLIFIED  TRADITIONAL  PINYIN  SENSES  CLASSIFIERS  REFERRED  HSK  RANK  CHARHSK
// TRADITIONAL empty when it is SIMPLIFIED; PINYIN syllables with tone marks, separated by spaces;
// SENSES, CLASSIFIERS and REFERRED separated by '/'; HSK and CHARHSK "1"-"6", "7-9" or empty;
// RANK a decimal number from 1, or empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictionary/dictionary_entry.h"
#include "files/mapped_file.h"
#include "files/status.h"

namespace tamrel {

// True when `sense` only points at other entries or names a surname ("see 基友[ji1 you3]",
// "old variant of 乾[qian2]", "used in 道行[dao4 heng2]"): it translates nothing itself.
bool IsPointerSense(std::string_view sense);

class DictionaryFile {
 public:
  // The longest file taken: line starts are 32-bit offsets.
  static constexpr size_t kMaxBytes = size_t{1} << 31;

  // Maps `file` and finds its lines. NotFound or IoError when it cannot be read; Corruption when
  // the header or the last line break is missing; InvalidInput naming the line when a line has no
  // headword or the headwords are out of order. On failure the object holds no entries.
  [[nodiscard]] Status Open(const std::filesystem::path& file);
  // The same from bytes (kept by the object); `file` only names them in a refusal.
  [[nodiscard]] Status Parse(std::string bytes, const std::filesystem::path& file);

  size_t size() const { return lineStarts_.empty() ? 0 : lineStarts_.size() - 1; }
  // The headword (UTF-8) and the whole text of entry `i` < size().
  std::string_view Headword(size_t i) const;
  std::string_view Line(size_t i) const;
  // Field `field` (0-8) of entry `i`; empty when the line has fewer fields.
  std::string_view Field(size_t i, size_t field) const;

  // The frequency rank of entry `i` (0: unknown, or a field that is not a rank).
  uint32_t FrequencyRank(size_t i) const;
  // True when the reading of entry `i` is a proper noun's (CC-CEDICT capitalises those).
  bool IsProperNoun(size_t i) const;
  // True when entry `i` is a less common form of its word: a reading other than the first entry
  // of its headword (the common one), or an entry whose every sense only points at another.
  bool IsSecondary(size_t i) const;

  // The entries whose headword is `utf8`, as the range [first, last) of entry indexes.
  std::pair<size_t, size_t> FindHeadword(std::string_view utf8) const;

  // Parses entry `i` < size() into `entry`. InvalidInput naming the file line when a field breaks
  // the layout (`entry` is then unspecified).
  [[nodiscard]] Status ReadEntry(size_t i, DictionaryEntry& entry) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  [[nodiscard]] Status FindLines();
  void Clear();

  std::filesystem::path file_;
  MappedFile mapped_;
  std::string owned_;
  std::string_view bytes_;
  std::vector<uint32_t> lineStarts_;  // of every entry line; one more, the end of the last
  size_t headerLines_ = 0;
};

}  // namespace tamrel
