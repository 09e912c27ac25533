// The search of one corpus: the posting blocks of the query's terms give scored candidates, the
// best 20 are kept (a one-term query keeps its first 20 in block order, unranked) and read back as
// sentences. Ascending blocks (every built index's) are read in place only as far as the best 20
// need (search/top_ranked.h); the merge below ranks any others, and is what that reading matches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "search/sentence_levels.h"

namespace tamrel {

inline constexpr size_t kMaxResults = 20;

// One found sentence: each text is its words, each followed by one space.
struct ResultSentence {
  std::u16string chinese;
  std::u16string pinyin;
  std::u16string english;
  // Found at a level: the bucket of its hardest Chinese word (search/sentence_levels.h), which its
  // level badge shows; kBucketNotChinese without a level or a Chinese word.
  uint8_t hardest = kBucketNotChinese;
  bool operator==(const ResultSentence&) const = default;
};

// 3, 6, 8 or 10 by the word ID of the term's key (bounds 10, 20, 100); 10 when the key is absent.
int TermWeight(const CorpusIndex& index, std::u16string_view normalisedTerm);

struct Candidate {
  int32_t sentenceId;
  int64_t score;
};

// Merges `ids` (weight `weight`) into `candidates`, both in ascending sentence ID order: common IDs
// add the weight, new ones enter with it, in order.
void MergeTerm(std::vector<Candidate>& candidates, const std::vector<int32_t>& ids, int64_t weight);

// Merges the posting lists of distinct query terms into candidates: Finish gives the same list as
// MergeTerm of each added list in turn into an empty list. While the lists come in ascending
// order (a built index holds them so), they are merged in pairs like a binary counter (the runs
// of 1, 2, 4, ... lists merged when two of a size meet), so that each posting is copied about
// log2(terms) times instead of once for every later term, and only log2(terms) runs are kept.
// From the first list out of order on, the lists are walked one after the other.
class CandidateMerger {
 public:
  void Add(const std::vector<int32_t>& ids, int64_t weight);
  std::vector<Candidate> Finish();

 private:
  struct Run {
    std::vector<Candidate> candidates;
    size_t lists = 0;  // how many lists it merges
  };
  void Collapse(bool all);

  std::vector<Run> runs_;  // fewer lists in each later run
  bool inOrder_ = true;    // false from the first list out of order: runs_ then holds one run
};

// The sentence IDs of the `limit` best candidates by descending score; equal scores keep
// candidate order, and a candidate that only ties the last kept score does not displace it.
std::vector<int32_t> RankCandidates(const std::vector<Candidate>& candidates, size_t limit = kMaxResults);

// How many sentences of `index` hold `term` (a term as a query holds it: "是", "apple"); 0 when
// the term is not in the word table or its posting block cannot be read.
size_t CountSentences(const CorpusIndex& index, std::u16string_view term);

// Searches `query` (normalised first, as NormaliseQuery does) in `index` and appends up to 20
// results to `results` (sentences whose record cannot be read are left out): the best 20, or with
// an `offset` the 20 after the best `offset` in the same order (the next page of results). With
// an active `ranking`, sentences of equal score come in the order of the learner's level
// (search/level_order.h) instead of corpus order.
void SearchCorpus(std::u16string_view query, const CorpusIndex& index, std::vector<ResultSentence>& results,
                  size_t offset = 0, const LevelRanking& ranking = {});

}  // namespace tamrel
