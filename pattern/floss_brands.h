#pragma once
// The floss brands the program has tables for, and which one a composition's threads
// belong to: the table that holds the most of its thread names, ties in the order DMC,
// Anchor, Madeira, unless the user names a brand.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/floss_table.h"

enum class FlossBrand : uint8_t { kNone, kDmc, kAnchor, kMadeira };

// The brands with a table, in the order that settles a tie.
inline constexpr std::array<FlossBrand, 3> kTableBrands = {FlossBrand::kDmc, FlossBrand::kAnchor,
                                                           FlossBrand::kMadeira};

// What the user may ask for: a brand, none, or the choice left to the threads (auto).
struct BrandRequest {
  bool automatic = true;
  FlossBrand brand = FlossBrand::kNone;  // when not automatic
};
// "auto", "dmc", "anchor", "madeira" or "none" (letter case ignored); none for another word.
std::optional<BrandRequest> ParseBrandRequest(std::string_view word);

// The brand as written before a thread number ("DMC", "Anchor", "Madeira"); empty for none.
std::string BrandLabel(FlossBrand brand);

// How many of `threads` the table holds (matched as FlossTable::Find matches).
size_t ThreadsHeld(const FlossTable& table, const std::vector<std::string>& threads);

// The brands' tables, loaded from one folder.
class FlossBrands {
 public:
  FlossBrands() = default;  // every table empty
  // Raises EInOutError when a table of `folder` (ending in '/') cannot be read.
  static FlossBrands Load(const std::string& folder);

  // For a brand with a table; an empty table for none.
  const FlossTable& Table(FlossBrand brand) const;
  void SetTable(FlossBrand brand, FlossTable table);

  // The brand holding the most of `threads` (ListThreads' names); DMC when none holds any.
  FlossBrand Choose(const std::vector<std::string>& threads) const;
  FlossBrand Resolve(const BrandRequest& request, const std::vector<std::string>& threads) const {
    return request.automatic ? Choose(threads) : request.brand;
  }

 private:
  std::array<FlossTable, 4> tables_;  // by FlossBrand; kNone stays empty
};
