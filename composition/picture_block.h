#pragma once
// A picture block: 24-bit pixel rows (blue, green, red), each row padded with zeros to a
// multiple of four bytes, bottom row first, no header. Compositions, composition files and
// bitmap files all hold pictures in exactly this layout.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "base/color.h"

using PictureBlock = std::vector<uint8_t>;

// Bytes of one row of a picture `width` pixels wide.
constexpr size_t RowLength(uint32_t width) {
  return ((size_t(width) * 24 + 31) / 32) * 4;
}

// Bytes that width x height pixels need.
constexpr size_t PictureBytes(uint32_t width, uint32_t height) {
  return RowLength(width) * height;
}

// A block of `size` zero bytes, on the system's large pages where it has them: a picture
// block is tens of megabytes, and taking it from the system 4 KiB at a time costs more
// than filling it.
PictureBlock NewPictureBlock(size_t size);

// A block that holds fewer bytes than its sizes promise is a fault of the caller, never of
// a file: files are checked before their blocks are made.
inline void RequireHolds(const PictureBlock& block, uint32_t width, uint32_t height) {
  if (block.size() < PictureBytes(width, height))
    throw std::logic_error("picture block smaller than its width and height");
}

// Offset of the pixel at column x of row y, rows counted from the top.
constexpr size_t PixelOffset(uint32_t width, uint32_t height, uint32_t x, uint32_t y) {
  return (size_t(height) - 1 - y) * RowLength(width) + 3 * size_t(x);
}

inline TColor PixelAt(const uint8_t* block, size_t offset) {
  return MakeColor(block[offset + 2], block[offset + 1], block[offset]);
}

inline void PutPixelAt(uint8_t* block, size_t offset, TColor color) {
  block[offset] = BlueOf(color);
  block[offset + 1] = GreenOf(color);
  block[offset + 2] = RedOf(color);
}
