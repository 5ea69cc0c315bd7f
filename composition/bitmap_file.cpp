#include "composition/bitmap_file.h"

#include <algorithm>
#include <cstring>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "composition/composition.h"
#include "composition/input_file.h"
#include "composition/little_endian.h"

namespace {

constexpr int64_t kLargestSide = 65535;  // widths and heights are 16-bit
// Where the pixel data starts in a file of `file_size` bytes; past the file when the headers
// and the color table already are.
uint64_t PixelDataStart(const uint8_t* file, const BitmapHeader& header, uint64_t file_size) {
  const uint64_t headers_end = kBitmapFileHeaderSize + uint64_t(header.size) + header.mask_bytes;
  // Writers that give no table for true color often leave a colors-used count anyway, and
  // some give no offset or a wrong one: the offset is kept where it can be right.
  const uint64_t offset = GetLe32(file + 10);
  if (offset >= headers_end && offset <= file_size) return offset;
  return headers_end + ColorTableBytes(header);
}

// One pixel of four bytes as three, its alpha put over white.
void PutOverWhite(const uint8_t* from, uint8_t* to) {
  const uint32_t alpha = from[3];
  for (int i = 0; i < 3; ++i) to[i] = uint8_t((from[i] * alpha + 255 * (255 - alpha) + 127) / 255);
}

// The rows of 32-bit pixels as the picture block's 24-bit rows, bottom-up.
PictureBlock FourBytePixels(const uint8_t* pixels, const BitmapLayout& layout) {
  const size_t row = RowLength(layout.width), file_row = 4 * size_t(layout.width);
  const bool alpha = layout.format == BitmapPixelFormat::Bgra32;
  PictureBlock block(row * layout.height, 0);
  for (size_t y = 0; y < layout.height; ++y) {
    const uint8_t* from = pixels + y * file_row;
    uint8_t* to = block.data() + (layout.top_down ? layout.height - 1 - y : y) * row;
    for (size_t x = 0; x < layout.width; ++x, from += 4, to += 3) {
      if (alpha) {
        PutOverWhite(from, to);
      } else {
        std::memcpy(to, from, 3);
      }
    }
  }
  return block;
}

// Appends the rest of the file; `expected` is what the file's size promises. One byte more
// is asked for, so that the end shows without growing the buffer.
void ReadRest(InputFile& file, std::vector<uint8_t>& bytes, size_t expected) {
  size_t used = bytes.size();
  bytes.resize(used + expected + 1);
  for (;;) {
    size_t got = file.Read(bytes.data() + used, bytes.size() - used);
    used += got;
    if (used < bytes.size()) break;
    bytes.resize(bytes.size() + std::max<size_t>(bytes.size() / 2, 65536));  // it grew
  }
  bytes.resize(used);
}

}  // namespace

std::string BitmapRefusalText(BitmapVerdict verdict) {
  switch (verdict) {
    case BitmapVerdict::Taken:
      return "";
    case BitmapVerdict::NotTrueColor:
      return "Not true color image !";
    case BitmapVerdict::Damaged:
      return "Invalid bitmap file !";
    case BitmapVerdict::TooLarge:
      return "Image too large, at most 65535 pixels wide and high !";
    case BitmapVerdict::Empty:
      return "Image without pixels !";
    case BitmapVerdict::TooLargeToStore:
      return "The picture is too large for a composition file";
  }
  return "Invalid bitmap file !";
}

BitmapVerdict CheckBitmap(const uint8_t* file, size_t size, BitmapLayout& layout) {
  return CheckBitmapHeaders(file, size, size, layout);
}

BitmapVerdict CheckBitmapHeaders(const uint8_t* file, size_t size, uint64_t file_size,
                                 BitmapLayout& layout) {
  if (size < kBitmapFileHeaderSize || GetLe16(file) != kBitmapFileType)
    return BitmapVerdict::NotTrueColor;
  BitmapHeader header;
  switch (ReadBitmapHeader(file + kBitmapFileHeaderSize, size - kBitmapFileHeaderSize, header)) {
    case BitmapHeaderRead::Read:
      break;
    case BitmapHeaderRead::Unknown:
      return BitmapVerdict::NotTrueColor;
    case BitmapHeaderRead::Short:
      return BitmapVerdict::Damaged;
  }
  const BitmapPixelFormat format = PixelFormatOf(header);
  if (format == BitmapPixelFormat::None) return BitmapVerdict::NotTrueColor;
  const bool top_down = header.height < 0;
  const int64_t width = header.width, height = top_down ? -header.height : header.height;
  if (width < 0) return BitmapVerdict::Damaged;
  if (width == 0 || height == 0) return BitmapVerdict::Empty;
  if (width > kLargestSide || height > kLargestSide) return BitmapVerdict::TooLarge;
  if (PictureBytes(uint32_t(width), uint32_t(height)) > kLargestStoredPicture)
    return BitmapVerdict::TooLargeToStore;
  // At most 65535 rows of 262140 bytes: no overflow.
  const uint64_t rows = FileRowLength(format, uint32_t(width)) * uint64_t(height);
  const uint64_t start = PixelDataStart(file, header, file_size);
  if (start > file_size || file_size - start < rows) return BitmapVerdict::Damaged;
  // A 24-bit block holds all the pixel data to the end of the file.
  if (format == BitmapPixelFormat::Bgr24 && file_size - start > kLargestStoredPicture)
    return BitmapVerdict::TooLargeToStore;
  layout.width = uint16_t(width);
  layout.height = uint16_t(height);
  layout.top_down = top_down;
  layout.format = format;
  layout.pixel_offset = size_t(start);
  return BitmapVerdict::Taken;
}

