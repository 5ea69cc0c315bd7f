#pragma once
// The order of the sort by ink: the table's entries by whiteness, lightest first.

#include <cstdint>
#include <vector>

struct InkOrder {
  std::vector<int32_t> order;       // entry indices in their new order
  std::vector<uint32_t> whiteness;  // the whiteness of each, in that order
};

// The exchange procedure: for each position k, for each later position j, the two are
// exchanged when the whiteness at k is less than at j. Equal values are never exchanged
// with each other directly, so ties come out in the order the exchanges leave them (not
// necessarily the table's).
InkOrder InkSortOrder(std::vector<uint32_t> whiteness);
