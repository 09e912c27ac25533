#include "search/search_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/index_records.h"
#include "corpus/word_record.h"
#include "files/mapped_file.h"
#include "search/query.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::U32;
using test::U64;
using test::WriteBytes;
using Ids = std::vector<int32_t>;

// Passes when `status` is ok; otherwise shows which file failed and why.
::testing::AssertionResult Ok(const Status& status) {
  if (status.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.ToString();
}

// A corpus of 40 sentences whose English line is "sK", K being the sentence ID, and whose other
// lines are empty. The search words sit at chosen word IDs (which set their weights); every
// other of the first 501 dictionary lines is a filler key.
class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::map<int, std::string> words = {
        {5, "2alpha\t1:1 4:1 7:1"},           // weight 3
        {15, "2gamma\t2:1 3:1"},              // weight 6
        {30, "2delta\t"},                     // weight 8; 0 ... 24
        {31, "2epsilon\t"},                   // weight 8; 0 ... 24
        {40, "2zeta\t"},                      // 29, 28, ..., 0: not ascending
        {41, "2eta\t"},                       // 0 ... 39
        {42, "2theta\t3:1 3:1 5:1 5:1 6:1"},  // weight 8; sentences given twice
        {500, "2beta\t4:1 9:1"},              // weight 10
        {501, "0我\t3:1 99:1"},               // sentence 99 does not exist
    };
    for (int i = 0; i < 25; ++i) words[30] += std::to_string(i) + ":1 ", words[31] += std::to_string(i) + ":2 ";
    for (int i = 29; i >= 0; --i) words[40] += std::to_string(i) + ":1 ";
    for (int i = 0; i < 40; ++i) words[41] += std::to_string(i) + ":1 ";
    std::string dictionary, sentences;
    for (int i = 0; i <= 501; ++i) {
      dictionary += (words.count(i) ? words[i] : "0filler" + std::to_string(i) + "\t0:0") + "\n";
    }
    for (int k = 0; k < 40; ++k) {
      dictionary += "3s" + std::to_string(k) + "\t" + std::to_string(k) + ":1\n";
      sentences += "\n\ns" + std::to_string(k) + "\n";
    }
    test::BuildSmallCorpus(folder_.path(), u"BI", dictionary, sentences);
    Load();
  }

  void Load() {
    index_ = CorpusIndex(folder_.path(), u"BI");
    ASSERT_TRUE(Ok(LoadCorpus(index_)));
  }

  // The sentence IDs of the results, read back from their English lines.
  Ids Search(std::u16string query) {
    std::vector<ResultSentence> results;
    SearchCorpus(query, index_, results);
    Ids ids;
    for (const auto& r : results) {
      EXPECT_EQ(r.chinese, u"");
      EXPECT_EQ(r.english.substr(0, 1), u"s");
      EXPECT_EQ(r.english.back(), u' ');
      ids.push_back(ParseDecimal(std::u16string_view(r.english).substr(1)));
    }
    return ids;
  }

  std::filesystem::path FileName(CorpusFile f) const { return CorpusFileName(folder_.path(), f, u"BI"); }

  // Overwrites bytes of an index file with `value`, then loads the corpus again.
  void Patch(CorpusFile f, uint64_t at, std::string_view value) {
    std::string bytes = ReadBytes(FileName(f));
    ASSERT_LE(at + value.size(), bytes.size());
    bytes.replace(at, value.size(), value);
    WriteBytes(FileName(f), bytes);
    Load();
  }

  static Ids Range(int from, int to, int step = 1) {
    Ids ids;
    for (int i = from; step > 0 ? i < to : i > to; i += step) ids.push_back(i);
    return ids;
  }

  RuntimeFolder folder_;
  CorpusIndex index_;
};

TEST_F(RankingTest, TwoTermsScoredByWeight) {
  // Scores: 1 -> 3, 4 -> 13, 7 -> 3, 9 -> 10.
  EXPECT_EQ(Search(u"alpha beta"), (Ids{4, 9, 1, 7}));
  EXPECT_EQ(Search(u"beta alpha"), (Ids{4, 9, 1, 7}));
  EXPECT_EQ(Search(u"Alpha, BETA."), (Ids{4, 9, 1, 7}));
}

