// CorpusIndex: the in-memory index of one corpus (its word table and sentence table, and the
// mapped posting and sentence record files), the two loaders that fill it from the index files,
// and ListWords, which lists vocabulary by position. The word table's keys and key lookup come
// from the key table file (corpus/key_table_file.h) when one made from that word table is there.
//
// Word table, data/index1.dat + tag (little-endian):
//   0        4    N, number of records
//   4+112k   112  record of word ID k (corpus/word_record.h)
// Sentence table, data/index2.dat + tag:
//   0        4    M, number of sentences
//   4+8j     8    offset of the record of sentence j in the sentence record file
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/key_table.h"
#include "corpus/posting_order.h"
#include "corpus/string_list.h"
#include "corpus/word_texts.h"
#include "files/mapped_file.h"
#include "files/status.h"

namespace tamrel {

class ReadingIndex;

class CorpusIndex {
 public:
  CorpusIndex() = default;
  // An empty index of corpus `tag` ("BI" or "MO") in the runtime folder `root`.
  CorpusIndex(std::filesystem::path root, std::u16string_view tag) : root_(std::move(root)), tag_(tag) {}
  CorpusIndex(const CorpusIndex&) = delete;
  CorpusIndex& operator=(const CorpusIndex&) = delete;
  CorpusIndex(CorpusIndex&&) = default;
  CorpusIndex& operator=(CorpusIndex&&) = default;

  const std::filesystem::path& root() const { return root_; }
  std::u16string_view tag() const { return tag_; }

  // Every key (prefix included) by word ID.
  const StringList& words() const { return words_; }
  // The text of each word as results show it, by word ID (made with the word table).
  const WordTexts& wordTexts() const { return wordTexts_; }
  std::optional<uint32_t> WordId(std::u16string_view key) const { return wordIds_.Find(words_, key); }
  bool HasKey(std::u16string_view key) const { return WordId(key).has_value(); }
  // The length in units of the longest "0" key, prefix left out, whose text begins with `first`:
  // 0 when none does. Lets the query segmenter try only the lengths a word could have.
  size_t LongestChineseKeyFrom(char16_t first) const {
    return longestChineseFrom_.empty() ? 0 : longestChineseFrom_[first];
  }
  // The word IDs of many keys at once (0 for a missing key), as the index build encodes lines.
  void FindWordIds(const std::vector<KeyPart>& parts, std::vector<uint32_t>& ids) const {
    wordIds_.FindAll(words_, parts, ids);
  }
  // Offset of the posting block of `key`, when the key is in the table (a repeated key: the
  // offset of its last record).
  std::optional<uint64_t> PostingOffset(std::u16string_view key) const;
  // Offset of the posting block of word `id`, when the ID is inside the word table.
  std::optional<uint64_t> PostingOffsetOf(uint32_t id) const {
    if (id >= postingOffsets_.size()) return std::nullopt;
    return postingOffsets_[id];
  }

  // The "2" keys without prefix, in word ID order; the "0" keys without prefix, less 。、「」.
  const StringList& englishWords() const { return englishWords_; }
  const StringList& chineseWords() const { return chineseWords_; }

  size_t sentenceCount() const { return sentenceOffsets_.size(); }
  // Offset of the record of `sentenceId`, when the ID is inside the sentence table.
  std::optional<uint64_t> SentenceOffset(int64_t sentenceId) const {
    if (sentenceId < 0 || static_cast<uint64_t>(sentenceId) >= sentenceOffsets_.size()) return std::nullopt;
    return sentenceOffsets_[static_cast<size_t>(sentenceId)];
  }

  // The posting file and the sentence record file as mapped by the loaders, so that queries read
  // them without opening them again; a file that could not be mapped is not open, and is then
  // read at each query.
  const MappedFile& postingFile() const { return postingFile_; }
  const MappedFile& sentenceRecordFile() const { return sentenceRecordFile_; }
  // Which blocks of the mapped posting file are in ascending order, as searches have found them
  // (kept with the file; null only in an index moved from).
  PostingOrder* postingOrder() const { return postingOrder_.get(); }

