#include "search/search_core.h"

#include "corpus/index_records.h"
#include "search/query.h"

namespace tamrel {

namespace {

// Whether the block of `term` holds postings, without reading them.
uint32_t PostingCount(const CorpusIndex& index, std::u16string_view term) {
  TermPostings probe;
  return static_cast<uint32_t>(FetchPostings(index, term, probe, 0));
}

bool AppendText(const CorpusIndex& index, const std::vector<uint32_t>& ids, std::u16string& text) {
  text.clear();
  for (uint32_t id : ids) {
    if (id >= index.words.size()) return false;
    const std::u16string_view key = index.words[id];
    if (!key.empty()) text.append(key.substr(1));
    text.push_back(u' ');
  }
  return true;
}

}  // namespace

size_t FetchPostings(const CorpusIndex& index, std::u16string_view term, TermPostings& postings, uint32_t limit) {
  const TermKeyResult key = TermKey(term);
  postings.term = key.normalised;
  postings.sentenceIds.clear();
  postings.secondValues.clear();
  const auto offset = index.PostingOffset(key.key);
  if (!offset) return 0;
  PostingBlock block;
  if (ReadPostingBlock(index, *offset, block, limit) < 0) return 0;
  postings.sentenceIds = std::move(block.sentenceIds);
  postings.secondValues = std::move(block.secondValues);
  return block.count;
}

int TermWeight(const CorpusIndex& index, std::u16string_view normalisedTerm) {
  const auto id = index.WordId(NormalisedTermKey(normalisedTerm));
  if (!id) return 10;
  if (*id < 10) return 3;
  if (*id < 20) return 6;
  if (*id < 100) return 8;
  return 10;
}

bool ReadSentence(const CorpusIndex& index, int64_t sentenceId, ResultSentence& sentence) {
  SentenceRecord record;
  if (ReadSentenceRecord(index, sentenceId, record) < 0) return false;
  return AppendText(index, record.chinese, sentence.chinese) && AppendText(index, record.pinyin, sentence.pinyin) &&
         AppendText(index, record.english, sentence.english);
}

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

void SearchCorpus(std::u16string& query, const CorpusIndex& index, std::vector<ResultSentence>& results) {
  NormaliseQuery(query);
  // Terms whose blocks hold postings, in query order; a repeated term is kept twice.
  std::vector<std::u16string> kept;
  for (const std::u16string& term : SplitTerms(query)) {
    if (PostingCount(index, term) > 0) kept.push_back(term);
  }
  if (kept.empty()) return;

  std::vector<int32_t> chosen;
  if (kept.size() == 1) {
    // Unranked: the first 20 IDs in block order are all that is shown.
    TermPostings only;
    FetchPostings(index, kept[0], only, kMaxResults);
    chosen = std::move(only.sentenceIds);
  } else {
    std::vector<Candidate> candidates;
    for (const std::u16string& term : kept) {
      TermPostings postings;
      FetchPostings(index, term, postings);
      MergeTerm(candidates, postings.sentenceIds, TermWeight(index, postings.term));
    }
    chosen = RankCandidates(candidates);
  }

  ResultSentence sentence;
  for (int32_t id : chosen) {
    if (ReadSentence(index, id, sentence)) results.push_back(sentence);
  }
}

}  // namespace tamrel
