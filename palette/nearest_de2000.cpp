#include "palette/nearest_de2000.h"

#include <algorithm>

#include "base/parallel.h"

namespace {
// Below this many colors a second thread costs more than it saves.
constexpr size_t kParallelChunk = 4 * 1024;
constexpr size_t kCube = size_t(1) << 24;
}  // namespace

NearestDe2000Search::NearestDe2000Search(std::vector<TColor> colors)
    : size_(colors.size()), scan_(colors) {}

std::unique_ptr<NearestColorSearch> NearestDe2000Search::Make(std::vector<TColor> colors) {
  return std::make_unique<NearestDe2000Search>(std::move(colors));
}

uint16_t* NearestDe2000Search::Answers() const {
  std::call_once(answers_once_, [this] {
    // Fresh from the system, only the pages of the colors a picture has are ever backed.
    if (size_ > 0 && size_ <= kMostRemembered)
      answers_ = NearestBufferPool::Take<uint16_t>(kCube, true);
    answers_made_.store(true, std::memory_order_release);
  });
  return answers_.get();
}

int32_t NearestDe2000Search::Answer(uint16_t* answers, TColor color, int32_t& hint) const {
  if (!answers) return scan_.Nearest(LabOf(color), hint);
  // Threads that answer one color at the same time write the same value.
  std::atomic_ref remembered(answers[color & (kCube - 1)]);
  const uint16_t known = remembered.load(std::memory_order_relaxed);
  if (known != 0) {
    hint = scan_.PositionOf(known - 1);
    return known - 1;
  }
  const int32_t index = scan_.Nearest(LabOf(color), hint);
  remembered.store(uint16_t(index + 1), std::memory_order_relaxed);
  return index;
}

int32_t NearestDe2000Search::Find(TColor color) const {
  // A single color uses the answers pictures left, but makes no table of its own: a palette
  // asked one color at a time (a click, a list) need not hold 32 MiB for it.
  int32_t hint = -1;
  uint16_t* const answers =
      answers_made_.load(std::memory_order_acquire) ? answers_.get() : nullptr;
  return Answer(answers, color, hint);
}

void NearestDe2000Search::FindMany(const TColor* colors, size_t count, int32_t* indices) const {
  uint16_t* const answers = Answers();
  ParallelFor(count, kParallelChunk, [&](size_t begin, size_t end) {
    int32_t hint = -1;
    for (size_t i = begin; i < end; ++i) indices[i] = Answer(answers, colors[i], hint);
  });
}

void NearestDe2000Search::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  uint16_t* const answers = Answers();
  int32_t hint = -1;
  for (size_t i = 0; i < count; ++i, pixels += 3)
    indices[i] = Answer(answers, MakeColor(pixels[2], pixels[1], pixels[0]), hint);
}

size_t NearestDe2000Search::MemoryBytes() const {
  const bool made = answers_made_.load(std::memory_order_acquire);
  return sizeof(*this) + scan_.MemoryBytes() + (made && answers_ ? kCube * sizeof(uint16_t) : 0);
}

int32_t LinearNearestDe2000(const std::vector<LabColor>& palette, const LabColor& color) {
  double best = 0;
  int32_t best_index = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const double d = DeltaE2000(color, palette[i]);
    if (i == 0 || d < best) {
      best = d;
      best_index = int32_t(i);
      if (d == 0) break;
    }
  }
  return best_index;
}

LinearDe2000Search::LinearDe2000Search(const std::vector<TColor>& colors) {
  lab_.reserve(colors.size());
  for (TColor c : colors) lab_.push_back(LabOf(c));
}

std::unique_ptr<NearestColorSearch> LinearDe2000Search::Make(std::vector<TColor> colors) {
  return std::make_unique<LinearDe2000Search>(colors);
}

void LinearDe2000Search::FindMany(const TColor* colors, size_t count, int32_t* indices) const {
  for (size_t i = 0; i < count; ++i) indices[i] = Find(colors[i]);
}

void LinearDe2000Search::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  for (size_t i = 0; i < count; ++i, pixels += 3)
    indices[i] = Find(MakeColor(pixels[2], pixels[1], pixels[0]));
}

size_t LinearDe2000Search::MemoryBytes() const {
  return sizeof(*this) + lab_.capacity() * sizeof(LabColor);
}
