#include "search/search_core.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "corpus/index_records.h"
#include "search/level_order.h"
#include "search/query.h"
#include "search/top_ranked.h"

namespace tamrel {

namespace {

// A posting block of the query that holds postings, with the summed weight of the terms that
// name it.
struct FoundTerm {
  uint64_t offset = 0;
  int64_t weight = 0;
  PostingIds ids;       // its IDs in the mapped posting file; only the count when the file is not mapped
  uint32_t wordId = 0;  // of the term that named it first
};

// 3, 6, 8 or 10 by word ID: the most frequent keys have the smallest word IDs and weigh least.
int WeightOfWordId(uint32_t id) {
  if (id < 10) return 3;
  if (id < 20) return 6;
  if (id < 100) return 8;
  return 10;
}

// Whether every block of `terms` lists strictly ascending IDs (checked once per block and
// remembered with the index).
bool AllAscending(const CorpusIndex& index, const std::vector<FoundTerm>& terms) {
  PostingOrder* order = index.postingOrder();
  if (order == nullptr) return false;
  for (const FoundTerm& term : terms) {
    if (!order->Ascending(term.offset, term.ids)) return false;
  }
  return true;
}

// The text of a token block: each word without its prefix, followed by one space. False when a
// word ID lies outside the word table.
bool BlockText(const CorpusIndex& index, const TokenIds& ids, std::u16string& text) {
  const StringList& words = index.words();
  const WordTexts& texts = index.wordTexts();
  size_t length = 0;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] >= texts.size()) return false;
    length += texts.Length(words, ids[i]) + 1;
  }
  // Sized once with room for a whole slot past the end, filled in place, then cut to the text.
  text.resize(length + WordTexts::kInlineUnits);
  char16_t* out = text.data();
  for (size_t i = 0; i < ids.size(); ++i) {
    out = texts.Copy(words, ids[i], out);
    *out++ = u' ';
  }
  text.resize(length);
  return true;
}

}  // namespace

int TermWeight(const CorpusIndex& index, std::u16string_view normalisedTerm) {
  const auto id = index.WordId(NormalisedTermKey(normalisedTerm));
  return id ? WeightOfWordId(*id) : 10;
}

namespace {

// Fills `sentence` from a record already read.
bool RecordText(const CorpusIndex& index, const SentenceRecordView& record, ResultSentence& sentence) {
  return BlockText(index, record.chinese, sentence.chinese) && BlockText(index, record.pinyin, sentence.pinyin) &&
         BlockText(index, record.english, sentence.english);
}

void PrefetchWords(const CorpusIndex& index, const TokenIds& ids) {
  const WordTexts& texts = index.wordTexts();
  for (size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] < texts.size()) texts.PrefetchSlot(ids[i]);
  }
}

// Appends the sentences of `ids` to `results`, leaving out those that cannot be read. The records
// are read first and their words fetched ahead, so that the memory reads of all the sentences
// overlap instead of waiting one after the other. With `levels`, each is given its hardest bucket.
void AppendSentences(const CorpusIndex& index, const std::vector<int32_t>& ids, std::vector<ResultSentence>& results,
                     const SentenceLevels* levels) {
  MappedFile temporary;
  std::string_view file;
  if (ids.empty() || !SentenceRecordBytes(index, temporary, file)) return;
  std::vector<SentenceRecordView> records(ids.size());  // views into `file`, gone with it
  thread_local std::vector<bool> readable;
  readable.assign(ids.size(), false);
  results.reserve(results.size() + ids.size());
  for (int32_t id : ids) PrefetchSentenceRecord(index, id);
  for (size_t i = 0; i < ids.size(); ++i) readable[i] = ViewSentenceRecord(index, file, ids[i], records[i]);
  // The slots of all the words. The few texts too long for their slot are not fetched ahead:
  // finding them would wait for every slot before any text is made, which cost more than it saved.
  for (size_t i = 0; i < ids.size(); ++i) {
    if (!readable[i]) continue;
    PrefetchWords(index, records[i].chinese);
    PrefetchWords(index, records[i].pinyin);
    PrefetchWords(index, records[i].english);
  }
  for (size_t i = 0; i < ids.size(); ++i) {
    if (!readable[i]) continue;
    results.emplace_back();
    if (!RecordText(index, records[i], results.back())) {
      results.pop_back();  // left out, never shown twice
    } else if (levels != nullptr) {
      results.back().hardest = HighestBucket(*levels, ids[i]);
    }
  }
}

}  // namespace

