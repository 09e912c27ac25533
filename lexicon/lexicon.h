// Lexicon: the Chinese words that segmentation and pinyin know (resources/lexicon/lexicon.tsv),
// each with a unigram log probability and its pinyin readings, the common reading first. Loaded
// once, read-only afterwards; each unit of a lookup is one hash probe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace tamrel {

class Lexicon {
 public:
  // One word, or a prefix of some word that is not itself a word (kept so that a lattice walk
  // knows when to stop extending).
  struct Entry {
    uint32_t keyOffset = 0;
    uint16_t keyLength = 0;
    uint16_t readingCount = 0;  // 0 for a prefix, or a word whose characters have no reading
    uint32_t firstReading = 0;  // index into the reading table
    float logProbability = 0;   // of the word among all words; meaningless for a prefix
    bool isWord = false;
  };

  // A step of a walk through the keys, one UTF-16 unit at a time: the key reached, as a node
  // to step on from, and whether it is a word. The keys form a trie whose edges live in one
  // hash table, so each step costs one probe and no string comparison.
  struct Step {
    uint32_t parent = 0;
    char16_t unit = 0;
    bool isWord = false;
    uint8_t childFilter = 0;  // FilterBit of every unit some longer key continues with from here
    float logProbability = 0;
    uint32_t node = 0;  // the entry index of the key reached
  };
  static constexpr uint32_t kRoot = 0xFFFFFFFFu;  // the empty key, where every walk starts

  // The longest word the file may hold, in UTF-16 units; longer ones are refused as damage.
  static constexpr size_t kMaxWordLength = 64;

  // Reads `file`: NotFound when it is missing, IoError when it cannot be read, InvalidInput
  // naming the line of the first line that breaks the layout. On failure the lexicon is empty.
  [[nodiscard]] Status Load(const std::filesystem::path& file);
  // The same from bytes already in memory; `file` only names them in a refusal.
  [[nodiscard]] Status Parse(std::string_view bytes, const std::filesystem::path& file);

  // The step from `node` (kRoot, or Step::node of an earlier step) on `unit`, or null when no
  // key continues that way.
  const Step* Next(uint32_t node, char16_t unit) const {
    if (node == kRoot && !rootSteps_.empty()) {
      const Step& step = rootSteps_[unit];
      return step.node == kEmpty ? nullptr : &step;
    }
    if (slots_.empty()) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t slot = SlotOf(node, unit) & mask;; slot = (slot + 1) & mask) {
      const Step& step = slots_[slot];
      if (step.node == kEmpty) return nullptr;
      if (step.parent == node && step.unit == unit) return &step;
    }
  }

  // The step on from `from` on `unit`, or null; most dead ends are told by the filter alone,
  // without touching the table.
  const Step* Next(const Step& from, char16_t unit) const {
    if ((from.childFilter & FilterBit(unit)) == 0) return nullptr;
    return Next(from.node, unit);
  }
  static uint8_t FilterBit(char16_t unit) { return static_cast<uint8_t>(1u << ((unit ^ (unit >> 3)) & 7)); }

  // The entry of `key` (a word or a prefix of one), or null.
  const Entry* Find(std::u16string_view key) const;
  // The word entry of `word`, or null when `word` is not a word.
  const Entry* FindWord(std::u16string_view word) const;

  // Reading `index` of a word entry (0: the common one); empty past readingCount.
  std::u16string_view Reading(const Entry& entry, size_t index = 0) const;

  // Log probability given to one character that no word of the lexicon covers.
  float unknownLogProbability() const { return unknownLogProbability_; }
  size_t wordCount() const { return wordCount_; }
  bool empty() const { return wordCount_ == 0; }

 private:
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // Step::node of a free slot
  static size_t SlotOf(uint32_t parent, char16_t unit) {
    uint64_t h = (static_cast<uint64_t>(parent) << 16 | unit) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 29);
  }
  // The entry index of key[0, length) whose parent is `parent`, made when it is not there.
  uint32_t Insert(uint32_t parent, char16_t unit, std::u16string_view key);
  void Place(const Step& step);
  void Clear();
  void FillMissingReadings();

  std::u16string keys_;                                  // every key, back to back
  std::u16string readingText_;                           // every reading, back to back
  std::vector<std::pair<uint32_t, uint32_t>> readings_;  // (offset, length) into readingText_
  std::vector<Entry> entries_;
  std::vector<Step> slots_;      // open addressing on (parent, unit)
  std::vector<Step> rootSteps_;  // the first steps again, by unit: every walk begins with one, so
                                 // they are looked up directly (and stay in the cache)
  size_t wordCount_ = 0;
  float unknownLogProbability_ = 0;
};

// Where the lexicon is: lexicon.tsv beside the running program (the build copies it there), else
// an installation's PREFIX/share/tamrel/lexicon.tsv for a program in PREFIX/bin, else the
// runtime folder's resources/lexicon/lexicon.tsv (the repository root is a runtime folder).
// Returns the first that is a file, or the last candidate when none is (for the message).
std::filesystem::path FindLexicon(const std::filesystem::path& root);

}  // namespace tamrel
