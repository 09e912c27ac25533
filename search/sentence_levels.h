// How hard each sentence of a corpus is for a learner, in the form that lets a search order the
// sentences it finds for any HSK level cheaply: each word of the word table has a level bucket
// (HSK 1 ... 6, 7-9, not in HSK, or not a Chinese word at all), and each sentence counts its
// Chinese words in each bucket. A search at level N then asks of a sentence how many of its words
// lie above N, without reading its record. Made from the dictionary's levels (explorer/) and kept
// in a file beside the index files (search/level_file.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamrel {

// Buckets 0-5 are HSK 1-6, then:
inline constexpr uint8_t kBucketAdvanced = 6;    // HSK 7-9
inline constexpr uint8_t kBucketNotInHsk = 7;    // a Chinese word the HSK list does not hold
inline constexpr uint8_t kBucketNotChinese = 8;  // punctuation, a number, Latin text: never counted
inline constexpr size_t kCountedBuckets = 8;     // the buckets a sentence counts (all but the last)

inline constexpr int kMinLevel = 1;
inline constexpr int kMaxLevel = 6;

// A comfortable example is about 6 to 20 Chinese words long: shorter ones give little context,
// longer ones bury the word (what studies of dictionary examples and graded readers settle on).
inline constexpr unsigned kComfortableMin = 6;
inline constexpr unsigned kComfortableMax = 20;

struct SentenceLevels {
  std::vector<uint8_t> wordBuckets;  // by word ID
  // By sentence ID, kCountedBuckets counts each (255 at most: more is counted as 255).
  std::vector<std::array<uint8_t, kCountedBuckets>> sentences;

  bool operator==(const SentenceLevels&) const = default;
  uint8_t BucketOf(uint32_t wordId) const {
    return wordId < wordBuckets.size() ? wordBuckets[wordId] : kBucketNotChinese;
  }
};

// The place of one sentence in the order of a level, the smaller the easier (compared member by
// member, then by sentence ID).
struct LevelKey {
  uint8_t kind = 0;      // 0: within the level; 1: words above it; 2: no Chinese word (or unknown)
  uint16_t above = 0;    // Chinese words above the level, the searched ones left out
  uint16_t outside = 0;  // how far its Chinese word count lies outside the comfortable window
  bool operator<(const LevelKey& o) const {
    if (kind != o.kind) return kind < o.kind;
    if (above != o.above) return above < o.above;
    return outside < o.outside;
  }
  bool operator==(const LevelKey&) const = default;
};

// The key of sentence `id` at `level` (1-6), with `searchedAbove` of its words above the level
// being searched words (not held against it). An ID the table does not cover gets kind 2.
LevelKey KeyAtLevel(const SentenceLevels& levels, int64_t id, int level, unsigned searchedAbove);

// The highest bucket among the Chinese words of sentence `id`, or kBucketNotChinese when it has
// none (or the table does not cover it): what a result's level badge shows.
uint8_t HighestBucket(const SentenceLevels& levels, int64_t id);

// The order of a search at a level: the sentence with the level set and the table to use.
struct LevelRanking {
  const SentenceLevels* levels = nullptr;
  int level = 0;  // 0: no level (corpus order as always); else 1-6
  bool active() const { return levels != nullptr && level >= kMinLevel && level <= kMaxLevel; }
};

}  // namespace tamrel
