#include "corpus/posting_order.h"

#include <algorithm>

namespace tamrel {

bool StrictlyAscending(const PostingIds& ids) {
  // Checked in chunks without a branch per ID, so that the compiler can vectorise the compares;
  // a block out of order is rare enough that stopping at the end of its chunk costs nothing.
  constexpr size_t kChunk = 256;
  for (size_t start = 1; start < ids.count; start += kChunk) {
    const size_t end = std::min<size_t>(ids.count, start + kChunk);
    bool ascending = true;
    for (size_t i = start; i < end; ++i) ascending &= ids[i - 1] < ids[i];
    if (!ascending) return false;
  }
  return true;
}

bool PostingOrder::Ascending(uint64_t offset, const PostingIds& ids) {
  {
    std::lock_guard lock(mutex_);
    if (const auto it = known_.find(offset); it != known_.end()) return it->second;
  }
  // Checked outside the lock: two searches asking at once both check, and agree.
  const bool ascending = StrictlyAscending(ids);
  std::lock_guard lock(mutex_);
  known_.emplace(offset, ascending);
  return ascending;
}

}  // namespace tamrel
