#include "explorer/search_history.h"

#include <gtest/gtest.h>

#include "text/text_utils.h"

namespace tamrel {
namespace {

TEST(SearchHistoryTest, FreshHistoryDoesNotMove) {
  SearchHistory history;
  EXPECT_EQ(history.current(), -1);
  EXPECT_EQ(history.First(), u"");
  EXPECT_EQ(history.Previous(), u"");
  EXPECT_EQ(history.Next(), u"");
  EXPECT_EQ(history.Last(), u"");
  EXPECT_EQ(history.current(), -1);
}

TEST(SearchHistoryTest, NavigatesThreeQueries) {
  SearchHistory history;
  history.Add(u"Q1");
  history.Add(u"Q2");
  history.Add(u"Q3");
  EXPECT_EQ(history.current(), 2);
  EXPECT_EQ(history.Previous(), u"Q2");
  EXPECT_EQ(history.Previous(), u"Q1");
  EXPECT_EQ(history.Previous(), u"");
  EXPECT_EQ(history.current(), 0);
  EXPECT_EQ(history.Last(), u"Q3");
  EXPECT_EQ(history.Next(), u"");
  EXPECT_EQ(history.First(), u"Q1");
  EXPECT_EQ(history.Next(), u"Q2");
}

TEST(SearchHistoryTest, AddMovesToTheNewestEntry) {
  SearchHistory history;
  history.Add(u"Q1");
  history.Add(u"Q2");
  history.First();
  history.Add(u"Q3");
  EXPECT_EQ(history.current(), 2);
  EXPECT_EQ(history.Next(), u"");
}

TEST(SearchHistoryTest, SameQueryTwiceIsKeptTwice) {
  SearchHistory history;
  history.Add(u"hello");
  history.Add(u"hello");
  EXPECT_EQ(history.entries().size(), 2u);
}

TEST(SearchHistoryTest, TwentyFirstSearchDropsTheFirst) {
  SearchHistory history;
  for (int i = 1; i <= 21; ++i) history.Add(u"Q" + FormatDecimal(i));
  ASSERT_EQ(history.entries().size(), 20u);
  EXPECT_EQ(history.entries().front(), u"Q2");
  EXPECT_EQ(history.entries().back(), u"Q21");
  EXPECT_EQ(history.current(), 19);
  EXPECT_EQ(history.First(), u"Q2");
}

}  // namespace
}  // namespace tamrel
