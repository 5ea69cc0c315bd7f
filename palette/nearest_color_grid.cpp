#include "palette/nearest_color_grid.h"

#include <algorithm>
#include <limits>
#include <thread>

// Why the lists are exact: for a box B let U be the least, over the entries, of the largest
// squared distance from an entry to a point of B. Every point of B then has some entry within
// U, so an entry whose least distance to B exceeds U is strictly farther than the nearest
// everywhere in B: it can be neither the nearest nor tie with it. Keeping all the others keeps
// every entry at the least distance. A cell lies inside its block and a block inside its
// region, so each only needs to look at the list of the box around it, and U taken over that
// list alone is still a distance that some entry reaches: the same argument holds.
//
// A lookup scans the list in box_dist order keeping the least (distance, index) pair and stops
// at the first entry whose box_dist exceeds the best distance: that entry and all after it are
// strictly farther. The least pair is the lowest index at the least distance, which is what
// the linear search returns, its stop on a zero distance included.

namespace {

// Cells have a side of 4; they are built 64 at a time, a block of side 16, from the block's
// own candidates, which come from those of its region of side 32.
constexpr int kCellShift = 2;
constexpr int kBlockShift = 4;
constexpr int kRegionShift = 5;
constexpr int kCellSide = 1 << kCellShift;
static_assert(kCellSide == NearestColorGrid::kCellSide);
constexpr int kBlockSide = 1 << kBlockShift;
constexpr int kRegionSide = 1 << kRegionShift;
constexpr int kPlanes = kBlockSide / kCellSide;  // cells of a block along each axis
constexpr int kCellsPerBlock = kPlanes * kPlanes * kPlanes;
constexpr size_t kBlocks = size_t(1) << (3 * (8 - kBlockShift));
constexpr size_t kRegions = size_t(1) << (3 * (8 - kRegionShift));

constexpr size_t kFirstPoolChunk = 8 * 1024, kPoolChunk = 256 * 1024;  // bytes

// The box of side 2^shift holding a color, numbered red fastest.
inline size_t BoxOf(int shift, int red, int green, int blue) {
  const int bits = 8 - shift;
  return size_t(red >> shift) | size_t(green >> shift) << bits |
         size_t(blue >> shift) << (2 * bits);
}

inline size_t CellInBlock(int red, int green, int blue) {
  constexpr int kMask = kPlanes - 1;
  return size_t(red >> kCellShift & kMask) | size_t(green >> kCellShift & kMask) << 2 |
         size_t(blue >> kCellShift & kMask) << 4;
}
static_assert(kPlanes == 4 && kBlockShift == 4 && kCellShift == 2,
              "CellInBlock and NearestColorGrid::CellOf pack 2 bits per axis");

// Least and largest distance along one axis from v to the integers low..low+side-1.
inline int AxisMin(int v, int low, int side) {
  if (v < low) return low - v;
  const int high = low + side - 1;
  return v > high ? v - high : 0;
}
inline int AxisMax(int v, int low, int side) {
  return std::max(v - low, low + side - 1 - v);
}

}  // namespace

NearestColorGrid::NearestColorGrid(std::vector<TColor> colors)
    : colors_(std::move(colors)),
      regions_(new std::atomic<const Candidate*>[kRegions]()),
      block_lists_(new std::atomic<const Candidate*>[kBlocks]()),
      blocks_(new std::atomic<uintptr_t>[kBlocks]()) {}

NearestColorGrid::~NearestColorGrid() = default;

