#include "palette/nearest_answer_cache.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <thread>
#include <vector>

namespace {

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
// The 64 answers of a grid cell from its list, in the order of PlaceOf's low 6 bits:
// ordered by (distance, index) in one key, the least key is the linear search's answer.
// True if they are all the same.
bool CellAnswers(const NearestColorGrid::Candidate* list, int red, int green, int blue,
                 uint16_t* answers) {
  constexpr int kColors = 64;
  uint32_t best[kColors];
  std::fill(best, best + kColors, ~uint32_t(0));
  for (auto* c = list; c->box_dist != NearestColorGrid::kSentinel; ++c) {
    const int cr = c->red - red, cg = c->green - green, cb = c->blue - blue;
    const uint32_t index = uint32_t(c->index);
    for (int j = 0; j < kColors; ++j) {
      // The offsets of color j in the cell: bits 0 and 3 red, 1 and 4 green, 2 and 5 blue.
      const int dr = ((j & 1) | (j >> 2 & 2)) - cr, dg = ((j >> 1 & 1) | (j >> 3 & 2)) - cg,
                db = ((j >> 2 & 1) | (j >> 4 & 2)) - cb;
      best[j] = std::min(best[j], uint32_t(dr * dr + dg * dg + db * db) << 14 | index);
    }
  }
  bool same = true;
  for (int j = 0; j < kColors; ++j) {
    answers[j] = uint16_t(best[j] & 0x3FFF);
    same = same && answers[j] == answers[0];
  }
  return same;
}

// True if `a` is the answer rather than `b` at every color of the cell whose low corner is
// (red, green, blue): a nearer, or as near with the lower index. The squared distance to a
// less that to b is affine in the color, so its largest value over the cell is at a corner,
// one axis at a time.
inline bool Dominates(const NearestColorGrid::Candidate& a, const NearestColorGrid::Candidate& b,
                      int red, int green, int blue) {
  constexpr int kFar = NearestColorGrid::kCellSide - 1;
  // Per axis (v - a)^2 - (v - b)^2 = (b - a)(2v - a - b), largest at the far end when b > a.
  const auto axis = [](int low, int va, int vb) {
    const int delta = vb - va;
    return delta * (2 * (delta > 0 ? low + kFar : low) - va - vb);
  };
  const int most =
      axis(red, a.red, b.red) + axis(green, a.green, b.green) + axis(blue, a.blue, b.blue);
  return most < int(a.index < b.index);
}

}  // namespace

constexpr NearestAnswerCache::PlaceTerms NearestAnswerCache::MakePlaceTerms() {
  PlaceTerms terms{};
  for (int v = 0; v < 256; ++v) {
    terms[0][size_t(v)] = PlaceOf(v, 0, 0);
    terms[1][size_t(v)] = PlaceOf(0, v, 0);
    terms[2][size_t(v)] = PlaceOf(0, 0, v);
  }
  return terms;
}
constinit const NearestAnswerCache::PlaceTerms NearestAnswerCache::kPlaceOf = MakePlaceTerms();
static_assert(NearestColorGrid::kCellSide == 4, "a cell's place is the low 6 bits");

NearestAnswerCache::NearestAnswerCache(const NearestColorGrid& grid)
    : grid_(grid),
      first_boundary_slot_(kFirstFlossSlot + uint32_t(grid.Colors().size())),
      entries_(NearestBufferPool::Take<uint32_t>(kCells, true)),
      // Sized for the largest palette, so that every cache can reuse every other's.
      slots_(NearestBufferPool::Take<uint16_t>((kFirstFlossSlot + kMaxColors + kCells) * kColors,
                                               false)),
      floss_filled_(new std::atomic<uint8_t>[grid.Colors().size()]()) {}

NearestAnswerCache::~NearestAnswerCache() = default;

uint32_t NearestAnswerCache::FlossEntry(uint32_t floss) const {
  std::atomic<uint8_t>& filled = floss_filled_[floss];
  const uint32_t entry = (kFirstFlossSlot + floss) * kColors;
  for (int spins = 0;; ++spins) {
    uint8_t seen = filled.load(std::memory_order_acquire);
    if (seen == 2) return entry;
    if (seen == 0 && filled.compare_exchange_strong(seen, 1, std::memory_order_acquire)) {
      std::fill_n(slots_.get() + entry, kColors, uint16_t(floss));
      floss_slots_.fetch_add(1, std::memory_order_relaxed);
      filled.store(2, std::memory_order_release);
      return entry;
    }
    if (spins >= 64) std::this_thread::yield();
  }
}

