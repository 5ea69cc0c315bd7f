#pragma once
// The answers of a grid for whole pictures: a lookup is one load from a small table, with
// no list to scan and no branch that a photograph's noise could make the processor
// mispredict. The cube is cut into 32,768 coarse cells of side 8; one table entry per cell
// (64 KiB, which stays in the L2 cache) holds the floss of a cell whose colors all share
// one, and only a cell on a boundary between floss keeps the answers of its 512 colors.
// Cells are answered on first use. Only for palettes whose indices fit 14 bits.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

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

  // Slots filled so far: one per cell on a boundary between floss, one per floss that
  // fills a whole cell somewhere.
  size_t SlotsUsed() const;
  size_t MemoryBytes() const;

 private:
  static constexpr int kShift = 3;
  static constexpr int kSide = 1 << kShift;
  static constexpr int kColors = kSide * kSide * kSide;
  static constexpr size_t kCells = size_t(1) << (3 * (8 - kShift));
  // A coarse entry is the slot holding the answers of the cell's colors, kUnanswered before
  // first use. Cells of one floss share that floss's slot, so every lookup is the same two
  // loads whatever the cell: no branch for the processor to mispredict.
  static constexpr uint16_t kUnanswered = 0xFFFF;
  // Room for every cell and for the few answered twice by threads racing on one cell.
  static constexpr size_t kSlots = kCells + 1024;
  static_assert(kSlots < kUnanswered);
  static constexpr uint32_t kNoSlot = 0xFFFFFFFF;

  // Answers the coarse cell of a color, publishes its entry and gives the color's answer.
  int32_t AnswerCell(uint32_t cell, int red, int green, int blue) const;
  // The slot whose answers are all `floss`, filled on first use; kNoSlot if none is left.
  uint32_t FlossSlot(uint16_t floss) const;
  // A fresh slot holding `answers`, or kNoSlot.
  uint32_t NewSlot(const uint16_t* answers) const;
  // The 512 answers of a coarse cell, in the order of Within; true if they are all equal.
  bool CellAnswers(int low_red, int low_green, int low_blue, uint16_t* answers) const;

  static constexpr uint32_t CellOf(int red, int green, int blue) {
    return uint32_t(red >> kShift) | uint32_t(green >> kShift) << (8 - kShift) |
           uint32_t(blue >> kShift) << (16 - 2 * kShift);
  }
  // The bits of the three channels interleaved, red lowest: the 32 answers of a cache line
  // are a 4 x 4 x 2 box rather than a row, so a photograph's noisy neighbours mostly share
  // lines; and each grid cell of side 4 inside is a run of 64.
  static constexpr uint32_t Within(int red, int green, int blue) {
    uint32_t place = 0;
    for (int bit = 0; bit < kShift; ++bit)
      place |= uint32_t((red >> bit & 1) | (green >> bit & 1) << 1 | (blue >> bit & 1) << 2)
               << (3 * bit);
    return place;
  }

  using PlaceTerms = std::array<std::array<uint32_t, 256>, 3>;
  static constexpr PlaceTerms MakePlaceTerms();
  static const PlaceTerms kPlaceOf;

  const NearestColorGrid& grid_;
  std::unique_ptr<uint16_t[]> coarse_;  // read and written through std::atomic_ref
  // The slots, kColors answers each, handed out in order so that the few pages a picture
  // uses are full ones. Taken straight from the system, which backs a page only once it is
  // written; a slot is written once, before its cell's entry is published.
  struct FreeSlots {
    void operator()(uint16_t* slots) const;
  };
  std::unique_ptr<uint16_t[], FreeSlots> slots_;
  mutable std::atomic<size_t> next_slot_ = 0;
  std::unique_ptr<std::atomic<uint32_t>[]> floss_slots_;  // per floss, or kNoSlot
};
