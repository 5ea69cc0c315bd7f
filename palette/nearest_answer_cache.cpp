#include "palette/nearest_answer_cache.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr int kGridSide = NearestColorGrid::kCellSide;
constexpr int kGridColors = kGridSide * kGridSide * kGridSide;

// AVX2 has the unsigned minimum of 32-bit lanes that a cell's answers are made of, which
// the baseline x86-64 instruction set lacks; the loader picks the version the processor runs.
// Not under ThreadSanitizer, whose instrumented resolver would run before its runtime.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PUNTEL_UNDER_TSAN 1
#endif
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__) && \
    !defined(PUNTEL_UNDER_TSAN)
__attribute__((target_clones("avx2", "default")))
#endif
// The 64 answers of a grid cell from its list, in the order of Within: ordered by (distance,
// index) in one key, the least key is the linear search's answer.
void GridCellAnswers(const NearestColorGrid::Candidate* list, int red, int green, int blue,
                     uint16_t* answers) {
  uint32_t best[kGridColors];
  std::fill(best, best + kGridColors, ~uint32_t(0));
  for (auto* c = list; c->box_dist != NearestColorGrid::kSentinel; ++c) {
    const int cr = c->red - red, cg = c->green - green, cb = c->blue - blue;
    const uint32_t index = uint32_t(c->index);
    for (int j = 0; j < kGridColors; ++j) {
      const int dr = (j & 1 | (j >> 2 & 2)) - cr, dg = (j >> 1 & 1 | (j >> 3 & 2)) - cg,
                db = (j >> 2 & 1 | (j >> 4 & 2)) - cb;
      best[j] = std::min(best[j], uint32_t(dr * dr + dg * dg + db * db) << 14 | index);
    }
  }
  for (int j = 0; j < kGridColors; ++j) answers[j] = uint16_t(best[j] & 0x3FFF);
}

}  // namespace

// A color's cell (low half) and its place in the cell (high half), one term per channel
// (red 0, green 1, blue 2) joined by OR: three loads cost less than the shifts and masks they
// stand for, on every pixel of a picture.
constexpr NearestAnswerCache::PlaceTerms NearestAnswerCache::MakePlaceTerms() {
  PlaceTerms terms{};
  for (int axis = 0; axis < 3; ++axis) {
    for (int v = 0; v < 256; ++v) {
      const int rgb[3] = {axis == 0 ? v : 0, axis == 1 ? v : 0, axis == 2 ? v : 0};
      terms[size_t(axis)][size_t(v)] =
          CellOf(rgb[0], rgb[1], rgb[2]) | Within(rgb[0], rgb[1], rgb[2]) << 16;
    }
  }
  return terms;
}
constinit const NearestAnswerCache::PlaceTerms NearestAnswerCache::kPlaceOf = MakePlaceTerms();

void NearestAnswerCache::FreeSlots::operator()(uint16_t* slots) const {
  std::free(slots);
}

NearestAnswerCache::NearestAnswerCache(const NearestColorGrid& grid)
    : grid_(grid),
      coarse_(new uint16_t[kCells]),
      slots_(static_cast<uint16_t*>(std::malloc(kSlots * kColors * sizeof(uint16_t)))) {
  if (!slots_) throw std::bad_alloc();
  std::fill(coarse_.get(), coarse_.get() + kCells, kUnanswered);
  const size_t floss = grid.Colors().size();
  floss_slots_.reset(new std::atomic<uint32_t>[floss]);
  for (size_t f = 0; f < floss; ++f) floss_slots_[f].store(kNoSlot, std::memory_order_relaxed);
}

NearestAnswerCache::~NearestAnswerCache() = default;

