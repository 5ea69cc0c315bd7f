#include "pattern/floss_brands.h"

#include <algorithm>

#include "base/latin1.h"

namespace {

// The table file of a brand with a table in the program's data folder ("dmc.tsv", ...).
std::string BrandTableFile(FlossBrand brand) {
  return LowerAscii(BrandLabel(brand)) + ".tsv";
}

}  // namespace

std::optional<BrandRequest> ParseBrandRequest(std::string_view word) {
  const std::string lower = LowerAscii(word);
  if (lower == "auto") return BrandRequest{};
  if (lower == "none") return BrandRequest{false, FlossBrand::kNone};
  for (FlossBrand brand : kTableBrands)
    if (lower == LowerAscii(BrandLabel(brand))) return BrandRequest{false, brand};
  return std::nullopt;
}

std::string BrandLabel(FlossBrand brand) {
  switch (brand) {
    case FlossBrand::kDmc:
      return "DMC";
    case FlossBrand::kAnchor:
      return "Anchor";
    case FlossBrand::kMadeira:
      return "Madeira";
    case FlossBrand::kNone:
      break;
  }
  return "";
}

size_t ThreadsHeld(const FlossTable& table, const std::vector<std::string>& threads) {
  return size_t(std::count_if(threads.begin(), threads.end(),
                              [&](const std::string& thread) { return table.Find(thread); }));
}

FlossBrands FlossBrands::Load(const std::string& folder) {
  FlossBrands brands;
  for (FlossBrand brand : kTableBrands)
    brands.SetTable(brand, FlossTable::Load(folder + BrandTableFile(brand)));
  return brands;
}

const FlossTable& FlossBrands::Table(FlossBrand brand) const {
  return tables_[size_t(brand)];
}

void FlossBrands::SetTable(FlossBrand brand, FlossTable table) {
  if (brand != FlossBrand::kNone) tables_[size_t(brand)] = std::move(table);
}

FlossBrand FlossBrands::Choose(const std::vector<std::string>& threads) const {
  FlossBrand best = kTableBrands.front();
  size_t most = 0;
  for (FlossBrand brand : kTableBrands) {
    const size_t held = ThreadsHeld(Table(brand), threads);
    if (held > most) best = brand, most = held;  // strictly more: ties keep the earlier
  }
  return best;
}