const NearestColorGrid::Candidate* NearestColorGrid::Entries() const {
  std::call_once(entries_once_, [this] {
    // Sorted by (color, index), the first of each run of equal colors is the one to keep.
    std::vector<uint64_t> keys(colors_.size());
    for (size_t i = 0; i < colors_.size(); ++i) {
      keys[i] = uint64_t(colors_[i] & 0xFFFFFF) << 32 | uint32_t(i);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<Candidate> entries;
    entries.reserve(keys.size() + 1);
    for (size_t k = 0; k < keys.size(); ++k) {
      if (k > 0 && keys[k] >> 32 == keys[k - 1] >> 32) continue;
      const TColor c = TColor(keys[k] >> 32);
      entries.push_back({0, int32_t(uint32_t(keys[k])), RedOf(c), GreenOf(c), BlueOf(c)});
    }
    entries.push_back({kSentinel, 0, 0, 0, 0});
    entries.shrink_to_fit();
    entries_ = std::move(entries);
    entries_bytes_ = entries_.capacity() * sizeof(Candidate);
  });
  return entries_.data();
}

void NearestColorGrid::CollectCandidates(const Candidate* parent, const Box& box,
                                         std::vector<Candidate>& out) {
  const size_t start = out.size();
  uint32_t bound = kSentinel;
  for (const Candidate* c = parent; c->box_dist != kSentinel; ++c) {
    const int dr = AxisMax(c->red, box.low_red, box.side);
    const int dg = AxisMax(c->green, box.low_green, box.side);
    const int db = AxisMax(c->blue, box.low_blue, box.side);
    bound = std::min(bound, uint32_t(dr * dr + dg * dg + db * db));
  }
  for (const Candidate* c = parent; c->box_dist != kSentinel; ++c) {
    const int dr = AxisMin(c->red, box.low_red, box.side);
    const int dg = AxisMin(c->green, box.low_green, box.side);
    const int db = AxisMin(c->blue, box.low_blue, box.side);
    const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
    if (d <= bound) out.push_back({d, c->index, c->red, c->green, c->blue});
  }
  std::sort(out.begin() + start, out.end(), [](const Candidate& a, const Candidate& b) {
    return a.box_dist != b.box_dist ? a.box_dist < b.box_dist : a.index < b.index;
  });
  out.push_back({kSentinel, 0, 0, 0, 0});
}

void* NearestColorGrid::PoolAllocate(size_t bytes) const {
  bytes = (bytes + alignof(uintptr_t) - 1) & ~(alignof(uintptr_t) - 1);
  if (pool_capacity_ - pool_used_ < bytes) {
    // Chunks grow from small, so a few lookups after a palette edit stay cheap.
    const size_t size = std::max(bytes, std::clamp(pool_bytes_, kFirstPoolChunk, kPoolChunk));
    pool_chunks_.push_back(NearestBufferPool::Take<std::byte>(size, false));
    pool_used_ = 0;
    pool_capacity_ = size;
    pool_bytes_ += size;
  }
  void* memory = pool_chunks_.back().get() + pool_used_;
  pool_used_ += bytes;
  return memory;
}

const NearestColorGrid::Candidate* NearestColorGrid::PublishList(
    std::atomic<const Candidate*>& slot, const Candidate* parent, const Box& box) const {
  thread_local std::vector<Candidate> list;
  list.clear();
  CollectCandidates(parent, box, list);
  std::lock_guard lock(pool_mutex_);
  // Another thread may have built it meanwhile; its list is just as good.
  if (const Candidate* built = slot.load(std::memory_order_acquire)) return built;
  Candidate* memory = static_cast<Candidate*>(PoolAllocate(list.size() * sizeof(Candidate)));
  std::uninitialized_copy(list.begin(), list.end(), memory);
  slot.store(memory, std::memory_order_release);
  return memory;
}

const NearestColorGrid::Candidate* NearestColorGrid::RegionList(int red, int green,
                                                                int blue) const {
  std::atomic<const Candidate*>& slot = regions_[BoxOf(kRegionShift, red, green, blue)];
  if (const Candidate* built = slot.load(std::memory_order_acquire)) return built;
  constexpr int kMask = -kRegionSide;
  return PublishList(slot, Entries(), Box{red & kMask, green & kMask, blue & kMask, kRegionSide});
}

const NearestColorGrid::Candidate* NearestColorGrid::BlockList(int red, int green, int blue) const {
  std::atomic<const Candidate*>& slot = block_lists_[BoxOf(kBlockShift, red, green, blue)];
  if (const Candidate* built = slot.load(std::memory_order_acquire)) return built;
  constexpr int kMask = -kBlockSide;
  return PublishList(slot, RegionList(red, green, blue),
                     Box{red & kMask, green & kMask, blue & kMask, kBlockSide});
}

const uintptr_t* NearestColorGrid::ClaimAndBuild(size_t block, int red, int green, int blue) const {
  std::atomic<uintptr_t>& state = blocks_[block];
  for (int spins = 0;; ++spins) {
    uintptr_t seen = state.load(std::memory_order_acquire);
    if (seen > kBuilding) return reinterpret_cast<const uintptr_t*>(seen);
    if (seen == 0 && state.compare_exchange_strong(seen, kBuilding, std::memory_order_acquire)) {
      const uintptr_t* slots;
      try {
        slots = BuildBlock(red & -kBlockSide, green & -kBlockSide, blue & -kBlockSide);
      } catch (...) {
        state.store(0, std::memory_order_release);  // lets a later lookup try again
        throw;
      }
      state.store(reinterpret_cast<uintptr_t>(slots), std::memory_order_release);
      return slots;
    }
    // Another thread is building it; let that thread run should it share our core.
    if (spins >= 64) std::this_thread::yield();
  }
}

const uintptr_t* NearestColorGrid::BuildBlock(int block_red, int block_green,
                                              int block_blue) const {
  thread_local std::vector<Candidate> block_list, lists;
  thread_local std::vector<uint32_t> axis_table;
  block_list.clear();
  CollectCandidates(RegionList(block_red, block_green, block_blue),
                    Box{block_red, block_green, block_blue, kBlockSide}, block_list);
  const size_t n = block_list.size() - 1;  // without the sentinel

  // Squared least and largest distances along each axis from every candidate to every cell
  // position in the block: a cell's distances are then three additions.
  axis_table.resize(size_t(3 * 2 * kPlanes) * n);
  const auto least = [&](int axis, int p) { return &axis_table[(axis * 2 * kPlanes + p) * n]; };
  const auto largest = [&](int axis, int p) {
    return &axis_table[((axis * 2 + 1) * kPlanes + p) * n];
  };
  const int lows[3] = {block_red, block_green, block_blue};
  for (size_t j = 0; j < n; ++j) {
    const int values[3] = {block_list[j].red, block_list[j].green, block_list[j].blue};
    for (int axis = 0; axis < 3; ++axis) {
      for (int p = 0; p < kPlanes; ++p) {
        const int low = lows[axis] + p * kCellSide;
        const int dmin = AxisMin(values[axis], low, kCellSide);
        const int dmax = AxisMax(values[axis], low, kCellSide);
        least(axis, p)[j] = uint32_t(dmin * dmin);
        largest(axis, p)[j] = uint32_t(dmax * dmax);
      }
    }
  }

  // Every cell's list goes into `lists`; a cell answered by one entry keeps only its slot.
  lists.clear();
  uintptr_t slots[kCellsPerBlock];
  size_t offsets[kCellsPerBlock];
  int k = 0;
  for (int pb = 0; pb < kPlanes; ++pb) {
    for (int pg = 0; pg < kPlanes; ++pg) {
      for (int pr = 0; pr < kPlanes; ++pr, ++k) {
        const uint32_t *max_r = largest(0, pr), *max_g = largest(1, pg), *max_b = largest(2, pb);
        uint32_t bound = kSentinel;
        for (size_t j = 0; j < n; ++j) bound = std::min(bound, max_r[j] + max_g[j] + max_b[j]);
        const uint32_t *min_r = least(0, pr), *min_g = least(1, pg), *min_b = least(2, pb);
        const size_t start = lists.size();
        for (size_t j = 0; j < n; ++j) {
          const uint32_t d = min_r[j] + min_g[j] + min_b[j];
          if (d > bound) continue;
          Candidate c = block_list[j];
          c.box_dist = d;
          // Insertion keeps (box_dist, index) order; the lists are a handful long.
          size_t at = lists.size();
          lists.push_back(c);
          for (; at > start && (lists[at - 1].box_dist > d ||
                                (lists[at - 1].box_dist == d && lists[at - 1].index > c.index));
               --at)
            lists[at] = lists[at - 1];
          lists[at] = c;
        }
        slots[k] = 0;
        offsets[k] = start;
        if (lists.size() - start == 1) {
          slots[k] = uintptr_t(uint32_t(lists[start].index)) << 1 | 1;
          lists.resize(start);
        } else {
          lists.push_back({kSentinel, 0, 0, 0, 0});
        }
      }
    }
  }

  // The slots first, then the lists they point into, in one piece of the pool.
  void* memory;
  {
    std::lock_guard pool_lock(pool_mutex_);
    memory = PoolAllocate(sizeof(slots) + lists.size() * sizeof(Candidate));
  }
  uintptr_t* const block_slots = static_cast<uintptr_t*>(memory);
  Candidate* const block_lists = reinterpret_cast<Candidate*>(block_slots + kCellsPerBlock);
  std::uninitialized_copy(lists.begin(), lists.end(), block_lists);
  for (k = 0; k < kCellsPerBlock; ++k) {
    block_slots[k] = slots[k] ? slots[k] : reinterpret_cast<uintptr_t>(block_lists + offsets[k]);
  }
  return block_slots;
}

void NearestColorGrid::FindRange(const TColor* colors, size_t count, int32_t* indices) const {
  // Pictures repeat colors in runs, and neighbouring colors tend to share a block: a repeat
  // costs a comparison, a block already at hand saves loading its address.
  TColor previous = 0;
  int32_t previous_index = -1;
  size_t block = kBlocks;
  const uintptr_t* slots = nullptr;
  for (size_t i = 0; i < count; ++i) {
    const TColor color = colors[i];
    if (color != previous || previous_index < 0) {
      const int red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
      const size_t wanted = BoxOf(kBlockShift, red, green, blue);
      if (wanted != block) {
        block = wanted;
        slots = BlockSlots(block, red, green, blue);
      }
      previous = color;
      previous_index = Cell(slots[CellInBlock(red, green, blue)]).Answer(red, green, blue);
    }
    indices[i] = previous_index;
  }
}

size_t NearestColorGrid::MemoryBytes() const {
  const size_t bytes = sizeof(*this) + colors_.capacity() * sizeof(TColor) + entries_bytes_ +
                       kRegions * sizeof(regions_[0]) + kBlocks * sizeof(blocks_[0]) +
                       kBlocks * sizeof(block_lists_[0]);
  std::lock_guard lock(pool_mutex_);
  return bytes + pool_bytes_ + pool_chunks_.capacity() * sizeof(pool_chunks_[0]);
}
