#include "search/top_ranked.h"

#include <algorithm>
#include <limits>

namespace tamrel {

namespace {

constexpr int64_t kEnd = std::numeric_limits<int64_t>::max();  // past the last posting

// A position in one posting list, with the ID there (kEnd past the end).
class Cursor {
 public:
  Cursor(const WeightedPostings& list) : ids_(list.ids), weight_(list.weight) { Load(); }

  int64_t id() const { return id_; }
  int64_t weight() const { return weight_; }
  uint32_t count() const { return ids_.count; }
  void Next() {
    ++pos_;
    Load();
  }

  // Moves to the first posting whose ID is not below `target`: steps of 1, 2, 4, ... postings
  // until one passes it, then a binary search in the last step, so that a skip over n postings
  // costs about 2 log2(n) reads.
  void SeekTo(int64_t target) {
    if (id_ >= target) return;
    size_t below = pos_;  // an ID below target
    size_t step = 1;
    size_t probe = below + 1;
    while (probe < ids_.count && ids_[probe] < target) {
      below = probe;
      step *= 2;
      probe = below + step;
    }
    size_t lo = below + 1;
    size_t hi = std::min<size_t>(probe, ids_.count);  // ids_[hi] >= target, or hi is the end
    while (lo < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      if (ids_[mid] < target) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    pos_ = lo;
    Load();
  }

 private:
  void Load() { id_ = pos_ < ids_.count ? ids_[pos_] : kEnd; }

  PostingIds ids_;
  int64_t weight_;
  size_t pos_ = 0;
  int64_t id_ = kEnd;
};

struct Found {
  int64_t score;
  int32_t id;
};

// Orders the kept sentences as the ranking does, best first; a heap by it holds the worst kept
// sentence at its front.
bool Better(const Found& a, const Found& b) { return a.score > b.score || (a.score == b.score && a.id < b.id); }

}  // namespace

// Sentences are taken in ascending ID order from the lists still walked (the essential ones); a
// later sentence enters the k kept only with a score above the k-th best (equal scores keep the
// lower ID), so once k are kept, a list set whose weights sum to no more than the k-th best score
// can name no new entrant by itself. The lists are ordered by weight (the longer first among equal
// weights), and the longest prefix of them that sums that low is only searched for the sentences
// the rest name; the search stops when every list is in that prefix or the rest are walked out.
std::vector<int32_t> TopRankedIds(const std::vector<WeightedPostings>& lists, size_t limit) {
  std::vector<int32_t> ids;
  if (limit == 0) return ids;
  std::vector<Cursor> cursors(lists.begin(), lists.end());
  std::sort(cursors.begin(), cursors.end(), [](const Cursor& a, const Cursor& b) {
    return a.weight() < b.weight() || (a.weight() == b.weight() && a.count() > b.count());
  });
  std::vector<int64_t> upTo(cursors.size());  // upTo[i]: the weights of lists 0 ... i summed
  int64_t sum = 0;
  for (size_t i = 0; i < cursors.size(); ++i) upTo[i] = sum += cursors[i].weight();

  std::vector<Found> kept;  // a heap, worst at the front
  kept.reserve(limit);
  int64_t threshold = 0;  // the k-th best score, once k are kept
  size_t walked = 0;      // lists before it are only searched
  const size_t n = cursors.size();
  for (;;) {
    if (kept.size() == limit) {
      while (walked < n && upTo[walked] <= threshold) ++walked;
      if (walked == n) break;
    }
    int64_t id = kEnd;
    for (size_t i = walked; i < n; ++i) id = std::min(id, cursors[i].id());
    if (id == kEnd) break;
    int64_t score = 0;
    for (size_t i = walked; i < n; ++i) {
      if (cursors[i].id() == id) {
        score += cursors[i].weight();
        cursors[i].Next();
      }
    }
    // The searched lists, heaviest first, while they can still lift the score above the k-th.
    for (size_t i = walked; i-- > 0;) {
      if (score + upTo[i] <= threshold) break;
      cursors[i].SeekTo(id);
      if (cursors[i].id() == id) score += cursors[i].weight();
    }
    const Found found{score, static_cast<int32_t>(id)};
    if (kept.size() < limit) {
      kept.push_back(found);
      std::push_heap(kept.begin(), kept.end(), Better);
    } else if (score > threshold) {
      std::pop_heap(kept.begin(), kept.end(), Better);
      kept.back() = found;
      std::push_heap(kept.begin(), kept.end(), Better);
    }
    if (kept.size() == limit) threshold = kept.front().score;
  }
  std::sort(kept.begin(), kept.end(), Better);
  ids.reserve(kept.size());
  for (const Found& f : kept) ids.push_back(f.id);
  return ids;
}

}  // namespace tamrel
