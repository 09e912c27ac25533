// PostingOrder: which posting blocks of a loaded index list strictly ascending sentence IDs.
// Every prepared dictionary does (each sentence once, in order), but one written by hand may not,
// and a search that skips through blocks is exact only on ascending ones. A block is checked in
// full the first time a search asks, and the answer is kept for the life of the loaded posting
// file, so later searches of the word read only the postings they need.
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "corpus/posting_ids.h"

namespace tamrel {

// True when every ID of `ids` is greater than the one before it.
bool StrictlyAscending(const PostingIds& ids);

class PostingOrder {
 public:
  // Whether the block at `offset`, whose IDs are `ids`, is strictly ascending. Safe to call from
  // several threads.
  bool Ascending(uint64_t offset, const PostingIds& ids);

 private:
  std::mutex mutex_;
  std::unordered_map<uint64_t, bool> known_;  // block offset -> strictly ascending
};

}  // namespace tamrel
