#include "search/level_order.h"

#include <algorithm>

#include "search/search_core.h"
#include "search/top_ranked.h"

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

std::vector<int32_t> LevelOrderedIds(std::vector<LevelTerm>& terms, const LevelRanking& ranking, size_t limit,
                                     bool* settled) {
  if (settled != nullptr) *settled = false;
  const bool ascending = terms.size() == 1 && std::is_sorted(terms[0].ids.begin(), terms[0].ids.end());
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
      if (top.Closed(term.weight)) {  // a common word: the first easy sentences fill the page
        if (settled != nullptr) *settled = ascending;
        break;
      }
      i = j;
    }
    return top.Ids();
  }
  // Several terms: each sentence once, scoring the weights of the terms that hold it. The score
  // comes first, so only sentences scoring at least the k-th best score found without levels
  // (search/top_ranked.h) can be shown; a sentence outside every list of a set whose weights sum
  // below that score cannot reach it, so only the lists outside the largest such set are walked,
  // and each sentence they name is looked up in the others.
  std::vector<std::vector<int32_t>> distinct(terms.size());
  std::vector<WeightedPostings> lists;
  for (size_t t = 0; t < terms.size(); ++t) {
    distinct[t] = terms[t].ids;
    distinct[t].erase(std::unique(distinct[t].begin(), distinct[t].end()), distinct[t].end());
    // Read in place as a posting block is (little-endian, as the index files).
    lists.push_back({{reinterpret_cast<const char*>(distinct[t].data()), static_cast<uint32_t>(distinct[t].size())},
                     terms[t].weight});
  }
  const auto scoreOf = [&](int32_t id) {
    int64_t score = 0;
    for (size_t t = 0; t < terms.size(); ++t) {
      if (std::binary_search(distinct[t].begin(), distinct[t].end(), id)) score += terms[t].weight;
    }
    return score;
  };
  const std::vector<int32_t> plain = TopRankedIds(lists, limit);
  const int64_t least = plain.size() < limit || plain.empty() ? 0 : scoreOf(plain.back());
  std::vector<size_t> byWeight(terms.size());
  for (size_t t = 0; t < byWeight.size(); ++t) byWeight[t] = t;
  std::sort(byWeight.begin(), byWeight.end(), [&](size_t a, size_t b) { return terms[a].weight < terms[b].weight; });
  std::vector<int32_t> walked;
  int64_t below = 0;
  for (size_t t : byWeight) {
    below += terms[t].weight;
    if (below >= least) walked.insert(walked.end(), distinct[t].begin(), distinct[t].end());
  }
  std::sort(walked.begin(), walked.end());
  walked.erase(std::unique(walked.begin(), walked.end()), walked.end());
  for (int32_t id : walked) {
    const int64_t score = scoreOf(id);
    if (score < least) continue;
    unsigned searched = 0;
    for (const LevelTerm& term : terms) {
      if (!CountsAbove(term.bucket, level)) continue;
      const auto [from, to] = std::equal_range(term.ids.begin(), term.ids.end(), id);
      for (auto at = from; at != to; ++at) searched += Held(term, static_cast<size_t>(at - term.ids.begin()));
    }
    top.Offer({score, KeyAtLevel(levels, id, level, searched), id});
  }
  return top.Ids();
}

}  // namespace tamrel
