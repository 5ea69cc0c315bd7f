#include "palette/max_tree.h"

#include <gtest/gtest.h>

#include <random>

// Every query against a scan of the values, while random positions rise and fall; sizes
// on and beside the block edges of every level.
TEST(MaxTree, FirstAboveAgreesWithAScanThroughChanges) {
  std::mt19937 random(5);
  for (size_t size :
       {size_t(1), size_t(15), size_t(16), size_t(17), size_t(256), size_t(257), size_t(5000)}) {
    std::vector<int32_t> values(size);
    for (auto& v : values) v = int32_t(random() % 50);
    MaxTree tree(values);
    for (int round = 0; round < 2000; ++round) {
      const size_t from = random() % (size + 2);
      const int32_t limit = int32_t(random() % 55) - 2;
      int64_t expected = -1;
      for (size_t k = from; k < size && expected < 0; ++k)
        if (values[k] > limit) expected = int64_t(k);
      ASSERT_EQ(tree.FirstAbove(from, limit), expected) << size << " " << from << " " << limit;
      const size_t at = random() % size;
      values[at] = int32_t(random() % 50);
      tree.Set(at, values[at]);
    }
  }
}
