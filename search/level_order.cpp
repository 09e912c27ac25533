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

// Whether the searched word's bucket counts against a sentence at `level`.
bool CountsAbove(uint8_t bucket, int level) { return bucket >= level && bucket < kCountedBuckets; }

}  // namespace

std::vector<int32_t> LevelOrderedIds(std::vector<LevelTerm>& terms, const LevelRanking& ranking, size_t limit) {
  const SentenceLevels& levels = *ranking.levels;
  const int level = ranking.level;
  for (LevelTerm& term : terms) {
    if (!std::is_sorted(term.ids.begin(), term.ids.end())) std::sort(term.ids.begin(), term.ids.end());
  }
  TopK top(limit);
  if (terms.size() == 1) {
    // One term: every sentence scores alike, and the postings of a sentence lie side by side, so
    // one pass counts how often it holds the word.
    const LevelTerm& term = terms[0];
    const bool counts = CountsAbove(term.bucket, level);
    const std::vector<int32_t>& ids = term.ids;
    for (size_t i = 0; i < ids.size();) {
      size_t j = i + 1;
      while (j < ids.size() && ids[j] == ids[i]) ++j;
      const unsigned searched = counts ? static_cast<unsigned>(j - i) : 0;
      top.Offer({term.weight, KeyAtLevel(levels, ids[i], level, searched), ids[i]});
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
  std::vector<uint16_t> searched(candidates.size(), 0);
  for (const LevelTerm& term : terms) {
    if (!CountsAbove(term.bucket, level)) continue;
    size_t c = 0;
    for (int32_t id : term.ids) {
      while (c < candidates.size() && candidates[c].sentenceId < id) ++c;
      if (c < candidates.size() && candidates[c].sentenceId == id && searched[c] < UINT16_MAX) ++searched[c];
    }
  }
  for (size_t c = 0; c < candidates.size(); ++c) {
    const int32_t id = candidates[c].sentenceId;
    top.Offer({candidates[c].score, KeyAtLevel(levels, id, level, searched[c]), id});
  }
  return top.Ids();
}

}  // namespace tamrel
