// The sentence levels of a loaded corpus (search/sentence_levels.h): made from its sentence
// records and the dictionary's HSK levels, and kept in its level file (search/level_file.h) so
// that they are made once per build of the index, at the first search at a level after it.
#pragma once

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
// that the file could not be written (the levels are then made again next time).
[[nodiscard]] Status LoadSentenceLevels(const CorpusIndex& index, const HskLevels& hsk, SentenceLevels& levels);

}  // namespace tamrel
