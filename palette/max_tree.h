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
    for (n /= 2; n > 0; n /= 2) nodes_[n] = std::max(nodes_[2 * n], nodes_[2 * n + 1]);
  }

  // The first position >= from holding a value > limit, or -1.
  int64_t FirstAbove(size_t from, int32_t limit) const { return Find(1, 0, leaves_, from, limit); }

 private:
  int64_t Find(size_t node, size_t lo, size_t hi, size_t from, int32_t limit) const {
    if (hi <= from || nodes_[node] <= limit) return -1;
    if (hi - lo == 1) return int64_t(lo);
    size_t mid = (lo + hi) / 2;
    int64_t left = Find(2 * node, lo, mid, from, limit);
    return left >= 0 ? left : Find(2 * node + 1, mid, hi, from, limit);
  }

  size_t leaves_ = 1;
  std::vector<int32_t> nodes_;
};
