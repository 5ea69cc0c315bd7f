#include "palette/nearest_buffer_pool.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Enough for the buffers of two live indexes and a third being built (a pass of the
// search on a copy while the window's own index lives); beyond that, memory goes back.
constexpr size_t kMaxKept = 48;
// Small buffers come from the allocator's own free lists, which already reuse them.
constexpr size_t kMinKeptBytes = 64 * 1024;

// Buffers this large go on pages of 2 MiB where the system has them: a lookup reaches
// the answer table and the answer slots at random, and with pages of 4 KiB their
// megabytes need more address translations than the processor keeps at hand.
constexpr size_t kMinHugeBytes = size_t(1) << 20;
constexpr size_t kHugePage = size_t(2) << 20;

void* AllocateFresh(size_t bytes, bool zeroed) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (bytes >= kMinHugeBytes) {
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (void* memory = std::aligned_alloc(kHugePage, rounded)) {
      madvise(memory, rounded, MADV_HUGEPAGE);  // only advice: small pages do too
      if (zeroed) std::memset(memory, 0, bytes);
      return memory;
    }
  }
#endif
  return zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
}

struct Kept {
  void* memory;
  size_t bytes;
};

struct Pool {
  std::mutex mutex;
  std::vector<Kept> kept;
};

// Never destroyed: an index held by a static object may give its buffers back after
// every other static is gone.
Pool& ThePool() {
  static Pool& pool = *new Pool;
  return pool;
}

}  // namespace

void NearestBufferPool::Return::operator()(void* memory) const {
  if (memory) GiveBytes(memory, bytes_);
}

void* NearestBufferPool::TakeBytes(size_t bytes, bool zeroed) {
  if (bytes >= kMinKeptBytes) {
    Pool& pool = ThePool();
    void* memory = nullptr;
    {
      std::lock_guard lock(pool.mutex);
      // The latest given back first: its pages are the likeliest to be in the caches.
      for (size_t k = pool.kept.size(); k-- > 0;) {
        if (pool.kept[k].bytes != bytes) continue;
        memory = pool.kept[k].memory;
        pool.kept.erase(pool.kept.begin() + ptrdiff_t(k));
        break;
      }
    }
    if (memory) {
      if (zeroed) std::memset(memory, 0, bytes);
      return memory;
    }
  }
  void* memory = AllocateFresh(bytes, zeroed);
  if (!memory && bytes > 0) throw std::bad_alloc();
  return memory;
}

void NearestBufferPool::GiveBytes(void* memory, size_t bytes) {
  if (bytes >= kMinKeptBytes) {
    Pool& pool = ThePool();
    std::lock_guard lock(pool.mutex);
    if (pool.kept.size() < kMaxKept) {
      try {
        pool.kept.push_back({memory, bytes});
        return;
      } catch (const std::bad_alloc&) {
        // No room to note it: it goes back to the system below.
      }
    }
  }
  std::free(memory);
}
