#pragma once
// How the floss key flows over its pages: a list of lines (titles, column heads, rows,
// totals), each with its height, cut where a page is full; a table cut by a page starts
// again with its column heads.

#include <cstdint>
#include <vector>

#include "pattern/floss_key.h"

enum class KeyLineKind {
  kKeyTitle,   // "Floss key", with the fabric note
  kKeyHeads,   // Symbol, Floss, Description, Stitches, Skeins
  kKeyRow,     // row `index` of the key
  kBuyTitle,   // "Floss to buy"
  kBuyHeads,   // Thread, Description, Length, Skeins
  kBuyRow,     // row `index` of to_buy
  kBuyTotals,  // the totals
};

struct KeyLine {
  KeyLineKind kind = KeyLineKind::kKeyRow;
  int32_t index = 0;
};

// Heights in millimetres.
inline constexpr double kKeyTitleMm = 10.0;
inline constexpr double kKeyHeadsMm = 6.0;
inline constexpr double kKeyRowMm = 6.0;
inline constexpr double kBuyGapMm = 6.0;  // above "Floss to buy"
double KeyLineHeight(KeyLineKind kind);

// The key's lines page by page, for pages with `height_mm` of room below their header;
// at least one page, even for a key without rows.
std::vector<std::vector<KeyLine>> KeyPages(const FlossKey& key, double height_mm);
