#pragma once
// The information header of a bitmap file, in any of the versions writers use, and the
// true-color pixel formats a picture can be taken from.

#include <cstddef>
#include <cstdint>

// The largest information header there is (the fifth version).
constexpr size_t kLargestBitmapHeader = 124;
// Color masks may follow a 40-byte header: red, green, blue and alpha.
constexpr size_t kFollowingMaskBytes = 16;

// How a picture's pixels are stored in the file.
enum class BitmapPixelFormat {
  None,    // not true color, or a compression: the file is no picture
  Bgr24,   // three bytes a pixel, rows padded to four bytes: the picture block's own
  Bgrx32,  // four bytes a pixel, the fourth unused
  Bgra32,  // four bytes a pixel, the fourth an alpha to be put over white
};

struct BitmapHeader {
  uint32_t size = 0;              // the header version's length in bytes
  int64_t width = 0, height = 0;  // as stored: a negative height has its rows top-down
  uint16_t bits = 0;              // per pixel
  uint32_t compression = 0;       // 0 for none
  uint32_t colors_used = 0;       // the color table's entries, 0 for the implied count
  uint32_t red_mask = 0, green_mask = 0, blue_mask = 0, alpha_mask = 0;
  uint32_t mask_bytes = 0;  // masks stored after the header, not in it
};

enum class BitmapHeaderRead {
  Read,
  Unknown,  // not a header version a picture is taken from
  Short,    // the header, or the masks after it, run past the bytes there are
};

// Reads the information header that starts at `info`, with `left` bytes there.
BitmapHeaderRead ReadBitmapHeader(const uint8_t* info, size_t left, BitmapHeader& header);

// The format of a header's pixels; None for anything but uncompressed 24 bits and
// 32 bits with the usual masks.
BitmapPixelFormat PixelFormatOf(const BitmapHeader& header);

// The bytes of the color table after the header and its masks.
uint64_t ColorTableBytes(const BitmapHeader& header);

// The bytes of one row of pixels in the file.
uint64_t FileRowLength(BitmapPixelFormat format, uint32_t width);
