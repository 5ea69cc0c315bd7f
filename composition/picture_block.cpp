#include "composition/picture_block.h"

#include <sys/mman.h>

PictureBlock NewPictureBlock(size_t size) {
  constexpr size_t kLargePage = size_t(2) << 20;
  PictureBlock block;
  // Reserved memory is not touched yet: the advice comes before its first page is taken.
  block.reserve(size);
  const uintptr_t begin = (uintptr_t(block.data()) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (uintptr_t(block.data()) + size) & ~(kLargePage - 1);
  // Only advice: where the system has no large pages the block takes small ones.
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  block.resize(size);
  return block;
}
