#pragma once
// The palette entry nearest to a color, fast enough to map every pixel of a picture:
// exactly the answer of the plain linear search (least squared RGB distance, ties to the
// lowest index). Single colors and batches go to a grid of candidate lists; pictures go
// through an answer cache over the grid, made on their first pixel.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "palette/nearest_answer_cache.h"
#include "palette/nearest_color_grid.h"
#include "palette/nearest_color_search.h"

class NearestColorIndex final : public NearestColorSearch {
 public:
  // Only keeps the colors: everything else is built as lookups reach it.
  explicit NearestColorIndex(std::vector<TColor> colors);
  static std::unique_ptr<NearestColorSearch> Make(std::vector<TColor> colors);
  ~NearestColorIndex() override;

  size_t Size() const { return grid_.Colors().size(); }

  int32_t Find(TColor color) const override;
  void FindMany(const TColor* colors, size_t count, int32_t* indices) const override;
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const override;
  // Bytes held by the colors, the grid cells and the answers built so far.
  size_t MemoryBytes() const override;

 private:
  // The cache, made on first use; null for palettes it cannot hold (mixed ones) or empty.
  const NearestAnswerCache* Answers() const;

  NearestColorGrid grid_;
  mutable std::once_flag answers_once_;
  mutable std::unique_ptr<NearestAnswerCache> answers_;
  mutable std::atomic<const NearestAnswerCache*> answers_made_ = nullptr;
};
