#pragma once
// Maximum over positions, with "first position at or after p whose value exceeds v".
// It lets the exchange sort find each swap partner without scanning every later entry.

#include <algorithm>
#include <cstdint>
#include <vector>

class MaxTree {
 public:
  explicit MaxTree(const std::vector<int32_t>& values) {
    while (leaves_ < values.size()) leaves_ *= 2;
    nodes_.assign(2 * leaves_, INT32_MIN);
    for (size_t i = 0; i < values.size(); ++i) nodes_[leaves_ + i] = values[i];
    for (size_t n = leaves_ - 1; n > 0; --n) nodes_[n] = std::max(nodes_[2 * n], nodes_[2 * n + 1]);
  }

  void Set(size_t position, int32_t value) {
    size_t n = leaves_ + position;
    nodes_[n] = value;
    // Above the first node whose maximum stays, nothing changes.
    for (n /= 2; n > 0; n /= 2) {
      const int32_t top = std::max(nodes_[2 * n], nodes_[2 * n + 1]);
      if (nodes_[n] == top) break;
      nodes_[n] = top;
    }
  }

  // The first position >= from holding a value > limit, or -1.
  int64_t FirstAbove(size_t from, int32_t limit) const {
    if (from >= leaves_) return -1;
    size_t n = leaves_ + from;
    if (nodes_[n] <= limit) {
      // Up to the nearest subtree to the right that holds a larger value...
      for (;;) {
        if (n == 1) return -1;
        if ((n & 1) == 0 && nodes_[n + 1] > limit) break;
        n /= 2;
      }
      ++n;
      // ...then down to its first such leaf.
      while (n < leaves_) {
        n *= 2;
        if (nodes_[n] <= limit) ++n;
      }
    }
    return int64_t(n - leaves_);
  }

 private:
  size_t leaves_ = 1;
  std::vector<int32_t> nodes_;
};