  // Replace the word table (and with it the key lookup and both word lists), the sentence table,
  // or a mapped file: the loaders and the index build fill an index through these.
  void SetWordTable(StringList words, std::vector<uint64_t> postingOffsets);
  // The same with the key lookup made beforehand over `words` (read from a key table file).
  void SetWordTable(StringList words, KeyTable wordIds, std::vector<uint64_t> postingOffsets);
  // The key lookup, as the build writes it into the key table file.
  const KeyTable& wordIds() const { return wordIds_; }
  void SetSentenceTable(std::vector<uint64_t> sentenceOffsets) {
    sentenceOffsets_ = std::move(sentenceOffsets);
    ForgetReadings();
  }
  void SetPostingFile(MappedFile file) {
    postingFile_ = std::move(file);
    postingOrder_ = std::make_unique<PostingOrder>();
  }
  void SetSentenceRecordFile(MappedFile file) {
    sentenceRecordFile_ = std::move(file);
    ForgetReadings();
  }

  // The readings of the corpus's Chinese words as its own pinyin lines give them
  // (corpus/reading_index.h), made from the loaded sentences at the first call and kept until the
  // word table, the sentence table or the record file is replaced. Safe to call from several
  // threads; a search keeps the readings it was given even when they are replaced meanwhile.
  std::shared_ptr<const ReadingIndex> readings() const;

 private:
  std::filesystem::path root_;
  std::u16string tag_;
  StringList words_;
  WordTexts wordTexts_;
  std::vector<uint64_t> postingOffsets_;  // by word ID
  KeyTable wordIds_;                      // key -> word ID (a repeated key: its last record)
  StringList englishWords_;
  StringList chineseWords_;
  std::vector<uint8_t> longestChineseFrom_;  // by first unit, capped at 255; empty without keys
  std::vector<uint64_t> sentenceOffsets_;    // by sentence ID
  MappedFile postingFile_;
  std::unique_ptr<PostingOrder> postingOrder_ = std::make_unique<PostingOrder>();
  MappedFile sentenceRecordFile_;
  // The readings, once made: behind a pointer so that the index stays movable.
  struct ReadingsCache {
    std::mutex mutex;
    std::shared_ptr<const ReadingIndex> made;
  };
  std::unique_ptr<ReadingsCache> readings_ = std::make_unique<ReadingsCache>();

  void ForgetReadings() { readings_ = std::make_unique<ReadingsCache>(); }
};

// Reads the word table of `index` (its root and tag) into it and maps the posting file. On
// failure (the file cannot be opened, is shorter than its count announces, or holds a key
// without terminator) `index` is unchanged.
//
// Every loader first finishes or undoes a commit that a killed build left (when no build holds
// the lock), and reads again until the files it read all come from one build, so that a build
// committing meanwhile cannot pair the tables of one build with the data of another
// (ReadFromOneBuild in corpus/index_commit.h); it fails only when the index never settles.
Status LoadWordTable(CorpusIndex& index);

// Reads the sentence table of `index` into it and maps the sentence record file. On failure (the
// file cannot be opened or is shorter than its count announces) `index` is unchanged.
Status LoadSentenceTable(CorpusIndex& index);

// Loads the word table and, when it loaded, the sentence table, as the program does at start,
// all four files from one build. What loaded before a failure stays.
Status LoadCorpus(CorpusIndex& index);

enum class Language { kEnglish, kChinese };

struct NumberedWord {
  int64_t position;
  std::u16string word;
  bool operator==(const NumberedWord&) const = default;
};

// The words at positions start ... while below start + maxCount and inside the English or the
// Chinese word list; none for a negative start.
std::vector<NumberedWord> ListWords(const CorpusIndex& index, int32_t start, Language language, int32_t maxCount);

}  // namespace tamrel