uint32_t NearestAnswerCache::AnswerCell(int red, int green, int blue) const {
  using Candidate = NearestColorGrid::Candidate;
  const Candidate* const list = grid_.BlockList(red, green, blue);
  if (list[1].box_dist == NearestColorGrid::kSentinel) return FlossEntry(uint32_t(list[0].index));
  // The nearest entry to the cell's centre (doubled, to stay whole) rules out every entry it
  // beats everywhere in the cell, and is often left alone.
  const Candidate* centre = list;
  uint32_t centre_dist = ~uint32_t(0);
  for (const Candidate* c = list; c->box_dist != NearestColorGrid::kSentinel; ++c) {
    const int dr = 2 * (red - c->red) + kSide - 1, dg = 2 * (green - c->green) + kSide - 1,
              db = 2 * (blue - c->blue) + kSide - 1;
    const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
    if (d < centre_dist || (d == centre_dist && c->index < centre->index)) {
      centre = c;
      centre_dist = d;
    }
  }
  const auto rival = [&](const Candidate* c) {
    return c != centre && !Dominates(*centre, *c, red, green, blue);
  };
  const Candidate* c = list;
  while (c->box_dist != NearestColorGrid::kSentinel && !rival(c)) ++c;
  if (c->box_dist == NearestColorGrid::kSentinel) return FlossEntry(uint32_t(centre->index));
  thread_local std::vector<Candidate> left;
  left.assign(1, *centre);
  for (; c->box_dist != NearestColorGrid::kSentinel; ++c)
    if (rival(c)) left.push_back(*c);
  left.push_back({NearestColorGrid::kSentinel, 0, 0, 0, 0});
  uint16_t answers[kColors];
  if (CellAnswers(left.data(), red, green, blue, answers)) return FlossEntry(answers[0]);
  // Each cell is answered once, so the boundary slots never run out.
  const size_t slot =
      first_boundary_slot_ + boundary_slots_.fetch_add(1, std::memory_order_relaxed);
  std::copy(answers, answers + kColors, slots_.get() + slot * kColors);
  return uint32_t(slot * kColors);
}

uint16_t NearestAnswerCache::AnswerUnanswered(uint32_t cell, uint32_t place_in_cell,
                                              const uint8_t* pixel) const {
  std::atomic_ref entry(entries_[cell]);
  uint32_t seen = entry.load(std::memory_order_acquire);
  if (seen == kUnanswered &&
      entry.compare_exchange_strong(seen, kAnswering, std::memory_order_acquire)) {
    try {
      seen = AnswerCell(pixel[2] & -kSide, pixel[1] & -kSide, pixel[0] & -kSide);
    } catch (...) {
      entry.store(kUnanswered, std::memory_order_release);  // lets a later lookup try again
      throw;
    }
    entry.store(seen, std::memory_order_release);
  }
  if (seen > kAnswering) return slots_[seen + place_in_cell];
  // Being answered elsewhere: the nearest of the block's candidates, as the linear search
  // settles it.
  const int red = pixel[2], green = pixel[1], blue = pixel[0];
  uint32_t best = ~uint32_t(0);
  int32_t best_index = 0;
  for (auto* c = grid_.BlockList(red, green, blue); c->box_dist != NearestColorGrid::kSentinel;
       ++c) {
    const int dr = red - c->red, dg = green - c->green, db = blue - c->blue;
    const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
    if (d < best || (d == best && c->index < best_index)) {
      best = d;
      best_index = c->index;
    }
  }
  return uint16_t(best_index);
}

void NearestAnswerCache::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  uint32_t* const entries = entries_.get();
  const uint16_t* const slots = slots_.get();
  const auto place_of = [](const uint8_t* pixel) {
    return size_t(kPlaceOf[2][pixel[0]] | kPlaceOf[1][pixel[1]] | kPlaceOf[0][pixel[2]]);
  };
  const auto answer_of = [&](size_t place, const uint8_t* pixel) -> int32_t {
    const uint32_t entry =
        std::atomic_ref(entries[place / kColors]).load(std::memory_order_acquire);
    return entry > kAnswering
               ? slots[entry + place % kColors]
               : AnswerUnanswered(uint32_t(place / kColors), uint32_t(place % kColors), pixel);
  };
  // Two pixels a step, for fewer instructions of loop control per pixel.
  size_t i = 0;
  for (; i + 2 <= count; i += 2, pixels += 6) {
    const size_t first = place_of(pixels), second = place_of(pixels + 3);
    indices[i] = answer_of(first, pixels);
    indices[i + 1] = answer_of(second, pixels + 3);
  }
  if (i < count) {
    const size_t place = place_of(pixels);
    indices[i] = answer_of(place, pixels);
  }
}

size_t NearestAnswerCache::MemoryBytes() const {
  return sizeof(*this) + kCells * sizeof(entries_[0]) +
         grid_.Colors().size() * sizeof(floss_filled_[0]) +
         (FlossSlots() + BoundaryCells()) * kColors * sizeof(uint16_t);
}