bool NearestAnswerCache::CellAnswers(int low_red, int low_green, int low_blue,
                                     uint16_t* answers) const {
  static_assert(kSide == 2 * kGridSide, "a coarse cell holds 2 x 2 x 2 grid cells");
  NearestColorGrid::Cell cells[8] = {
      grid_.CellOf(low_red, low_green, low_blue),
      grid_.CellOf(low_red + kGridSide, low_green, low_blue),
      grid_.CellOf(low_red, low_green + kGridSide, low_blue),
      grid_.CellOf(low_red + kGridSide, low_green + kGridSide, low_blue),
      grid_.CellOf(low_red, low_green, low_blue + kGridSide),
      grid_.CellOf(low_red + kGridSide, low_green, low_blue + kGridSide),
      grid_.CellOf(low_red, low_green + kGridSide, low_blue + kGridSide),
      grid_.CellOf(low_red + kGridSide, low_green + kGridSide, low_blue + kGridSide)};
  // Grid cells that each hold one entry, the same one, answer the whole cell at once.
  bool single = true;
  for (const auto& cell : cells)
    single = single && cell.IsSingle() && cell.Single() == cells[0].Single();
  if (single) {
    answers[0] = uint16_t(cells[0].Single());
    return true;
  }
  // Each grid cell is a run of 64 answers, in the order of the array above.
  static_assert(Within(kGridSide, 0, 0) == kGridColors &&
                Within(0, 0, kGridSide) == 4 * kGridColors);
  for (int k = 0; k < 8; ++k) {
    uint16_t* const run = answers + k * kGridColors;
    if (cells[k].IsSingle())
      std::fill(run, run + kGridColors, uint16_t(cells[k].Single()));
    else
      GridCellAnswers(cells[k].List(), low_red + (k & 1) * kGridSide,
                      low_green + (k >> 1 & 1) * kGridSide, low_blue + (k >> 2) * kGridSide, run);
  }
  // Lists of several entries can still give one answer everywhere in the cell.
  return std::all_of(answers, answers + kColors, [&](uint16_t a) { return a == answers[0]; });
}

uint32_t NearestAnswerCache::NewSlot(const uint16_t* answers) const {
  const size_t slot = next_slot_.fetch_add(1, std::memory_order_relaxed);
  if (slot >= kSlots) return kNoSlot;
  std::memcpy(slots_.get() + slot * kColors, answers, kColors * sizeof(uint16_t));
  return uint32_t(slot);
}

uint32_t NearestAnswerCache::FlossSlot(uint16_t floss) const {
  std::atomic<uint32_t>& published = floss_slots_[floss];
  uint32_t slot = published.load(std::memory_order_acquire);
  if (slot != kNoSlot) return slot;
  uint16_t answers[kColors];
  std::fill(answers, answers + kColors, floss);
  slot = NewSlot(answers);
  if (slot == kNoSlot) return kNoSlot;
  // A thread that filled one meanwhile wins; this slot stays unused.
  uint32_t expected = kNoSlot;
  return published.compare_exchange_strong(expected, slot, std::memory_order_acq_rel) ? slot
                                                                                      : expected;
}

int32_t NearestAnswerCache::AnswerCell(uint32_t cell, int red, int green, int blue) const {
  uint16_t answers[kColors];
  const bool uniform = CellAnswers(red & -kSide, green & -kSide, blue & -kSide, answers);
  const uint32_t slot = uniform ? FlossSlot(answers[0]) : NewSlot(answers);
  // With no slot left (only threads racing on the same cells use them up) the answer holds.
  if (slot != kNoSlot) {
    // Another thread answering the same cell meanwhile publishes the same answers.
    uint16_t expected = kUnanswered;
    std::atomic_ref(coarse_[cell])
        .compare_exchange_strong(expected, uint16_t(slot), std::memory_order_release);
  }
  return uniform ? answers[0] : answers[Within(red, green, blue)];
}

void NearestAnswerCache::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  uint16_t* const coarse = coarse_.get();
  const uint16_t* const slots = slots_.get();
  for (size_t i = 0; i < count; ++i, pixels += 3) {
    const uint32_t place = kPlaceOf[2][pixels[0]] | kPlaceOf[1][pixels[1]] | kPlaceOf[0][pixels[2]];
    const uint32_t cell = place & 0xFFFF, within = place >> 16;
    const uint16_t slot = std::atomic_ref(coarse[cell]).load(std::memory_order_acquire);
    if (slot == kUnanswered) [[unlikely]]
      indices[i] = AnswerCell(cell, pixels[2], pixels[1], pixels[0]);
    else
      indices[i] = slots[size_t(slot) * kColors + within];
  }
}

size_t NearestAnswerCache::SlotsUsed() const {
  return std::min(next_slot_.load(std::memory_order_relaxed), kSlots);
}

size_t NearestAnswerCache::MemoryBytes() const {
  return sizeof(*this) + kCells * sizeof(coarse_[0]) +
         grid_.Colors().size() * sizeof(floss_slots_[0]) + SlotsUsed() * kColors * sizeof(uint16_t);
}