void MergeTerm(std::vector<Candidate>& candidates, const std::vector<int32_t>& ids, int64_t weight) {
  // The same walk as inserting into the candidate list in place, written into a second list so
  // that it costs linear time; the second list is kept between calls to spare its allocation.
  thread_local std::vector<Candidate> merged;
  merged.clear();
  merged.reserve(candidates.size() + ids.size());
  size_t i = 0;
  size_t j = 0;
  while (j < ids.size()) {
    if (i == candidates.size()) {
      for (; j < ids.size(); ++j) merged.push_back({ids[j], weight});
      break;
    }
    if (ids[j] == candidates[i].sentenceId) {
      merged.push_back({candidates[i].sentenceId, candidates[i].score + weight});
      ++i;
      ++j;
    } else if (ids[j] < candidates[i].sentenceId) {
      merged.push_back({ids[j], weight});
      ++j;
    } else {
      merged.push_back(candidates[i]);
      ++i;
    }
  }
  merged.insert(merged.end(), candidates.begin() + static_cast<std::ptrdiff_t>(i), candidates.end());
  candidates.swap(merged);
}

namespace {

// Two candidate lists in ascending ID order merged into one by the walk of MergeTerm: a common ID
// adds the scores, the lower ID goes first.
std::vector<Candidate> MergeRuns(const std::vector<Candidate>& a, const std::vector<Candidate>& b) {
  std::vector<Candidate> merged;
  merged.reserve(a.size() + b.size());
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].sentenceId == b[j].sentenceId) {
      merged.push_back({a[i].sentenceId, a[i].score + b[j].score});
      ++i;
      ++j;
    } else if (a[i].sentenceId < b[j].sentenceId) {
      merged.push_back(a[i++]);
    } else {
      merged.push_back(b[j++]);
    }
  }
  merged.insert(merged.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
  merged.insert(merged.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
  return merged;
}

}  // namespace

// Why the order of the merges does not matter for ascending lists: merging such lists keeps the
// candidates in ascending ID order, and the walk pairs the r-th candidate of an ID with the r-th
// posting of that ID. So the r-th candidate of an ID scores the summed weights of the lists
// holding that ID at least r times (one candidate per ID when no list repeats an ID), whichever
// lists were merged first. A list out of order is walked into the single run of all lists before
// it, as MergeTerm always did, since there the order changes the outcome; so is every list after it.
void CandidateMerger::Add(const std::vector<int32_t>& ids, int64_t weight) {
  if (inOrder_ && !std::is_sorted(ids.begin(), ids.end())) {
    Collapse(true);
    inOrder_ = false;
  }
  if (!inOrder_) {
    if (runs_.empty()) runs_.emplace_back();
    MergeTerm(runs_[0].candidates, ids, weight);
    return;
  }
  Run run;
  run.candidates.reserve(ids.size());
  for (int32_t id : ids) run.candidates.push_back({id, weight});
  run.lists = 1;
  runs_.push_back(std::move(run));
  Collapse(false);
}

// Merges the last two runs while they merge equally many lists (all of them when `all`).
void CandidateMerger::Collapse(bool all) {
  while (runs_.size() >= 2 && (all || runs_[runs_.size() - 2].lists <= runs_.back().lists)) {
    Run& a = runs_[runs_.size() - 2];
    a.candidates = MergeRuns(a.candidates, runs_.back().candidates);
    a.lists += runs_.back().lists;
    runs_.pop_back();
  }
}

std::vector<Candidate> CandidateMerger::Finish() {
  Collapse(true);
  std::vector<Candidate> candidates;
  if (!runs_.empty()) candidates = std::move(runs_[0].candidates);
  runs_.clear();
  inOrder_ = true;
  return candidates;
}

