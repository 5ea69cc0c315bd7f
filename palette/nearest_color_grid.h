#pragma once
// A grid over the RGB cube for one set of palette colors: per cell of side 4, the few
// entries that can be nearest somewhere in it. A palette makes a new grid for every revision
// of its colors; a grid never changes its colors. Cells are built a block of 64 at a time as
// lookups reach them, so a grid made after a palette edit costs nothing until it is used.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/color.h"
#include "palette/nearest_buffer_pool.h"

class NearestColorGrid {
 public:
  static constexpr int kCellSide = 4;

  // A palette entry that may be nearest somewhere in a box of colors. A list of them is
  // sorted by (box_dist, index), box_dist being the least squared distance from the entry to
  // the box, and ends with a sentinel whose box_dist exceeds every real distance.
  struct Candidate {
    uint32_t box_dist;
    int32_t index;
    uint8_t red, green, blue;
  };
  static constexpr uint32_t kSentinel = 0xFFFFFFFF;

  // What a cell holds: the one entry nearest everywhere in it, or its list of candidates.
  class Cell {
   public:
    bool IsSingle() const { return slot_ & 1; }
    int32_t Single() const { return int32_t(slot_ >> 1); }
    const Candidate* List() const { return reinterpret_cast<const Candidate*>(slot_); }
    // The nearest entry to a color inside the cell.
    int32_t Answer(int red, int green, int blue) const;

   private:
    friend class NearestColorGrid;
    explicit Cell(uintptr_t slot) : slot_(slot) {}
    uintptr_t slot_;  // (index << 1) | 1, or the address of the list
  };

  explicit NearestColorGrid(std::vector<TColor> colors);
  ~NearestColorGrid();
  NearestColorGrid(const NearestColorGrid&) = delete;
  NearestColorGrid& operator=(const NearestColorGrid&) = delete;

  const std::vector<TColor>& Colors() const { return colors_; }

  // The cell holding a color. Safe from several threads at once, as is everything here.
  Cell CellOf(int red, int green, int blue) const {
    const size_t block = size_t(red >> 4) | size_t(green >> 4) << 4 | size_t(blue >> 4) << 8;
    const uintptr_t* slots = BlockSlots(block, red, green, blue);
    return Cell(
        slots[size_t(red >> 2 & 3) | size_t(green >> 2 & 3) << 2 | size_t(blue >> 2 & 3) << 4]);
  }
  // The candidates of the block of side 16 holding a color, as a sorted list: every entry that is
  // nearest, or ties with the nearest, somewhere in the block. For callers that answer whole cells
  // at once and need no list per cell.
  const Candidate* BlockList(int red, int green, int blue) const;
  // indices[i] = the nearest entry to colors[i], for i < count, on the calling thread.
  void FindRange(const TColor* colors, size_t count, int32_t* indices) const;

  // Bytes held by the colors and the cells built so far.
  size_t MemoryBytes() const;

 private:
  struct Box {
    int low_red, low_green, low_blue;
    int side;
  };

  const Candidate* Entries() const;
  // The list of the region (side 32) holding a color, built on first use.
  const Candidate* RegionList(int red, int green, int blue) const;
  // The 64 cell slots of a block (side 16), waiting for or doing its build when needed.
  const uintptr_t* BlockSlots(size_t block, int red, int green, int blue) const {
    const uintptr_t state = blocks_[block].load(std::memory_order_acquire);
    return state > kBuilding ? reinterpret_cast<const uintptr_t*>(state)
                             : ClaimAndBuild(block, red, green, blue);
  }
  // The list of `box` from the list of a box around it, published in `slot` unless another
  // thread did so first.
  const Candidate* PublishList(std::atomic<const Candidate*>& slot, const Candidate* parent,
                               const Box& box) const;
  const uintptr_t* ClaimAndBuild(size_t block, int red, int green, int blue) const;
  const uintptr_t* BuildBlock(int block_red, int block_green, int block_blue) const;
  void* PoolAllocate(size_t bytes) const;  // with pool_mutex_ held
  static void CollectCandidates(const Candidate* parent, const Box& box,
                                std::vector<Candidate>& out);

  std::vector<TColor> colors_;

  // Distinct colors with the first index holding each: a later duplicate can never win,
  // so it is dropped once rather than carried through every cell.
  mutable std::once_flag entries_once_;
  mutable std::vector<Candidate> entries_;
  mutable std::atomic<size_t> entries_bytes_ = 0;

  // The cube is split into 512 regions of side 32, 4096 blocks of side 16 and 262,144 cells
  // of side 4. A region keeps a list; a block, once built, the slots of its 64 cells. Only
  // the small per-region and per-block tables exist before first use.
  std::unique_ptr<std::atomic<const Candidate*>[]> regions_;
  std::unique_ptr<std::atomic<const Candidate*>[]> block_lists_;  // null until asked for
  static constexpr uintptr_t kBuilding = 1;
  // 0 while unbuilt, kBuilding while a thread builds it, else the address of its slots. A
  // build takes microseconds, less than putting a thread to sleep and waking it, so a thread
  // needing a block being built spins rather than blocking on a mutex.
  std::unique_ptr<std::atomic<uintptr_t>[]> blocks_;

  // Lists and slots live in large chunks owned here; the mutex guards the chunks and the
  // publication of a region's list, never a lookup.
  mutable std::mutex pool_mutex_;
  mutable std::vector<NearestBufferPool::Buffer<std::byte>> pool_chunks_;
  mutable size_t pool_used_ = 0;
  mutable size_t pool_capacity_ = 0;
  mutable size_t pool_bytes_ = 0;
};

inline int32_t NearestColorGrid::Cell::Answer(int red, int green, int blue) const {
  if (IsSingle()) return Single();
  uint32_t best = 3 * 256 * 256;  // more than any squared distance in the cube
  int32_t best_index = 0;
  for (const Candidate* c = List(); c->box_dist <= best; ++c) {
    const int dr = red - c->red, dg = green - c->green, db = blue - c->blue;
    const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
    if (d < best || (d == best && c->index < best_index)) {
      best = d;
      best_index = c->index;
    }
  }
  return best_index;
}
