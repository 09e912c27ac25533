// The best sentences read from posting lists in place must be those the full merge ranks, in the
// same order, whatever the lists: equal weights, lists of very different lengths, many lists,
// IDs far apart, and any number of results asked.
#include "search/top_ranked.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "files/byte_coding.h"
#include "search/search_core.h"

namespace tamrel {
namespace {

using Ids = std::vector<int32_t>;

// Posting lists held as the posting file holds their IDs, so that TopRankedIds reads them in place.
class Lists {
 public:
  void Add(const Ids& ids, int64_t weight) {
    std::string bytes;
    for (int32_t id : ids) PutFixed32(bytes, static_cast<uint32_t>(id));
    bytes_.push_back(std::move(bytes));
    ids_.push_back(ids);
    weights_.push_back(weight);
  }

  Ids Top(size_t limit) const {
    std::vector<WeightedPostings> lists;
    for (size_t i = 0; i < ids_.size(); ++i) {
      lists.push_back({{bytes_[i].data(), static_cast<uint32_t>(ids_[i].size())}, weights_[i]});
    }
    return TopRankedIds(lists, limit);
  }

  // What the search ranked before it read lists in place: every list merged, then ranked.
  Ids Merged(size_t limit) const {
    std::vector<Candidate> candidates;
    for (size_t i = 0; i < ids_.size(); ++i) MergeTerm(candidates, ids_[i], weights_[i]);
    return RankCandidates(candidates, limit);
  }

 private:
  std::vector<std::string> bytes_;
  std::vector<Ids> ids_;
  std::vector<int64_t> weights_;
};

// `n` distinct ascending IDs drawn from [from, from + span).
Ids RandomIds(std::mt19937& rng, size_t n, int64_t from, int64_t span) {
  std::set<int64_t> ids;
  n = std::min<size_t>(n, static_cast<size_t>(span));
  while (ids.size() < n) ids.insert(from + static_cast<int64_t>(rng() % static_cast<uint64_t>(span)));
  Ids out;
  for (int64_t id : ids) out.push_back(static_cast<int32_t>(id));
  return out;
}

TEST(TopRankedTest, SmallCases) {
  Lists lists;
  lists.Add({1, 4, 7}, 3);
  lists.Add({0, 4, 9}, 10);
  EXPECT_EQ(lists.Top(20), (Ids{4, 0, 9, 1, 7}));
  EXPECT_EQ(lists.Top(2), (Ids{4, 0}));
  EXPECT_EQ(lists.Top(0), Ids{});
  EXPECT_EQ(Lists().Top(20), Ids{});
  Lists empty;
  empty.Add({}, 3);
  empty.Add({5}, 3);
  EXPECT_EQ(empty.Top(20), Ids{5});
}

// Twenty sentences hold both terms only far down a long list: they come first, then the lowest
// IDs of the rest; the long list is searched, not walked.
TEST(TopRankedTest, RareTermAgainstALongList) {
  Ids all, rare;
  for (int32_t i = 0; i < 200000; ++i) all.push_back(i);
  for (int32_t i = 0; i < 30; ++i) rare.push_back(150000 + 97 * i);
  for (int64_t weight : {3, 10, 20}) {
    Lists lists;
    lists.Add(all, 3);
    lists.Add(rare, weight);
    EXPECT_EQ(lists.Top(20), lists.Merged(20)) << "weight " << weight;
    EXPECT_EQ(lists.Top(20).front(), 150000);
  }
}

// Negative IDs and IDs near the ends of the 32-bit range rank by their value like any others.
TEST(TopRankedTest, IdsAtTheEndsOfTheRange) {
  Lists lists;
  lists.Add({INT32_MIN, -5, 0, INT32_MAX}, 6);
  lists.Add({-5, INT32_MAX}, 6);
  lists.Add({INT32_MIN, INT32_MAX}, 3);
  EXPECT_EQ(lists.Top(20), (Ids{INT32_MAX, -5, INT32_MIN, 0}));
  EXPECT_EQ(lists.Top(20), lists.Merged(20));
}

// Random lists against the merge: up to 16 lists, weights from a few values (so that many are
// equal) or from a wide range, lengths from 0 to thousands in one query, IDs dense or sparse.
TEST(TopRankedTest, RandomListsRankAsTheMerge) {
  std::mt19937 rng(21);
  for (int round = 0; round < 3000; ++round) {
    Lists lists;
    const size_t count = 1 + rng() % 16;
    const int64_t span = round % 3 == 0 ? 64 : round % 3 == 1 ? 5000 : 2000000;
    for (size_t i = 0; i < count; ++i) {
      const size_t length = rng() % 4 == 0 ? rng() % 4000 : rng() % 4 == 0 ? rng() % 3 : rng() % 60;
      const int64_t weight = round % 2 == 0 ? std::vector<int64_t>{3, 6, 8, 10}[rng() % 4] : 1 + rng() % 40;
      lists.Add(RandomIds(rng, length, static_cast<int64_t>(rng() % 100) - 50, span), weight);
    }
    for (size_t limit : {size_t{20}, size_t{1}, size_t{7}, size_t{100}}) {
      ASSERT_EQ(lists.Top(limit), lists.Merged(limit)) << "round " << round << ", limit " << limit;
    }
  }
}

}  // namespace
}  // namespace tamrel
