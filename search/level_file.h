// The level file of a corpus, data/levels.dat + tag: the sentence levels (search/sentence_levels.h)
// of the index in place, so that a search at a level does not read every sentence record first.
// It belongs to one build of the index (its stamp, word and sentence counts) and to one set of
// dictionary levels (a digest of them); a file that is missing, damaged, of another version or
// made for another build or dictionary is not used, and the loader makes the levels again. The
// four index files do not depend on it.
//
// Layout, little-endian:
//   0    8   magic "TMRLLEVL"
//   8    4   version (1)
//   12   4   W, number of words (= the word table's count)
//   16   8   M, number of sentences (= the sentence table's count)
//   24   8   build stamp of the index (corpus/index_commit.h)
//   32   8   digest of the dictionary's levels it was made with
//   40   8   digest of every byte after the header (Digest64)
//   48   16  zero
//   64   W   bucket of each word
//   ..   8M  counts of each sentence, kCountedBuckets bytes each
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/status.h"
#include "search/sentence_levels.h"

namespace tamrel {

inline constexpr size_t kLevelFileHeaderBytes = 64;

std::filesystem::path LevelFileName(const std::filesystem::path& root, std::u16string_view tag);

// What the file must have been made for.
struct LevelFileIdentity {
  uint64_t words = 0;
  uint64_t sentences = 0;
  uint64_t stamp = 0;
  uint64_t dictionary = 0;  // digest of the dictionary's levels
};

std::string EncodeLevelFile(const SentenceLevels& levels, const LevelFileIdentity& identity);

// Reads the levels back from `file` (its bytes). Fails, leaving `levels` unchanged, when the file
// was made for another identity or breaks its layout (a bucket out of range included).
[[nodiscard]] Status DecodeLevelFile(const std::filesystem::path& path, std::string_view file,
                                     const LevelFileIdentity& identity, SentenceLevels& levels);

// Writes the file of corpus `tag` in `root` through a staged file renamed into place, so that a
// load never reads one half written; a file cut short by a crash fails its checks.
[[nodiscard]] Status WriteLevelFile(const std::filesystem::path& root, std::u16string_view tag,
                                    const SentenceLevels& levels, const LevelFileIdentity& identity);

}  // namespace tamrel