TEST_F(RankingTest, RepeatedTermDoublesItsWeight) {
  EXPECT_EQ(Search(u"beta gamma"), (Ids{4, 9, 2, 3}));
  EXPECT_EQ(Search(u"beta gamma gamma"), (Ids{2, 3, 4, 9}));
  EXPECT_EQ(Search(u"gamma beta Gamma"), (Ids{2, 3, 4, 9}));
}

TEST_F(RankingTest, EqualScoresKeepTheLowestIds) {
  EXPECT_EQ(Search(u"delta epsilon"), Range(0, 20));
  // 0 ... 24 score 16 and 25 ... 39 score 8: the ties among the first 25 decide.
  EXPECT_EQ(Search(u"delta epsilon eta"), Range(0, 20));
  // 4 scores 8 + 8 + 3 + 10, 9 scores 8 + 8 + 10, 1 and 7 score 8 + 8 + 3, the rest of 0 ... 24 16.
  Ids expected = {4, 9, 1, 7};
  for (int i : Range(0, 20)) {
    if (i != 1 && i != 4 && i != 7 && i != 9) expected.push_back(i);
  }
  EXPECT_EQ(Search(u"delta epsilon alpha beta"), expected);
}

// Blocks out of order or naming a sentence twice (a dictionary written by hand) cannot be skipped
// through: their queries rank as the merge of the whole lists always did, asked once or again.
TEST_F(RankingTest, BlocksNotAscendingRankAsTheMerge) {
  auto merged = [](const std::vector<std::pair<Ids, int64_t>>& lists) {
    std::vector<Candidate> candidates;
    for (const auto& [ids, weight] : lists) MergeTerm(candidates, ids, weight);
    return RankCandidates(candidates);
  };
  const Ids zeta = Range(29, -1, -1);
  const Ids theta = {3, 3, 5, 5, 6};
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(Search(u"zeta beta"), merged({{zeta, 8}, {{4, 9}, 10}}));
    EXPECT_EQ(Search(u"beta zeta"), merged({{{4, 9}, 10}, {zeta, 8}}));
    EXPECT_EQ(Search(u"theta gamma"), merged({{theta, 8}, {{2, 3}, 6}}));
    EXPECT_EQ(Search(u"alpha theta theta"), merged({{{1, 4, 7}, 3}, {theta, 16}}));
  }
  // An ascending query beside them still ranks by the summed weights.
  EXPECT_EQ(Search(u"alpha beta"), (Ids{4, 9, 1, 7}));
}

TEST_F(RankingTest, OneTermKeepsBlockOrder) {
  EXPECT_EQ(Search(u"zeta"), Range(29, 9, -1));
  EXPECT_EQ(Search(u"eta"), Range(0, 20));
  // A term that is not found leaves a one-term query: unranked, block order.
  EXPECT_EQ(Search(u"zeta nowhere"), Range(29, 9, -1));
  EXPECT_EQ(Search(u"nowhere Zeta!"), Range(29, 9, -1));
  EXPECT_EQ(Search(u"gamma"), (Ids{2, 3}));
}

TEST_F(RankingTest, NothingFound) {
  EXPECT_EQ(Search(u"nowhere"), Ids{});
  EXPECT_EQ(Search(u" "), Ids{});
  EXPECT_EQ(Search(u"filler7"), Ids{});  // the key is 2filler, the dictionary has 0filler7
}

// The query is searched normalised (runs of spaces as one, no trailing space) and left as the
// caller gave it; results are appended to what the list holds.
TEST_F(RankingTest, QuerySearchedNormalisedAndResultsAppended) {
  const std::u16string query = u" alpha   beta ";
  std::vector<ResultSentence> results = {{u"kept", u"", u""}};
  SearchCorpus(query, index_, results);
  EXPECT_EQ(query, u" alpha   beta ");
  ASSERT_EQ(results.size(), 5u);
  EXPECT_EQ(results[0], (ResultSentence{u"kept", u"", u""}));
  EXPECT_EQ(results[1], (ResultSentence{u"", u"", u"s4 "}));
  std::vector<ResultSentence> normalised;
  SearchCorpus(u" alpha beta", index_, normalised);
  EXPECT_EQ(std::vector<ResultSentence>(results.begin() + 1, results.end()), normalised);
  SearchCorpus(u"nowhere  ", index_, results);
  EXPECT_EQ(results.size(), 5u);
}

