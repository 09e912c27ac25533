// The HSK 3.0 level of each word as the dictionary file gives it (its HSK column), read once for
// making the sentence levels of a corpus: a word with several entries takes the lowest level.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "files/status.h"

namespace tamrel {

struct HskLevels {
  std::unordered_map<std::u16string, uint8_t> bucketOf;  // simplified word -> bucket (0-5: HSK 1-6, 6: 7-9)
  uint64_t digest = 0;  // of every (word, level) pair in file order: what a level file is made with
};

// Reads the levels from the dictionary's bytes (resources/lexicon/dictionary.tsv); lines it cannot
// read are skipped.
HskLevels ParseHskLevels(std::string_view dictionary);

// The same from the file at `path`.
[[nodiscard]] Status ReadHskLevels(const std::filesystem::path& path, HskLevels& levels);

}  // namespace tamrel
