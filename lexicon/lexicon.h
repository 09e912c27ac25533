// Lexicon: the Chinese words that segmentation and pinyin know (resources/lexicon/lexicon.tsv),
// each with a unigram log probability and its pinyin readings, the common reading first. Loaded
// once, read-only afterwards; lookups of a word and of every prefix of one are one hash probe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/status.h"

namespace tamrel {

class Lexicon {
 public:
  // One word, or a prefix of some word that is not itself a word (kept so that a lattice walk
  // knows when to stop extending).
  struct Entry {
    uint32_t hash = 0;
    uint32_t keyOffset = 0;
    uint16_t keyLength = 0;
    uint16_t readingCount = 0;  // 0 for a prefix, or a word whose characters have no reading
    uint32_t firstReading = 0;  // index into the reading table
    float logProbability = 0;   // of the word among all words; meaningless for a prefix
    bool isWord = false;
  };

  // The longest word the file may hold, in UTF-16 units; longer ones are refused as damage.
  static constexpr size_t kMaxWordLength = 64;

  // Reads `file`: NotFound when it is missing, IoError when it cannot be read, InvalidInput
  // naming the line of the first line that breaks the layout. On failure the lexicon is empty.
  [[nodiscard]] Status Load(const std::filesystem::path& file);
  // The same from bytes already in memory; `file` only names them in a refusal.
  [[nodiscard]] Status Parse(std::string_view bytes, const std::filesystem::path& file);

  // The entry of `key` (a word or a prefix of one), or null. `hash` must be HashOf(key).
  const Entry* Find(std::u16string_view key, uint32_t hash) const;
  const Entry* Find(std::u16string_view key) const { return Find(key, HashOf(key)); }
  // The word entry of `word`, or null when `word` is not a word.
  const Entry* FindWord(std::u16string_view word) const;

  // Hash of a key, extendable one unit at a time: HashOf(k + c) == ExtendHash(HashOf(k), c).
  static constexpr uint32_t kHashSeed = 2166136261u;
  static uint32_t ExtendHash(uint32_t hash, char16_t unit) {
    return ((hash ^ static_cast<uint32_t>(unit & 0xFF)) * 16777619u ^ static_cast<uint32_t>(unit >> 8)) * 16777619u;
  }
  static uint32_t HashOf(std::u16string_view key) {
    uint32_t hash = kHashSeed;
    for (char16_t unit : key) hash = ExtendHash(hash, unit);
    return hash;
  }

  // Reading `index` of a word entry (0: the common one); empty past readingCount.
  std::u16string_view Reading(const Entry& entry, size_t index = 0) const;

  // Log probability given to one character that no word of the lexicon covers.
  float unknownLogProbability() const { return unknownLogProbability_; }
  size_t wordCount() const { return wordCount_; }
  bool empty() const { return wordCount_ == 0; }

 private:
  Entry* Insert(std::u16string_view key, uint32_t hash);
  void Grow();
  void Clear();
  void FillMissingReadings();

  std::u16string keys_;                                  // every key, back to back
  std::u16string readingText_;                           // every reading, back to back
  std::vector<std::pair<uint32_t, uint32_t>> readings_;  // (offset, length) into readingText_
  std::vector<Entry> entries_;
  std::vector<uint32_t> slots_;  // open addressing: entry index + 1, 0 when empty
  size_t wordCount_ = 0;
  float unknownLogProbability_ = 0;
};

}  // namespace tamrel