// A sentence ID beyond the sentence table comes only from damaged files; that sentence is left out.
TEST_F(RankingTest, SentenceIdBeyondTheTableLeftOut) {
  EXPECT_EQ(Search(u"我"), (Ids{3}));
  EXPECT_EQ(Search(u"我 alpha"), (Ids{3, 1, 4, 7}));
}

// A word ID beyond the word table in a sentence record: that sentence is left out.
TEST_F(RankingTest, WordIdBeyondTheTableLeftOut) {
  // The English word of sentence 4 becomes the first ID past the table.
  Patch(CorpusFile::kSentenceRecords, 32 * 4 + 24, U32(static_cast<uint32_t>(index_.words().size())));
  EXPECT_EQ(Search(u"alpha beta"), (Ids{9, 1, 7}));
  Patch(CorpusFile::kSentenceRecords, 32 * 9 + 16, U32(0x7FFFFFFF));  // the count of its English block
  EXPECT_EQ(Search(u"alpha beta"), (Ids{1, 7}));
}

// A posting count reaching past the end of the posting file: the term is dropped.
TEST_F(RankingTest, PostingCountPastTheEndDropsTheTerm) {
  Patch(CorpusFile::kPostings, *index_.PostingOffset(u"2alpha"), U32(0x20000000));
  EXPECT_EQ(Search(u"alpha beta"), (Ids{4, 9}));
  EXPECT_EQ(Search(u"alpha"), Ids{});
  // A word table record whose posting offset lies far past the end of the posting file.
  const uint32_t beta = *index_.WordId(u"2beta");
  Patch(CorpusFile::kWordTable, 4 + uint64_t{beta} * kWordRecordBytes + kPostingOffsetField, U64(1ull << 40));
  ASSERT_EQ(index_.PostingOffset(u"2beta"), 1ull << 40);
  EXPECT_EQ(Search(u"alpha beta"), Ids{});
}

// When the record file cannot be read the found sentences are left out: no copies of an earlier
// sentence and no empty items.
TEST_F(RankingTest, UnreadableRecordFileGivesNoItems) {
  std::filesystem::remove(FileName(CorpusFile::kSentenceRecords));
  index_.SetSentenceRecordFile(MappedFile());  // as if the file had been missing at load
  std::vector<ResultSentence> results = {{u"kept", u"", u""}};
  std::u16string query = u"alpha beta";
  SearchCorpus(query, index_, results);
  EXPECT_EQ(results, (std::vector<ResultSentence>{{u"kept", u"", u""}}));
}

// Each query term is looked up as the search does it: its normalised key, the posting offset of
// that key, then the block at that offset, read up to a limit.
TEST_F(RankingTest, TermLookedUpThroughItsKey) {
  const TermKeyResult alpha = TermKey(u"Alpha.");
  EXPECT_EQ(alpha.normalised, u"alpha");
  EXPECT_EQ(alpha.key, u"2alpha");
  const auto offset = index_.PostingOffset(alpha.key);
  ASSERT_TRUE(offset.has_value());
  PostingBlock block;
  ASSERT_TRUE(ReadPostingBlock(index_, *offset, block));
  EXPECT_EQ(block.count, 3u);
  EXPECT_EQ(block.sentenceIds, (Ids{1, 4, 7}));
  EXPECT_EQ(block.secondValues, (Ids{1, 1, 1}));
  EXPECT_EQ(Search(u"Alpha."), (Ids{1, 4, 7}));

  const auto epsilon = index_.PostingOffset(TermKey(u"epsilon").key);
  ASSERT_TRUE(epsilon.has_value());
  ASSERT_TRUE(ReadPostingBlock(index_, *epsilon, block, 2));
  EXPECT_EQ(block.count, 25u);
  EXPECT_EQ(block.sentenceIds, (Ids{0, 1}));
  EXPECT_EQ(block.secondValues, (Ids{2, 2}));
  EXPECT_EQ(Search(u"epsilon"), Range(0, 20));  // a one-term query reads its block up to 20

  EXPECT_EQ(index_.PostingOffset(TermKey(u"nowhere").key), std::nullopt);
  EXPECT_EQ(Search(u"nowhere"), Ids{});

  std::filesystem::remove(FileName(CorpusFile::kPostings));
  index_.SetPostingFile(MappedFile());  // as if the file had been missing at load
  EXPECT_FALSE(ReadPostingBlock(index_, *offset, block));
  EXPECT_EQ(Search(u"alpha"), Ids{});
  EXPECT_EQ(Search(u"alpha beta"), Ids{});
}

