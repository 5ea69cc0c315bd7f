#include "pattern/draw/key_layout.h"

double KeyLineHeight(KeyLineKind kind) {
  switch (kind) {
    case KeyLineKind::kKeyTitle:
      return kKeyTitleMm;
    case KeyLineKind::kBuyTitle:
      return kKeyTitleMm + kBuyGapMm;
    case KeyLineKind::kKeyHeads:
    case KeyLineKind::kBuyHeads:
      return kKeyHeadsMm;
    default:
      return kKeyRowMm;
  }
}

namespace {

class PageFiller {
 public:
  explicit PageFiller(double height) : height_(height) { pages_.emplace_back(); }

  // A table's line; `heads` repeats the table's column heads on a new page.
  void Add(KeyLine line, KeyLineKind heads) {
    if (used_ + KeyLineHeight(line.kind) > height_ && !pages_.back().empty()) {
      pages_.emplace_back();
      used_ = 0;
      if (line.kind != heads) Put({heads, 0});
    }
    Put(line);
  }
  // A title keeps its heads and first row with it.
  void AddTitle(KeyLine title, KeyLineKind heads) {
    const double need = KeyLineHeight(title.kind) + KeyLineHeight(heads) + kKeyRowMm;
    if (used_ + need > height_ && !pages_.back().empty()) {
      pages_.emplace_back();
      used_ = 0;
    }
    Put(title);
  }
  std::vector<std::vector<KeyLine>> Pages() && { return std::move(pages_); }

 private:
  void Put(KeyLine line) {
    pages_.back().push_back(line);
    used_ += KeyLineHeight(line.kind);
  }
  double height_;
  double used_ = 0;
  std::vector<std::vector<KeyLine>> pages_;
};

}  // namespace

std::vector<std::vector<KeyLine>> KeyPages(const FlossKey& key, double height_mm) {
  PageFiller filler(height_mm);
  filler.AddTitle({KeyLineKind::kKeyTitle, 0}, KeyLineKind::kKeyHeads);
  filler.Add({KeyLineKind::kKeyHeads, 0}, KeyLineKind::kKeyHeads);
  for (size_t i = 0; i < key.rows.size(); ++i)
    filler.Add({KeyLineKind::kKeyRow, int32_t(i)}, KeyLineKind::kKeyHeads);
  filler.AddTitle({KeyLineKind::kBuyTitle, 0}, KeyLineKind::kBuyHeads);
  filler.Add({KeyLineKind::kBuyHeads, 0}, KeyLineKind::kBuyHeads);
  for (size_t i = 0; i < key.to_buy.size(); ++i)
    filler.Add({KeyLineKind::kBuyRow, int32_t(i)}, KeyLineKind::kBuyHeads);
  filler.Add({KeyLineKind::kBuyTotals, 0}, KeyLineKind::kBuyHeads);
  return std::move(filler).Pages();
}
