#pragma once
// The palette entry nearest to a color, fast enough to map every pixel of a picture:
// exactly the answer of the plain linear search (least squared RGB distance, ties to the
// lowest index), found among a few candidates kept per cell of a grid over the RGB cube.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/color.h"

class NearestColorIndex {
 public:
  // Only keeps the colors: the grid is built piece by piece as lookups reach it, so an index
  // made after every palette edit costs nothing until it is used.
  explicit NearestColorIndex(std::vector<TColor> colors);
  ~NearestColorIndex();
  NearestColorIndex(const NearestColorIndex&) = delete;
  NearestColorIndex& operator=(const NearestColorIndex&) = delete;

  size_t Size() const { return colors_.size(); }

  // The index LinearNearest(colors, color) gives; 0 for an empty palette. Safe to call from
  // several threads at once.
  int32_t Find(TColor color) const;
  // indices[i] = Find(colors[i]) for i < count; large batches are shared between the cores.
  void FindMany(const TColor* colors, size_t count, int32_t* indices) const;
  // The same for `count` pixels of a picture row, three bytes each: blue, green, red. On
  // the calling thread only, so passes can split a picture between the cores themselves.
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const;

  // Bytes held by the colors and the cells built so far.
  size_t MemoryBytes() const;

  // For benchmarks, which compare each pass with the plain search it replaces: while set,
  // every lookup of every index is LinearNearest, one color at a time on one thread.
  static void UsePlainSearch(bool plain);

 private:
  // A palette entry that may be nearest somewhere in a box of colors. A list of them is
  // sorted by (box_dist, index), box_dist being the least squared distance from the entry to
  // the box, and ends with a sentinel whose box_dist exceeds every real distance.
  struct Candidate {
    uint32_t box_dist;
    int32_t index;
    uint8_t red, green, blue;
  };
  struct Box {
    int low_red, low_green, low_blue;
    int side;
  };

  const Candidate* Entries() const;
  // The list of the region (side 32) holding a color, built on first use.
  const Candidate* RegionList(int red, int green, int blue) const;
  // The 64 cell slots of a block, waiting for or doing its build when needed.
  const uintptr_t* BlockSlots(size_t block, int red, int green, int blue) const;
  const uintptr_t* ClaimAndBuild(size_t block, int red, int green, int blue) const;
  const uintptr_t* BuildBlock(int block_red, int block_green, int block_blue) const;
  void* PoolAllocate(size_t bytes) const;  // with pool_mutex_ held
  static void CollectCandidates(const Candidate* parent, const Box& box,
                                std::vector<Candidate>& out);
  static int32_t Answer(uintptr_t slot, int red, int green, int blue);
  // Every color of a cell answered at once, for passes over many colors: a lookup is then
  // one load from a table over the whole cube and no branch that a picture's noise could
  // make the processor mispredict. Filled a cell at a time on first use; only for palettes
  // whose indices fit 14 bits.
  bool HasAnswerTable() const { return colors_.size() <= 16384; }
  uint16_t* AnswerTable() const;
  void BuildCellAnswers(uint16_t* table, uint32_t place) const;

  static int32_t Scan(const Candidate* list, int red, int green, int blue);
  void FindRange(const TColor* colors, size_t count, int32_t* indices) const;

  std::vector<TColor> colors_;

  // Distinct colors with the first index holding each: a later duplicate can never win,
  // so it is dropped once rather than carried through every cell.
  mutable std::once_flag entries_once_;
  mutable std::vector<Candidate> entries_;
  mutable std::atomic<size_t> entries_bytes_ = 0;

  // The cube is split into 512 regions of side 32, 4096 blocks of side 16 and 262,144 cells
  // of side 4. A region keeps a list; a block, once built, the slots of its 64 cells: a cell
  // answered by one entry everywhere holds (index << 1) | 1, any other the address of its
  // list. Only the small per-region and per-block tables exist before first use.
  std::unique_ptr<std::atomic<const Candidate*>[]> regions_;
  // 0 while unbuilt, kBuilding while a thread builds it, else the address of its slots. A
  // build takes microseconds, less than putting a thread to sleep and waking it, so a thread
  // needing a block being built spins rather than blocking on a mutex.
  std::unique_ptr<std::atomic<uintptr_t>[]> blocks_;
  // Per color its answer, valid once the flag of its cell is set. Colors are placed
  // block by block, so the few blocks a picture uses take few pages of the (untouched,
  // hence unallocated) rest. The table is never read before its cell is written: reading a
  // fresh page first and writing it later would make the system flush every core's view of
  // it, which costs more than the build. Several threads may fill one cell at once: they
  // store the same values, always through std::atomic_ref.
  struct FreeTable {
    void operator()(uint16_t* table) const;
  };
  mutable std::once_flag answers_once_;
  mutable std::unique_ptr<uint16_t[], FreeTable> answers_;
  mutable std::unique_ptr<std::atomic<uint8_t>[]> answered_;  // per cell, set once built
  mutable std::atomic<size_t> answer_bytes_ = 0;              // the flags and the cells written

  // Lists and slots live in large chunks owned here; the mutex guards the chunks and the
  // publication of a region's list, never a lookup.
  mutable std::mutex pool_mutex_;
  mutable std::vector<std::unique_ptr<std::byte[]>> pool_chunks_;
  mutable size_t pool_used_ = 0;
  mutable size_t pool_capacity_ = 0;
  mutable size_t pool_bytes_ = 0;
};

// The plain linear search over the palette: the reference the index must agree with.
int32_t LinearNearest(const std::vector<TColor>& colors, TColor color);
