#include "palette/nearest_color_index.h"

#include <algorithm>

#include "base/parallel.h"

namespace {
// Below this many colors a second thread costs more than it saves.
constexpr size_t kParallelChunk = 32 * 1024;
}  // namespace

NearestColorIndex::NearestColorIndex(std::vector<TColor> colors) : grid_(std::move(colors)) {}

NearestColorIndex::~NearestColorIndex() = default;

std::unique_ptr<NearestColorSearch> NearestColorIndex::Make(std::vector<TColor> colors) {
  return std::make_unique<NearestColorIndex>(std::move(colors));
}

int32_t NearestColorIndex::Find(TColor color) const {
  if (Size() == 0) return 0;
  const int red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
  return grid_.CellOf(red, green, blue).Answer(red, green, blue);
}

void NearestColorIndex::FindMany(const TColor* colors, size_t count, int32_t* indices) const {
  if (Size() == 0) {
    std::fill(indices, indices + count, 0);
    return;
  }
  // Batches of arbitrary colors keep to the grid: a color is rarely asked twice, so
  // filling the answer cache would cost more than it saves.
  ParallelFor(count, kParallelChunk, [&](size_t begin, size_t end) {
    grid_.FindRange(colors + begin, end - begin, indices + begin);
  });
}

const NearestAnswerCache* NearestColorIndex::Answers() const {
  std::call_once(answers_once_, [this] {
    if (Size() > 0 && NearestAnswerCache::Holds(Size()))
      answers_ = std::make_unique<NearestAnswerCache>(grid_);
    answers_made_.store(answers_.get(), std::memory_order_release);
  });
  return answers_.get();
}

void NearestColorIndex::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  if (const NearestAnswerCache* answers = Answers()) {
    answers->FindPixels(pixels, count, indices);
    return;
  }
  if (Size() == 0) {
    std::fill(indices, indices + count, 0);
    return;
  }
  // Palettes too large for the cache: the grid, a short run at a time.
  constexpr size_t kRun = 256;
  TColor colors[kRun];
  for (size_t done = 0; done < count; done += kRun) {
    const size_t run = std::min(kRun, count - done);
    for (size_t i = 0; i < run; ++i, pixels += 3)
      colors[i] = MakeColor(pixels[2], pixels[1], pixels[0]);
    grid_.FindRange(colors, run, indices + done);
  }
}

size_t NearestColorIndex::MemoryBytes() const {
  const NearestAnswerCache* answers = answers_made_.load(std::memory_order_acquire);
  return sizeof(*this) - sizeof(grid_) + grid_.MemoryBytes() +
         (answers ? answers->MemoryBytes() : 0);
}
