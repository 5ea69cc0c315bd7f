#pragma once
// Maximum over positions, with "first position at or after p whose value exceeds v".
// It lets the exchange sort find each swap partner without scanning every later entry.
// Each level keeps the maximum of 16 entries of the level below: a search scans a few
// short runs of neighbouring values, which stay in the cache, instead of walking a deep
// binary tree.

#include <algorithm>
#include <cstdint>
#include <vector>

class MaxTree {
 public:
  explicit MaxTree(const std::vector<int32_t>& values);

  void Set(size_t position, int32_t value);

  // The first position >= from holding a value > limit, or -1.
  int64_t FirstAbove(size_t from, int32_t limit) const;

 private:
  static constexpr size_t kWidth = 16;

  // The first index in [begin, end) of `level` holding a value > limit, or -1.
  int64_t FirstIn(const std::vector<int32_t>& level, size_t begin, size_t end, int32_t limit) const;
  int32_t BlockMax(const std::vector<int32_t>& level, size_t block) const;

  std::vector<std::vector<int32_t>> levels_;  // [0] the values, the last one short
};

inline MaxTree::MaxTree(const std::vector<int32_t>& values) {
  levels_.push_back(values);
  while (levels_.back().size() > kWidth) {
    const std::vector<int32_t>& below = levels_.back();
    std::vector<int32_t> above((below.size() + kWidth - 1) / kWidth);
    for (size_t b = 0; b < above.size(); ++b) above[b] = BlockMax(below, b);
    levels_.push_back(std::move(above));
  }
}

inline int32_t MaxTree::BlockMax(const std::vector<int32_t>& level, size_t block) const {
  const size_t begin = block * kWidth, end = std::min(begin + kWidth, level.size());
  return *std::max_element(level.begin() + int64_t(begin), level.begin() + int64_t(end));
}

inline int64_t MaxTree::FirstIn(const std::vector<int32_t>& level, size_t begin, size_t end,
                                int32_t limit) const {
  const int32_t* v = level.data();
  size_t i = begin;
  // Eight at a time without a branch each, then the one that exceeds.
  for (; i + 8 <= end; i += 8) {
    int any = 0;
    for (size_t k = 0; k < 8; ++k) any |= int(v[i + k] > limit);
    if (any) break;
  }
  for (; i < end; ++i)
    if (v[i] > limit) return int64_t(i);
  return -1;
}

inline void MaxTree::Set(size_t position, int32_t value) {
  int32_t old = levels_[0][position];
  levels_[0][position] = value;
  for (size_t level = 1; level < levels_.size(); ++level) {
    const size_t block = position / kWidth;
    const int32_t stored = levels_[level][block];
    int32_t top;
    if (value >= stored)
      top = value;
    else if (old < stored)
      break;  // the block's maximum is elsewhere
    else
      top = BlockMax(levels_[level - 1], block);
    if (top == stored) break;
    levels_[level][block] = top;
    old = stored;
    value = top;
    position = block;
  }
}

inline int64_t MaxTree::FirstAbove(size_t from, int32_t limit) const {
  if (from >= levels_[0].size()) return -1;
  size_t level = 0, position = from;
  // Up: the rest of each block, then the blocks after it one level higher...
  for (;;) {
    const std::vector<int32_t>& values = levels_[level];
    const size_t end = std::min((position / kWidth + 1) * kWidth, values.size());
    const int64_t hit = FirstIn(values, position, end, limit);
    if (hit >= 0) {
      position = size_t(hit);
      break;
    }
    if (level + 1 == levels_.size()) return -1;
    position = position / kWidth + 1;
    ++level;
    if (position >= levels_[level].size()) return -1;
  }
  // ...down: the first entry of the block found that exceeds the limit, at each level.
  while (level > 0) {
    --level;
    const size_t begin = position * kWidth;
    position = size_t(
        FirstIn(levels_[level], begin, std::min(begin + kWidth, levels_[level].size()), limit));
  }
  return int64_t(position);
}
