#pragma once
// Windows bitmap files (".bmp") of true-color pictures: the reader behind ImportBitmap, which
// takes 24 and 32 bits with any header version, and the writer behind ExportBitmap (24 bits).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "composition/bitmap_header.h"
#include "composition/picture_block.h"

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr uint16_t kBitmapFileType = 19778;  // "BM"
// A composition file stores its picture block's size in 32 bits.
constexpr uint64_t kLargestStoredPicture = UINT32_MAX;

// Why a bitmap file is not taken as a picture.
enum class BitmapVerdict {
  Taken,
  NotTrueColor,     // not "BM", an unknown header, or no BitmapPixelFormat
  Damaged,          // a header, its masks or the pixel rows cut short, or a negative width
  TooLarge,         // wider or higher than a picture can be
  Empty,            // no pixel at all
  TooLargeToStore,  // more pixel data than a composition file can hold
};

// A bitmap refused as a picture; the message is BitmapRefusalText's.
class EBitmapRefused : public Exception {
 public:
  using Exception::Exception;
};

// The message shown for a bitmap that is refused.
std::string BitmapRefusalText(BitmapVerdict verdict);

// Where the pixels of a true-color bitmap are and how they are laid out.
struct BitmapLayout {
  uint16_t width = 0;
  uint16_t height = 0;
  bool top_down = false;  // the file's rows run from the top (a negative height)
  BitmapPixelFormat format = BitmapPixelFormat::Bgr24;
  // In the whole file: the file header's pixel-data offset when it lies between the end of
  // the headers (and masks) and the end of the file, or else right after the color table.
  size_t pixel_offset = 0;
};

// Checks the whole file's bytes; `layout` is filled when the verdict is Taken. The pixel
// data runs from the layout's offset to the end of the file and holds every row.
BitmapVerdict CheckBitmap(const uint8_t* file, size_t size, BitmapLayout& layout);
// The bytes ReadBitmapFile reads before the headers are checked: the file header, the
// largest information header and the masks after a 40-byte one.
constexpr size_t kBitmapHeadersPrefix =
    kBitmapFileHeaderSize +
    std::max(kLargestBitmapHeader, kBitmapInfoHeaderSize + kFollowingMaskBytes);

// The same from the first `size` bytes of a file of `file_size` bytes: every verdict but
// Taken is the one CheckBitmap gives on the whole file, found before the rest is read.
BitmapVerdict CheckBitmapHeaders(const uint8_t* file, size_t size, uint64_t file_size,
                                 BitmapLayout& layout);

// The picture block of a bitmap checked by CheckBitmap, made from the file's bytes. Of 24
// bits: the pixel data as it is, or exactly its rows put bottom-up when they run top-down.
// Of 32 bits: exactly its rows, bottom-up in 24 bits, any alpha put over white.
PictureBlock TakeBitmapPixels(std::vector<uint8_t> file, const BitmapLayout& layout);

// A picture read from a bitmap file, to be taken into a composition.
struct ImportedPicture {
  PictureBlock block;
  uint16_t width = 0, height = 0;
};

// The picture of the bytes of a true-color bitmap file; EBitmapRefused says why it is none.
ImportedPicture BitmapPicture(std::vector<uint8_t> file);
// ImportBitmap's reading, which touches no composition, so that it can run beside the
// windows: BitmapPicture of the file. Raises as ReadBitmapFile and BitmapPicture do.
ImportedPicture ReadBitmapPicture(const std::string& file_name);

// Reads a whole bitmap file. Raises EInOutError "Cannot open file <name>", or "Stream read
// error" when it is shorter than a file header or a read fails. Only the headers are read
// when they refuse the file (CheckBitmapHeaders): nothing else of it is needed then.
std::vector<uint8_t> ReadBitmapFile(const std::string& file_name);

// The 54 header bytes of a bitmap file holding a width x height picture.
std::vector<uint8_t> BitmapHeaders(uint16_t width, uint16_t height);

// Writes a bitmap file of the first width x height pixels of a block; the file is replaced
// only once it is complete (EInOutError on failure).
void WriteBitmapFile(const std::string& file_name, const PictureBlock& block, uint16_t width,
                     uint16_t height);
