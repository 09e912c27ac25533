// One entry of the dictionary as the look-ups return it: a CC-CEDICT headword with one reading,
// its senses in CC-CEDICT's order, classifiers, the senses its "see X" references lead to, its
// HSK 3.0 level and how frequent the word is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamrel {

// HSK 3.0 levels 1-6, and the advanced band 7-9, which the list does not split.
enum class HskLevel : uint8_t { kNone = 0, k1, k2, k3, k4, k5, k6, k7To9 };

// How common a word is, from its frequency rank: a coarse label a learner reads at a glance.
enum class FrequencyBand : uint8_t { kUnknown, kVeryCommon, kCommon, kLessCommon, kRare };

struct DictionaryEntry {
  std::u16string simplified;
  std::u16string traditional;               // the simplified form again when CC-CEDICT gives no other
  std::vector<std::u16string> syllables;    // of the reading, tone marks, one per character
  std::vector<std::u16string> senses;       // CC-CEDICT's, its order and text
  std::vector<std::u16string> classifiers;  // "个[gè]"
  std::vector<std::u16string> referred;     // senses of the entries a "see X" sense names
  HskLevel hsk = HskLevel::kNone;
  // For a one-character headword, the character's level (resources/lexicon/README.md says how it
  // is derived from the word list); kNone for longer words and characters the list never uses.
  HskLevel characterHsk = HskLevel::kNone;
  uint32_t frequencyRank = 0;  // 1 for the most frequent word; 0 when unknown

  bool operator==(const DictionaryEntry&) const = default;
};

// The reading as pinyin writes a word: syllables joined, an apostrophe before a syllable that
// starts with a, o or e after another (píngguǒ, Xī'ān), a space before a capitalised one (the
// names of a proper noun: Xián'ān Qū).
std::u16string JoinedPinyin(const std::vector<std::u16string>& syllables);

// "1" to "6", "7-9", or empty for kNone.
std::u16string HskText(HskLevel level);

// The band of `rank` (0: unknown): the first 1,000 words very common, to 5,000 common, to 20,000
// less common, beyond rare.
FrequencyBand BandOfRank(uint32_t rank);

}  // namespace tamrel
