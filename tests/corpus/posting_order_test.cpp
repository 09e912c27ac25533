// The order check of posting blocks: a fault either lets a search skip through a block out of
// order (wrong answers) or sends ascending ones to the slow merge.
#include "corpus/posting_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/byte_coding.h"

namespace tamrel {
namespace {

std::string Bytes(const std::vector<int32_t>& ids) {
  std::string bytes;
  for (int32_t id : ids) PutFixed32(bytes, static_cast<uint32_t>(id));
  return bytes;
}

bool Ascending(const std::vector<int32_t>& ids) {
  const std::string bytes = Bytes(ids);
  return StrictlyAscending({bytes.data(), static_cast<uint32_t>(ids.size())});
}

TEST(PostingOrderTest, StrictlyAscending) {
  EXPECT_TRUE(Ascending({}));
  EXPECT_TRUE(Ascending({7}));
  EXPECT_TRUE(Ascending({-3, 0, 5, INT32_MAX}));
  EXPECT_FALSE(Ascending({1, 1}));          // a sentence given twice
  EXPECT_FALSE(Ascending({0, 2, 1, 3}));    // out of order
  EXPECT_FALSE(Ascending({5, INT32_MIN}));  // compared as signed IDs
  // One fault anywhere in a long block, at the edges of the chunks it is checked in too.
  std::vector<int32_t> long_ids(1000);
  for (int32_t i = 0; i < 1000; ++i) long_ids[static_cast<size_t>(i)] = 2 * i;
  EXPECT_TRUE(Ascending(long_ids));
  for (size_t at : {size_t{1}, size_t{255}, size_t{256}, size_t{257}, size_t{512}, size_t{999}}) {
    std::vector<int32_t> faulty = long_ids;
    faulty[at] = faulty[at - 1];
    EXPECT_FALSE(Ascending(faulty)) << "at " << at;
  }
}

TEST(PostingOrderTest, AnswerRememberedByOffset) {
  const std::string ascending = Bytes({1, 2, 3});
  const std::string descending = Bytes({3, 2, 1});
  PostingOrder order;
  EXPECT_TRUE(order.Ascending(100, {ascending.data(), 3}));
  EXPECT_FALSE(order.Ascending(200, {descending.data(), 3}));
  // Asked again, the block is not read: the first answer for its offset stands.
  EXPECT_TRUE(order.Ascending(100, {descending.data(), 3}));
  EXPECT_FALSE(order.Ascending(200, {ascending.data(), 3}));
}

}  // namespace
}  // namespace tamrel
