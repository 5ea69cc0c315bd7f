#include "pattern/symbol_sort.h"

#include <cstddef>
#include <utility>

InkOrder InkSortOrder(std::vector<uint32_t> whiteness) {
  InkOrder sorted;
  sorted.order.resize(whiteness.size());
  for (size_t i = 0; i < whiteness.size(); ++i) sorted.order[i] = int32_t(i);
  for (size_t k = 0; k < whiteness.size(); ++k) {
    for (size_t j = k + 1; j < whiteness.size(); ++j) {
      if (whiteness[k] < whiteness[j]) {
        std::swap(whiteness[k], whiteness[j]);
        std::swap(sorted.order[k], sorted.order[j]);
      }
    }
  }
  sorted.whiteness = std::move(whiteness);
  return sorted;
}
