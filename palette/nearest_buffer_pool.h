#pragma once
// Large buffers of the nearest-color structures, kept for the next structure once one is
// destroyed. A palette edit makes a fresh index that fills megabytes as the next pass runs;
// fresh memory from the system costs a page fault for every 4 KiB the pass first writes,
// and a recycled buffer has its pages resident already. Only the memory is reused: its
// contents never outlive the structure that wrote them.

#include <cstddef>
#include <memory>

class NearestBufferPool {
 public:
  // Gives the bytes back to the pool, or to the system when the pool is full.
  class Return {
   public:
    Return() = default;
    explicit Return(size_t bytes) : bytes_(bytes) {}
    void operator()(void* memory) const;

   private:
    size_t bytes_ = 0;
  };
  template <typename T>
  using Buffer = std::unique_ptr<T[], Return>;

  // `count` elements of T, all zero bits when `zeroed`, else of any content. Throws
  // std::bad_alloc when the system has no memory left.
  template <typename T>
  static Buffer<T> Take(size_t count, bool zeroed) {
    return Buffer<T>(static_cast<T*>(TakeBytes(count * sizeof(T), zeroed)),
                     Return(count * sizeof(T)));
  }

 private:
  static void* TakeBytes(size_t bytes, bool zeroed);
  static void GiveBytes(void* memory, size_t bytes);
};