std::vector<int32_t> RankCandidates(const std::vector<Candidate>& candidates, size_t limit) {
  std::vector<Candidate> ranked;  // never longer than limit + 1
  ranked.reserve(limit + 1);
  for (const Candidate& c : candidates) {
    if (ranked.size() >= limit && (limit == 0 || c.score <= ranked[limit - 1].score)) continue;
    auto at = ranked.begin();
    while (at != ranked.end() && at->score >= c.score) ++at;
    ranked.insert(at, c);
    if (ranked.size() > limit) ranked.pop_back();
  }
  std::vector<int32_t> ids;
  ids.reserve(ranked.size());
  for (const Candidate& c : ranked) ids.push_back(c.sentenceId);
  return ids;
}

// Up to this many distinct lists a query merges them one after another (as cheap as it gets for
// the few terms of a typical query); beyond it, in pairs. Both give the same candidates.
constexpr size_t kSequentialMergeLimit = 8;

// Up to this many distinct lists, all ascending, a query takes its best sentences straight from
// the lists (search/top_ranked.h), reading only the postings it needs. Each sentence it takes
// costs a look at every list still walked, so beyond this the merge in pairs is the cheaper.
constexpr size_t kTopRankedLimit = 16;

size_t CountSentences(const CorpusIndex& index, std::u16string_view term) {
  const auto offset = index.PostingOffset(TermKey(term).key);
  if (!offset) return 0;
  // A sentence that holds the word twice has two postings, next to each other in an ascending
  // block; an out-of-order block is counted as it comes.
  const auto distinct = [](const auto& ids, size_t count) {
    size_t sentences = 0;
    for (size_t i = 0; i < count; ++i) {
      if (i == 0 || ids[i] != ids[i - 1]) ++sentences;
    }
    return sentences;
  };
  PostingIds view;
  if (ViewPostingIds(index, *offset, view)) return distinct(view, view.count);
  PostingBlock block;
  if (!ReadPostingBlock(index, *offset, block)) return 0;
  return distinct(block.sentenceIds, block.sentenceIds.size());
}

