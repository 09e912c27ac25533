// How often Chinese and English words occur in the same sentence pair of a bilingual corpus, for
// the Dice coefficient that fills the aligner's gaps where the dictionary has no link. Learned
// from a corpus's sents.final file (three lines a pair: Chinese words, pinyin, English) when the
// aligner is made; English words counted as EnglishKey gives them (lower case), each word once a pair.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/status.h"

namespace tamrel {

class CooccurrenceTable {
 public:
  // The pairs of a corpus counted at most: enough for the Dice coefficients of the words that
  // matter, and a bound on the time and memory of a large corpus (the 1,000,000 pairs of the
  // syn1M benchmark corpus take 22 s and 1 GB, its first 30,000 about 1.5 s; the 27,155 Tatoeba
  // pairs 0.3 s).
  static constexpr size_t kMaxPairs = 30000;

  // Counts the first `maxPairs` pairs of `file`. NotFound or IoError when it cannot be read; a
  // last pair without its English line is left out.
  [[nodiscard]] Status Learn(const std::filesystem::path& file, size_t maxPairs = kMaxPairs);
  // Counts one pair: Chinese words as given, English tokens (counted as EnglishKey gives them).
  void Add(const std::vector<std::string_view>& chinese, const std::vector<std::string>& english);

  // The number of a word counted, or kUnknown.
  static constexpr uint32_t kUnknown = UINT32_MAX;
  uint32_t ChineseId(std::string_view chinese) const;
  uint32_t EnglishId(std::string_view englishKey) const;

  // 2 * pairs(zh, en) / (pairs(zh) + pairs(en)); 0 when either word is unknown or they met fewer
  // than `minimum` times.
  double Dice(uint32_t chinese, uint32_t english, uint32_t minimum = 2) const;
  double Dice(std::string_view chinese, std::string_view englishLower, uint32_t minimum = 2) const {
    return Dice(ChineseId(chinese), EnglishId(englishLower), minimum);
  }

  size_t pairs() const { return pairs_; }

 private:
  // Looked up by string_view without making a string.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  using Ids = std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>>;

  uint32_t Id(Ids& ids, std::vector<uint32_t>& counts, std::string_view w);

  Ids zhIds_, enIds_;
  std::vector<uint32_t> zhCounts_, enCounts_;
  std::unordered_map<uint64_t, uint32_t> together_;
  size_t pairs_ = 0;
};

}  // namespace tamrel