// The record of a sentence holds the word IDs of its three lines; results show their words.
TEST_F(RankingTest, SentenceRecordsAndTheirTexts) {
  // The 502 lines before "3s0" give it word ID 502.
  ASSERT_EQ(index_.words()[506], u"3s4");
  SentenceRecord record;
  ASSERT_TRUE(ReadSentenceRecord(index_, 4, record));
  EXPECT_EQ(record.chinese, std::vector<uint32_t>{});
  EXPECT_EQ(record.pinyin, std::vector<uint32_t>{});
  EXPECT_EQ(record.english, std::vector<uint32_t>{506});
  ASSERT_TRUE(ReadSentenceRecord(index_, 39, record));
  EXPECT_EQ(record.english, std::vector<uint32_t>{541});
  EXPECT_FALSE(ReadSentenceRecord(index_, 40, record));
  EXPECT_FALSE(ReadSentenceRecord(index_, -1, record));

  std::vector<ResultSentence> results;
  std::u16string query = u"gamma";
  SearchCorpus(query, index_, results);
  EXPECT_EQ(results, (std::vector<ResultSentence>{{u"", u"", u"s2 "}, {u"", u"", u"s3 "}}));
}

TEST(TermWeightTest, BoundsByWordId) {
  // Weights come from the word table alone: the index has no files behind it.
  StringList words;
  for (int i = 0; i <= 100; ++i) {
    words.push_back(u"2w" + std::u16string{static_cast<char16_t>(u'a' + i / 26), static_cast<char16_t>(u'a' + i % 26)});
  }
  CorpusIndex index({}, u"BI");
  index.SetWordTable(words, std::vector<uint64_t>(words.size(), 0));
  const auto weight = [&](int id) { return TermWeight(index, std::u16string(index.words()[id]).substr(1)); };
  EXPECT_EQ(weight(0), 3);
  EXPECT_EQ(weight(9), 3);
  EXPECT_EQ(weight(10), 6);
  EXPECT_EQ(weight(19), 6);
  EXPECT_EQ(weight(20), 8);
  EXPECT_EQ(weight(99), 8);
  EXPECT_EQ(weight(100), 10);
  EXPECT_EQ(TermWeight(index, u"absent"), 10);
  EXPECT_EQ(TermWeight(index, u"Waa"), 10);  // weights are looked up by the normalised term only
}

TEST(MergeTermTest, WalkOverAscendingLists) {
  std::vector<Candidate> c;
  MergeTerm(c, {1, 4, 7}, 3);
  MergeTerm(c, {0, 4, 9}, 10);
  MergeTerm(c, {}, 6);
  ASSERT_EQ(c.size(), 5u);
  const Ids ids = {c[0].sentenceId, c[1].sentenceId, c[2].sentenceId, c[3].sentenceId, c[4].sentenceId};
  const std::vector<int64_t> scores = {c[0].score, c[1].score, c[2].score, c[3].score, c[4].score};
  EXPECT_EQ(ids, (Ids{0, 1, 4, 7, 9}));
  EXPECT_EQ(scores, (std::vector<int64_t>{10, 3, 13, 3, 10}));
}

bool SameCandidates(const std::vector<Candidate>& a, const std::vector<Candidate>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const Candidate& x, const Candidate& y) {
           return x.sentenceId == y.sentenceId && x.score == y.score;
         });
}

