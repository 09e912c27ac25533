#include "search/sentence_levels.h"

#include <algorithm>

namespace tamrel {

LevelKey KeyAtLevel(const SentenceLevels& levels, int64_t id, int level, unsigned searchedAbove) {
  LevelKey key;
  if (id < 0 || static_cast<uint64_t>(id) >= levels.sentences.size()) {
    key.kind = 2;
    return key;
  }
  const auto& counts = levels.sentences[static_cast<size_t>(id)];
  unsigned words = 0;
  unsigned above = 0;
  for (size_t b = 0; b < kCountedBuckets; ++b) {
    words += counts[b];
    if (b >= static_cast<size_t>(level)) above += counts[b];
  }
  above -= std::min(above, searchedAbove);
  key.kind = words == 0 ? 2 : (above == 0 ? 0 : 1);
  key.above = static_cast<uint16_t>(above);
  key.outside = static_cast<uint16_t>(words < kComfortableMin   ? kComfortableMin - words
                                      : words > kComfortableMax ? words - kComfortableMax
                                                                : 0);
  return key;
}

uint8_t HighestBucket(const SentenceLevels& levels, int64_t id) {
  if (id < 0 || static_cast<uint64_t>(id) >= levels.sentences.size()) return kBucketNotChinese;
  const auto& counts = levels.sentences[static_cast<size_t>(id)];
  for (size_t b = kCountedBuckets; b-- > 0;) {
    if (counts[b] > 0) return static_cast<uint8_t>(b);
  }
  return kBucketNotChinese;
}

}  // namespace tamrel
