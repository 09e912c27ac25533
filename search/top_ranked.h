// The best sentences of a query read from its posting lists without merging them whole. A
// sentence scores the summed weights of the lists that hold it; the best come first, equal scores
// by lower sentence ID. Since every weight is known before a posting is read, so is the most a
// sentence found only in some of the lists can score: once the k best so far all score more than
// that, those lists are no longer walked but only searched (by galloping) for the sentences the
// other lists name, and once no sentence can beat the k-th best any more, nothing more is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "corpus/posting_ids.h"

namespace tamrel {

struct WeightedPostings {
  PostingIds ids;  // strictly ascending
  int64_t weight;  // above zero
};

// The IDs of the `limit` best sentences of `lists`, best first: the same IDs, in the same order,
// as RankCandidates of the candidates that MergeTerm of every list in turn gives (search_core.h),
// for lists of strictly ascending IDs with weights above zero.
std::vector<int32_t> TopRankedIds(const std::vector<WeightedPostings>& lists, size_t limit);

}  // namespace tamrel
