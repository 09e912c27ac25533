// The sentence levels of a loaded corpus (search/sentence_levels.h): made from its sentence
// records and the dictionary's HSK levels, and kept in its level file (search/level_file.h) so
// that they are made once per build of the index, at the first search at a level after it.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "corpus/corpus_index.h"
#include "explorer/hsk_levels.h"
#include "files/status.h"
#include "search/sentence_levels.h"

namespace tamrel {

// The bucket of one word of the word table, by its key (prefix included): a Chinese word's HSK
// bucket, kBucketNotInHsk for one the list lacks, kBucketNotChinese for punctuation, numbers,
// Latin text and every English or pinyin key.
uint8_t WordBucket(std::u16string_view key, const HskLevels& hsk);

// The levels of `index` made from its records (a record that cannot be read counts no word).
SentenceLevels MakeSentenceLevels(const CorpusIndex& index, const HskLevels& hsk);

// The levels of `index`: from its level file when that was made for this build and these HSK
// levels, else made now and written to the file. `levels` is filled either way; the status tells
// that the file could not be written, or was not because the build stamp read differently after
// (the levels are then made again next time).
[[nodiscard]] Status LoadSentenceLevels(const CorpusIndex& index, const HskLevels& hsk, SentenceLevels& levels);

// After a build or an import: the level file of each corpus of `tags` in `root`, made from the
// index now in place and the levels of the dictionary FindDictionary finds (every Chinese word
// not in HSK without one, as a search at a level counts them), unless the file there was made for
// this build and these levels. So the first search at a level need not make it. Fails with the
// first corpus that cannot be loaded or whose file cannot be written; a search at a level makes
// that one later.
[[nodiscard]] Status MakeLevelFiles(const std::filesystem::path& root, std::initializer_list<std::u16string_view> tags);

// The same with the levels `hsk`.
[[nodiscard]] Status MakeLevelFiles(const std::filesystem::path& root, std::initializer_list<std::u16string_view> tags,
                                    const HskLevels& hsk);

}  // namespace tamrel
