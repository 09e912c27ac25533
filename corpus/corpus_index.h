// CorpusIndex: the in-memory index of one corpus (its word table and sentence table), the two
// loaders that fill it from the index files, and ListWords, which lists vocabulary by position.
//
// Word table, data/index1.dat + tag (little-endian):
//   0        4    N, number of records
//   4+112k   112  record of word ID k: key as 51 UTF-16 units (key, U+0000, zeros), 2 zero
//                 bytes, then the 64-bit offset of the key's posting block in the posting file
// Sentence table, data/index2.dat + tag:
//   0        4    M, number of sentences
//   4+8j     8    offset of the record of sentence j in the sentence record file
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/key_table.h"
#include "corpus/mapped_file.h"
#include "corpus/string_list.h"

namespace tamrel {

inline constexpr size_t kMaxKeyUnits = 50;    // prefix included
inline constexpr size_t kKeyFieldUnits = 51;  // key plus terminator
inline constexpr size_t kWordRecordBytes = 112;

struct CorpusIndex {
  CorpusIndex() = default;
  explicit CorpusIndex(std::u16string_view corpusTag) : tag(corpusTag) {}
  CorpusIndex(const CorpusIndex&) = delete;
  CorpusIndex& operator=(const CorpusIndex&) = delete;
  CorpusIndex(CorpusIndex&&) = default;
  CorpusIndex& operator=(CorpusIndex&&) = default;

  std::u16string tag;                     // "BI" or "MO"
  StringList words;                       // every key (prefix included) by word ID
  std::vector<uint64_t> postingOffsets;   // by word ID: the key's posting block offset
  KeyTable wordIds;                       // key -> word ID (a repeated key: its last record)
  StringList englishWords;                // "2" keys without prefix, in word ID order
  StringList chineseWords;                // "0" keys without prefix, less 。、「」
  std::vector<uint64_t> sentenceOffsets;  // by sentence ID

  // The posting file and the sentence record file, mapped by the loaders so that queries read
  // them without opening them again; a file that could not be mapped is read at each query.
  MappedFile postingFile;
  MappedFile sentenceRecordFile;

  std::optional<uint32_t> WordId(std::u16string_view key) const { return wordIds.Find(words, key); }
  bool HasKey(std::u16string_view key) const { return WordId(key).has_value(); }
  // Offset of the posting block of `key`, when the key is in the table.
  std::optional<uint64_t> PostingOffset(std::u16string_view key) const;
};

// Reads data/index1.dat + tag into `index` (words, postingOffsets, wordIds), appends to
// englishWords and chineseWords, and maps the posting file. 0 on success; -1 when the file cannot be opened or is
// damaged (shorter than its count announces, or a key without terminator); `index` is unchanged then.
int LoadWordTable(CorpusIndex& index);

// Reads data/index2.dat + tag into sentenceOffsets and maps the sentence record file. 0 on success; -1 when the file
// cannot be opened or is shorter than its count announces; `index` is unchanged then.
int LoadSentenceTable(CorpusIndex& index);

// Sets the tag and loads the word table and, when it loaded, the sentence table, as the program
// does at start. 0 when both loaded, -1 otherwise (what loaded before the failure stays).
int LoadCorpus(CorpusIndex& index, std::u16string_view tag);

// Lines "i:word" for i = start ... while below start + maxCount and inside the chosen list:
// englishWords when `language` is exactly "2", chineseWords otherwise.
std::vector<std::u16string> ListWords(const CorpusIndex& index, int32_t start, std::u16string_view language,
                                      int32_t maxCount);

}  // namespace tamrel
