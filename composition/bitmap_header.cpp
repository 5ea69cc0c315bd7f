#include "composition/bitmap_header.h"

#include "composition/little_endian.h"
#include "composition/picture_block.h"

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kOs2HeaderSize = 64;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kNoCompression = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

bool KnownSize(uint32_t size) {
  switch (size) {
    case kCoreHeaderSize:
    case kInfoHeaderSize:
    case 52:
    case 56:
    case kOs2HeaderSize:
    case 108:
    case kLargestBitmapHeader:
      return true;
    default:
      return false;
  }
}

// Color-table entries a bit count implies when the header gives none.
uint64_t ImpliedTableEntries(uint16_t bits) {
  switch (bits) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

// Where the masks are and how many: in the header from the second version on (the OS/2
// header of 64 bytes has other fields there), after a 40-byte one when its compression
// says they are given. Only 32-bit pixels are taken with masks, so only they need them.
BitmapHeaderRead ReadMasks(const uint8_t* info, size_t left, BitmapHeader& header) {
  size_t count = 0;
  if (header.size == kInfoHeaderSize) {
    if (header.bits != 32) return BitmapHeaderRead::Read;
    if (header.compression == kBitFields) count = 3;
    if (header.compression == kAlphaBitFields) count = 4;
    header.mask_bytes = uint32_t(4 * count);
    if (left - header.size < header.mask_bytes) return BitmapHeaderRead::Short;
  } else if (header.size != kOs2HeaderSize) {
    count = header.size >= 56 ? 4 : 3;
  }
  uint32_t* masks[] = {&header.red_mask, &header.green_mask, &header.blue_mask, &header.alpha_mask};
  for (size_t i = 0; i < count; ++i) *masks[i] = GetLe32(info + kInfoHeaderSize + 4 * i);
  return BitmapHeaderRead::Read;
}

}  // namespace

BitmapHeaderRead ReadBitmapHeader(const uint8_t* info, size_t left, BitmapHeader& header) {
  if (left < 4) return BitmapHeaderRead::Short;
  header = BitmapHeader{};
  header.size = GetLe32(info);
  if (!KnownSize(header.size)) return BitmapHeaderRead::Unknown;
  if (left < header.size) return BitmapHeaderRead::Short;
  if (header.size == kCoreHeaderSize) {
    header.width = GetLe16(info + 4);
    header.height = GetLe16(info + 6);
    header.bits = GetLe16(info + 10);
    return BitmapHeaderRead::Read;
  }
  header.width = int32_t(GetLe32(info + 4));
  header.height = int32_t(GetLe32(info + 8));
  header.bits = GetLe16(info + 14);
  header.compression = GetLe32(info + 16);
  header.colors_used = GetLe32(info + 32);
  return ReadMasks(info, left, header);
}

BitmapPixelFormat PixelFormatOf(const BitmapHeader& header) {
  const bool core = header.size == kCoreHeaderSize;
  if (header.compression == kNoCompression) {
    if (header.bits == 24) return BitmapPixelFormat::Bgr24;
    // Many writers leave the fourth byte 0 here, meaning no alpha, not transparent.
    if (header.bits == 32 && !core) return BitmapPixelFormat::Bgrx32;
    return BitmapPixelFormat::None;
  }
  // The OS/2 header's compression 3 is a Huffman code, not masks.
  if (header.bits != 32 || core || header.size == kOs2HeaderSize) return BitmapPixelFormat::None;
  if (header.compression != kBitFields && header.compression != kAlphaBitFields)
    return BitmapPixelFormat::None;
  if (header.red_mask != 0x00FF0000 || header.green_mask != 0x0000FF00 ||
      header.blue_mask != 0x000000FF)
    return BitmapPixelFormat::None;
  if (header.alpha_mask == 0) return BitmapPixelFormat::Bgrx32;
  if (header.alpha_mask == 0xFF000000) return BitmapPixelFormat::Bgra32;
  return BitmapPixelFormat::None;
}

uint64_t ColorTableBytes(const BitmapHeader& header) {
  if (header.size == kCoreHeaderSize) return ImpliedTableEntries(header.bits) * 3;
  return (header.colors_used != 0 ? header.colors_used : ImpliedTableEntries(header.bits)) * 4;
}

uint64_t FileRowLength(BitmapPixelFormat format, uint32_t width) {
  switch (format) {
    case BitmapPixelFormat::Bgr24:
      return RowLength(width);
    case BitmapPixelFormat::Bgrx32:
    case BitmapPixelFormat::Bgra32:
      return 4 * uint64_t(width);
    case BitmapPixelFormat::None:
      break;
  }
  return 0;
}
