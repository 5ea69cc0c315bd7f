#pragma once
// The answers of a grid for whole pictures: a lookup is two loads, with no list to scan and
// no branch that a photograph's noise could make the processor mispredict. One table entry
// per grid cell of side 4 names the slot holding the answers of its 64 colors. A cell whose
// colors all share one floss (most of the cells a photograph uses) names that floss's slot,
// shared by every such cell, so the slots that lookups keep reaching stay in the caches;
// only a cell on a boundary between floss fills a slot of its own. Cells are answered on
// first use. Only for palettes whose indices fit 14 bits.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "palette/nearest_buffer_pool.h"
#include "palette/nearest_color_grid.h"

class NearestAnswerCache {
 public:
  static constexpr size_t kMaxColors = 16384;
  static bool Holds(size_t palette_size) { return palette_size <= kMaxColors; }

  // The grid must outlive the cache and hold at most kMaxColors colors, at least one.
  explicit NearestAnswerCache(const NearestColorGrid& grid);
  ~NearestAnswerCache();
  NearestAnswerCache(const NearestAnswerCache&) = delete;
  NearestAnswerCache& operator=(const NearestAnswerCache&) = delete;

  // indices[i] = the nearest entry to the i-th pixel (blue, green, red). Safe from several
  // threads at once.
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const;

  // Cells answered so far that lie on a boundary between floss, each with a slot of its own.
  size_t BoundaryCells() const { return boundary_slots_.load(std::memory_order_relaxed); }
  // Floss whose slot is filled: those that fill a whole cell somewhere.
  size_t FlossSlots() const { return floss_slots_.load(std::memory_order_relaxed); }
  size_t MemoryBytes() const;

 private:
  static constexpr int kSide = NearestColorGrid::kCellSide;
  static constexpr uint32_t kColors = kSide * kSide * kSide;  // per cell and slot
  static constexpr size_t kCells = size_t(1) << 18;

  // A color's place: its cell above the low 6 bits, its place in the cell in them. Both
  // interleave the bits of the channels, red lowest, so that the entries and answers of a
  // cache line cover a compact box of colors (4 x 4 x 2 answers, 4 x 2 x 2 entries) rather
  // than a row: colors near one another, as a photograph's are, share lines.
  static constexpr uint32_t PlaceOf(int red, int green, int blue) {
    uint32_t place = 0;
    for (int bit = 0; bit < 8; ++bit)
      place |= uint32_t((red >> bit & 1) | (green >> bit & 1) << 1 | (blue >> bit & 1) << 2)
               << (3 * bit);
    return place;
  }
  // PlaceOf as the OR of one term per channel: three loads cost less than the shifts and
  // masks they stand for, on every pixel of a picture.
  using PlaceTerms = std::array<std::array<uint32_t, 256>, 3>;
  static constexpr PlaceTerms MakePlaceTerms();
  static const PlaceTerms kPlaceOf;

  // An entry is the offset of its cell's slot in slots_ (the slot number times kColors).
  // Slots 0 and 1 hold nothing: their offsets mark a cell unanswered and being answered.
  // Then one slot per floss, then the boundary cells' slots, handed out in order so that
  // the pages a picture uses are full ones.
  static constexpr uint32_t kUnanswered = 0;
  static constexpr uint32_t kAnswering = kColors;
  static constexpr uint32_t kFirstFlossSlot = 2;

  // The answer to a pixel (blue, green, red) of a cell not yet answered: the cell is
  // answered first, unless another thread is answering it, in which case the pixel alone is
  // answered here rather than waiting for a thread that the system may have put aside.
  uint16_t AnswerUnanswered(uint32_t cell, uint32_t place_in_cell, const uint8_t* pixel) const;
  uint32_t AnswerCell(int red, int green, int blue) const;  // the cell's low corner
  // The entry of `floss`'s slot, filled on first use.
  uint32_t FlossEntry(uint32_t floss) const;

  const NearestColorGrid& grid_;
  uint32_t first_boundary_slot_;
  NearestBufferPool::Buffer<uint32_t> entries_;  // per cell, through std::atomic_ref
  // kColors answers per slot; a slot is written once, before the entry naming it is
  // published. Room for every cell, of which a picture uses few: fresh from the system, a
  // page is backed only once it is written.
  NearestBufferPool::Buffer<uint16_t> slots_;
  mutable std::atomic<size_t> boundary_slots_ = 0;
  // Per floss 0 while its slot is unfilled, 1 while a thread fills it, 2 once filled.
  std::unique_ptr<std::atomic<uint8_t>[]> floss_filled_;
  mutable std::atomic<size_t> floss_slots_ = 0;
};