PictureBlock TakeBitmapPixels(std::vector<uint8_t> file, const BitmapLayout& layout) {
  const uint8_t* pixels = file.data() + layout.pixel_offset;
  if (layout.format != BitmapPixelFormat::Bgr24) return FourBytePixels(pixels, layout);
  if (!layout.top_down) {
    file.erase(file.begin(), file.begin() + std::ptrdiff_t(layout.pixel_offset));
    return file;
  }
  const size_t row = RowLength(layout.width);
  PictureBlock block(row * layout.height);
  for (size_t y = 0; y < layout.height; ++y)
    std::memcpy(block.data() + (layout.height - 1 - y) * row, pixels + y * row, row);
  return block;
}

namespace {

// ReadBitmapFile, and the verdict of the headers on the whole file.
std::vector<uint8_t> ReadBitmapBytes(const std::string& file_name, BitmapVerdict& verdict) {
  InputFile file(file_name);
  if (!file.Opened()) throw EInOutError(FormatMessage("Cannot open file %s", file_name));
  std::vector<uint8_t> bytes(kBitmapFileHeaderSize);
  if (file.Read(bytes.data(), bytes.size()) < bytes.size()) throw EInOutError("Stream read error");
  verdict = BitmapVerdict::NotTrueColor;
  if (GetLe16(bytes.data()) != kBitmapFileType) return bytes;
  // The headers first: a file they refuse is read no further, whatever size it has.
  bytes.resize(kBitmapHeadersPrefix);
  bytes.resize(kBitmapFileHeaderSize + file.Read(bytes.data() + kBitmapFileHeaderSize,
                                                 kBitmapHeadersPrefix - kBitmapFileHeaderSize));
  BitmapLayout layout;
  const uint64_t size = std::max<uint64_t>(file.Size(), bytes.size());
  verdict = CheckBitmapHeaders(bytes.data(), bytes.size(), size, layout);
  if (verdict != BitmapVerdict::Taken) return bytes;
  ReadRest(file, bytes, size_t(size - bytes.size()));
  return bytes;
}

}  // namespace

std::vector<uint8_t> ReadBitmapFile(const std::string& file_name) {
  BitmapVerdict verdict;
  return ReadBitmapBytes(file_name, verdict);
}

std::vector<uint8_t> BitmapHeaders(uint16_t width, uint16_t height) {
  const size_t image_size = PictureBytes(width, height);
  std::vector<uint8_t> header(kBitmapFileHeaderSize + kBitmapInfoHeaderSize, 0);
  uint8_t* at = header.data();
  PutLe16(at, kBitmapFileType);
  // Sizes past 4 GiB keep their low 32 bits; readers take the rows from the dimensions.
  PutLe32(at + 2, uint32_t(header.size() + image_size));
  PutLe32(at + 10, uint32_t(header.size()));
  at += kBitmapFileHeaderSize;
  PutLe32(at, kBitmapInfoHeaderSize);
  PutLe32(at + 4, width);
  PutLe32(at + 8, height);
  PutLe16(at + 12, 1);
  PutLe16(at + 14, 24);
  PutLe32(at + 20, uint32_t(image_size));
  return header;
}

ImportedPicture BitmapPicture(std::vector<uint8_t> file) {
  BitmapLayout layout;
  const BitmapVerdict verdict = CheckBitmap(file.data(), file.size(), layout);
  if (verdict != BitmapVerdict::Taken) throw EBitmapRefused(BitmapRefusalText(verdict));
  return ImportedPicture{TakeBitmapPixels(std::move(file), layout), layout.width, layout.height};
}

ImportedPicture ReadBitmapPicture(const std::string& file_name) {
  BitmapVerdict verdict;
  std::vector<uint8_t> file = ReadBitmapBytes(file_name, verdict);
  if (verdict != BitmapVerdict::Taken) throw EBitmapRefused(BitmapRefusalText(verdict));
  return BitmapPicture(std::move(file));
}

void TpunCompo::TakePicture(ImportedPicture&& picture) {
  SetPicture(TPicture(picture.width, picture.height, std::move(picture.block)));
  ResetPalette();
  modified_ = true;
}

void TpunCompo::ImportBitmap(const std::string& file_name) {
  TakePicture(ReadBitmapPicture(file_name));
}

void WriteBitmapFile(const std::string& file_name, const PictureBlock& block, uint16_t width,
                     uint16_t height) {
  RequireHolds(block, width, height);
  ReplacementFile file(file_name);
  if (!file.Created()) throw EInOutError(FormatMessage("Cannot create file %s", file_name));
  const std::vector<uint8_t> headers = BitmapHeaders(width, height);
  file.Write(headers.data(), headers.size());
  file.Write(block.data(), PictureBytes(width, height));
  file.Commit();
}

void TpunCompo::ExportBitmap(const std::string& file_name) const {
  if (HasPicture()) WriteBitmapFile(file_name, source_.Block(), Width(), Height());
}
