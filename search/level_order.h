// The best sentences of a query at a learner's level: the search's score first, as without a
// level; among equal scores the sentences within the level (every Chinese word other than the
// searched ones at the level or below), then fewer words above the level, then a length nearer
// the comfortable window, then corpus order. Every matching sentence is weighed, not only the
// first ones, so that the best of all of them come first; each sentence is listed once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/sentence_levels.h"

namespace tamrel {

// The postings of one distinct query term: its sentence IDs with the second value of each (how
// often the sentence holds the word), the summed weight of its occurrences in the query, and the
// word's bucket.
struct LevelTerm {
  std::vector<int32_t> ids;
  std::vector<int32_t> counts;  // beside `ids`; a missing or non-positive value counts once
  int64_t weight = 0;
  uint8_t bucket = kBucketNotChinese;
};

// The IDs of the best `limit` sentences of `terms` by the order above, best first. A sentence
// scores the summed weights of the terms that hold it. `ranking` must be active. For one term in
// ascending order, `settled` (when given) tells that the page filled with the best sentences there
// are before the last posting, so that postings after those given could not change it: a caller
// may then give the head of a long block first.
std::vector<int32_t> LevelOrderedIds(std::vector<LevelTerm>& terms, const LevelRanking& ranking, size_t limit,
                                     bool* settled = nullptr);

}  // namespace tamrel
