// The order of the sort by ink.
#include "pattern/symbol_sort.h"

#include <gtest/gtest.h>

TEST(InkSortOrder, LightestFirstWithTiesAsTheExchangesLeaveThem) {
  // A stable sort would give 3, 1, 2, 0: the exchanges reverse the tie of 1 and 2.
  InkOrder sorted = InkSortOrder({1, 2, 2, 3});
  EXPECT_EQ(sorted.order, (std::vector<int32_t>{3, 2, 1, 0}));
  EXPECT_EQ(sorted.whiteness, (std::vector<uint32_t>{3, 2, 2, 1}));
  sorted = InkSortOrder({400, 7, 400, 9, 7});
  EXPECT_EQ(sorted.order, (std::vector<int32_t>{0, 2, 3, 1, 4}));
  EXPECT_EQ(InkSortOrder({5, 5, 5}).order, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_TRUE(InkSortOrder({}).order.empty());
}
