#include "search/level_order.h"

#include <algorithm>

#include "search/search_core.h"

namespace tamrel {

namespace {

struct Ranked {
  int64_t score;
  LevelKey key;
  int32_t id;
};

bool Better(const Ranked& a, const Ranked& b) {
  if (a.score != b.score) return a.score > b.score;
  if (a.key < b.key) return true;
  if (b.key < a.key) return false;
  return a.id < b.id;
}

// Keeps the `limit` best offered sentences in a heap whose front is the worst kept.
class TopK {
 public:
  explicit TopK(size_t limit) : limit_(limit) { kept_.reserve(limit); }
  void Offer(const Ranked& r) {
    if (limit_ == 0) return;
    if (kept_.size() < limit_) {
      kept_.push_back(r);
      std::push_heap(kept_.begin(), kept_.end(), Better);
    } else if (Better(r, kept_.front())) {
      std::pop_heap(kept_.begin(), kept_.end(), Better);
      kept_.back() = r;
      std::push_heap(kept_.begin(), kept_.end(), Better);
    }
  }
  // Whether nothing offered later can enter: every kept sentence scores `best` and has the best
  // key there is, and later sentences come with higher IDs.
  bool Closed(int64_t best) const {
    return limit_ == 0 || (kept_.size() == limit_ && kept_.front().score == best && kept_.front().key == LevelKey{});
  }
  std::vector<int32_t> Ids() {
    std::sort(kept_.begin(), kept_.end(), Better);
    std::vector<int32_t> ids;
    ids.reserve(kept_.size());
    for (const Ranked& r : kept_) ids.push_back(r.id);
    return ids;
  }

 private:
  size_t limit_;
  std::vector<Ranked> kept_;
};

// How often posting `i` of `term` says its sentence holds the word: at least once.
unsigned Held(const LevelTerm& term, size_t i) {
  return i < term.counts.size() && term.counts[i] > 1 ? static_cast<unsigned>(std::min(term.counts[i], 0xFFFF)) : 1;
}

// Orders the postings of `term` by ID, their counts with them (a built index holds them so).
void SortById(LevelTerm& term) {
  if (std::is_sorted(term.ids.begin(), term.ids.end())) return;
  std::vector<size_t> order(term.ids.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return term.ids[a] < term.ids[b]; });
  LevelTerm sorted;
  for (size_t i : order) {
    sorted.ids.push_back(term.ids[i]);
    sorted.counts.push_back(i < term.counts.size() ? term.counts[i] : 1);
  }
  term.ids = std::move(sorted.ids);
  term.counts = std::move(sorted.counts);
}

// Whether the searched word's bucket counts against a sentence at `level`.
bool CountsAbove(uint8_t bucket, int level) { return bucket >= level && bucket < kCountedBuckets; }

}  // namespace

std::vector<int32_t> LevelOrderedIds(std::vector<LevelTerm>& terms, const LevelRanking& ranking, size_t limit) {
  const SentenceLevels& levels = *ranking.levels;
  const int level = ranking.level;
  for (LevelTerm& term : terms) SortById(term);
  TopK top(limit);
  if (terms.size() == 1) {
    // One term: every sentence scores alike, and the postings of a sentence lie side by side, so
    // one pass counts how often it holds the word.
    const LevelTerm& term = terms[0];
    const bool counts = CountsAbove(term.bucket, level);
    const std::vector<int32_t>& ids = term.ids;
    for (size_t i = 0; i < ids.size();) {
      unsigned held = Held(term, i);
      size_t j = i + 1;
      for (; j < ids.size() && ids[j] == ids[i]; ++j) held += Held(term, j);
      top.Offer({term.weight, KeyAtLevel(levels, ids[i], level, counts ? held : 0), ids[i]});
      if (top.Closed(term.weight)) break;  // a common word: the first easy sentences fill the page
      i = j;
    }
    return top.Ids();
  }
  // Several terms: each sentence once, scoring the weights of the terms that hold it.
  CandidateMerger merger;
  for (const LevelTerm& term : terms) {
    std::vector<int32_t> distinct = term.ids;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    merger.Add(distinct, term.weight);
  }
  const std::vector<Candidate> candidates = merger.Finish();
  std::vector<unsigned> searched(candidates.size(), 0);
  for (const LevelTerm& term : terms) {
    if (!CountsAbove(term.bucket, level)) continue;
    size_t c = 0;
    for (size_t i = 0; i < term.ids.size(); ++i) {
      while (c < candidates.size() && candidates[c].sentenceId < term.ids[i]) ++c;
      if (c < candidates.size() && candidates[c].sentenceId == term.ids[i]) searched[c] += Held(term, i);
    }
  }
  int64_t best = 0;
  for (const LevelTerm& term : terms) best += term.weight;
  for (size_t c = 0; c < candidates.size(); ++c) {
    const int32_t id = candidates[c].sentenceId;
    top.Offer({candidates[c].score, KeyAtLevel(levels, id, level, searched[c]), id});
    if (top.Closed(best)) break;
  }
  return top.Ids();
}

}  // namespace tamrel