struct WeightedIds {
  std::vector<int32_t> ids;
  int64_t weight = 0;
};

// Random lists of IDs below 40, some IDs given twice within a list; out of order with the
// chance 1 in `unsorted` each (never when 0).
std::vector<WeightedIds> RandomLists(std::mt19937& rng, unsigned unsorted) {
  std::vector<WeightedIds> lists(1 + rng() % 12);
  for (auto& l : lists) {
    const size_t n = rng() % 25;
    for (size_t i = 0; i < n; ++i) l.ids.push_back(static_cast<int32_t>(rng() % 40));
    if (unsorted == 0 || rng() % unsorted != 0) std::sort(l.ids.begin(), l.ids.end());
    l.weight = 1 + rng() % 10;
  }
  return lists;
}

std::vector<Candidate> MergeTerms(const std::vector<WeightedIds>& lists) {
  CandidateMerger merger;
  for (const auto& l : lists) merger.Add(l.ids, l.weight);
  return merger.Finish();
}

std::vector<Candidate> OneAfterTheOther(const std::vector<WeightedIds>& lists) {
  std::vector<Candidate> c;
  for (const auto& l : lists) MergeTerm(c, l.ids, l.weight);
  return c;
}

TEST(CandidateMergerTest, SameCandidatesAsMergingOneAfterTheOther) {
  std::mt19937 rng(11);
  for (int round = 0; round < 2000; ++round) {
    const auto lists = RandomLists(rng, round % 2 == 0 ? 0 : 6);  // half the rounds with lists out of order
    ASSERT_TRUE(SameCandidates(MergeTerms(lists), OneAfterTheOther(lists))) << "round " << round;
  }
  EXPECT_TRUE(MergeTerms({}).empty());
  CandidateMerger merger;  // usable again after Finish
  merger.Add({5, 1}, 2);
  EXPECT_EQ(merger.Finish().size(), 2u);
  merger.Add({1, 5}, 2);
  merger.Add({5}, 3);
  EXPECT_TRUE(SameCandidates(merger.Finish(), {{1, 2}, {5, 5}}));
}

// The reason a repeated term is merged once: for ascending lists, merging one k times with its
// weight gives the candidates of merging it once with k times the weight, among any other lists.
TEST(CandidateMergerTest, RepeatedListEqualsOneListWithTheSummedWeight) {
  std::mt19937 rng(12);
  for (int round = 0; round < 2000; ++round) {
    auto lists = RandomLists(rng, 0);
    const size_t repeated = rng() % lists.size();
    const int k = 2 + static_cast<int>(rng() % 4);
    std::vector<WeightedIds> withRepeats = lists;
    for (int i = 1; i < k; ++i) {
      withRepeats.insert(withRepeats.begin() + static_cast<std::ptrdiff_t>(rng() % (withRepeats.size() + 1)),
                         lists[repeated]);
    }
    lists[repeated].weight *= k;
    ASSERT_TRUE(SameCandidates(OneAfterTheOther(withRepeats), MergeTerms(lists))) << "round " << round;
  }
}

TEST(RankCandidatesTest, TopTwentyByScoreThenId) {
  std::vector<Candidate> c;
  for (int i = 0; i < 20; ++i) c.push_back({i, 5});
  c.push_back({20, 5});  // ties the 20th score: does not displace it
  Ids first20;
  for (int i = 0; i < 20; ++i) first20.push_back(i);
  EXPECT_EQ(RankCandidates(c), first20);
  c.push_back({21, 6});  // beats it
  Ids expected = {21};
  for (int i = 0; i < 19; ++i) expected.push_back(i);
  EXPECT_EQ(RankCandidates(c), expected);
  EXPECT_EQ(RankCandidates({{3, 1}, {5, 9}, {6, 1}, {8, 9}}, 3), (Ids{5, 8, 3}));
  EXPECT_EQ(RankCandidates({{3, 1}}, 0), Ids{});
  EXPECT_EQ(RankCandidates({}), Ids{});
}

}  // namespace
}  // namespace tamrel