void SearchCorpus(std::u16string_view typedQuery, const CorpusIndex& index, std::vector<ResultSentence>& results,
                  size_t skipped, const LevelRanking& ranking) {
  const size_t limit = skipped + kMaxResults;
  std::u16string query(typedQuery);
  NormaliseQuery(query);
  // Terms whose blocks hold postings, each distinct block once in order of first appearance, with
  // the summed weight of all its occurrences. Each term is looked up once here; each block is
  // read below (only its head for a one-term query).
  //
  // Merging a block once with k times its weight ranks exactly as merging it k times, for blocks
  // in ascending ID order as every built index holds them: the r-th candidate of an ID scores the
  // summed weights of the lists holding that ID at least r times, whatever the order of the
  // merges (see CandidateMerger), so a list merged k times adds k times its weight to the same
  // candidates. Merging every occurrence again cost O(occurrences × block size): a query of one
  // common word repeated thousands of times took seconds.
  std::vector<FoundTerm> kept;
  constexpr size_t kEmptyBlock = SIZE_MAX;
  std::unordered_map<uint64_t, size_t> keptAt;  // block offset -> its entry in `kept`, or kEmptyBlock
  size_t occurrences = 0;                       // found terms counting repeats
  const bool mapped = index.postingFile().IsOpen();
  PostingBlock block;
  for (const std::u16string& term : SplitTerms(query)) {
    const TermKeyResult key = TermKey(term);
    const auto wordId = index.WordId(key.key);  // the ID TermWeight would look up again
    if (!wordId) continue;
    const auto offset = index.PostingOffsetOf(*wordId);
    if (!offset) continue;
    const auto [at, isNew] = keptAt.try_emplace(*offset, kept.size());
    if (isNew) {
      FoundTerm found{*offset, WeightOfWordId(*wordId), {}, *wordId};
      bool readable = false;
      if (mapped) {
        readable = ViewPostingIds(index, *offset, found.ids);
      } else {
        readable = ReadPostingBlock(index, *offset, block, 0);
        found.ids.count = block.count;
      }
      if (!readable || found.ids.count == 0) {
        at->second = kEmptyBlock;  // remembered, so that its repeats skip the read too
        continue;
      }
      kept.push_back(found);
    } else if (at->second == kEmptyBlock) {
      continue;
    } else {
      // Each occurrence adds its own weight: one merge with w1 + w2 equals merges with w1 and w2.
      kept[at->second].weight += WeightOfWordId(*wordId);
    }
    ++occurrences;
  }
  if (kept.empty()) return;

  std::vector<int32_t> chosen;
  if (ranking.active()) {
    // At a level every posting is weighed (search/level_order.h).
    std::vector<LevelTerm> terms;
    terms.reserve(kept.size());
    // One term of a long block: its head first, which for a common word already holds a page of
    // the easiest sentences; the whole block only when it does not.
    constexpr size_t kHead = 4096;
    if (kept.size() == 1 && ReadPostingBlock(index, kept[0].offset, block, kHead) && block.count > kHead) {
      std::vector<LevelTerm> head{{std::move(block.sentenceIds), std::move(block.secondValues), kept[0].weight,
                                   ranking.levels->BucketOf(kept[0].wordId)}};
      bool settled = false;
      chosen = LevelOrderedIds(head, ranking, limit, &settled);
      if (settled) kept.clear();
    }
    for (const FoundTerm& term : kept) {
      // The whole block: its second values tell how often each sentence holds the word.
      if (!ReadPostingBlock(index, term.offset, block)) continue;  // the file changed under us
      LevelTerm level{std::move(block.sentenceIds), std::move(block.secondValues), term.weight,
                      ranking.levels->BucketOf(term.wordId)};
      terms.push_back(std::move(level));
    }
    if (!terms.empty())
      chosen = LevelOrderedIds(terms, ranking, limit);
    else if (!kept.empty())
      chosen.clear();
  } else if (occurrences == 1) {
    // Unranked: the first 20 IDs in block order are all that is shown. A term given twice is
    // ranked like any other query of two terms.
    if (mapped) {
      const PostingIds& ids = kept[0].ids;
      chosen.resize(std::min<size_t>(ids.count, limit));
      for (size_t i = 0; i < chosen.size(); ++i) chosen[i] = ids[i];
    } else if (ReadPostingBlock(index, kept[0].offset, block, limit)) {
      chosen = std::move(block.sentenceIds);
    }
  } else if (mapped && kept.size() <= kTopRankedLimit && AllAscending(index, kept)) {
    // The ranking of the merge, read from the lists in place (search/top_ranked.h): on ascending
    // lists each sentence is one candidate scoring the weights of the lists that hold it.
    std::vector<WeightedPostings> lists;
    lists.reserve(kept.size());
    for (const FoundTerm& term : kept) lists.push_back({term.ids, term.weight});
    chosen = TopRankedIds(lists, limit);
  } else if (kept.size() <= kSequentialMergeLimit) {
    // A few lists: merged one after another into one candidate list, which costs least.
    std::vector<Candidate> candidates;
    for (const FoundTerm& term : kept) {
      if (!ReadPostingBlock(index, term.offset, block)) continue;  // the file changed under us
      MergeTerm(candidates, block.sentenceIds, term.weight);
    }
    chosen = RankCandidates(candidates, limit);
  } else {
    // Many lists: merged in pairs, so the work grows with postings × log(lists), not lists².
    CandidateMerger merger;
    for (const FoundTerm& term : kept) {
      if (!ReadPostingBlock(index, term.offset, block)) continue;
      merger.Add(block.sentenceIds, term.weight);
    }
    chosen = RankCandidates(merger.Finish(), limit);
  }
  // The ranking is a total order (score, then candidate order), so that the best `limit` begin
  // with the best `skipped`: what is left is the page after them.
  chosen.erase(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(std::min(skipped, chosen.size())));
  AppendSentences(index, chosen, results, ranking.active() ? ranking.levels : nullptr);
}

}  // namespace tamrel
