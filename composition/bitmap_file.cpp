#include "composition/bitmap_file.h"

#include <algorithm>
#include <cstring>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "composition/composition.h"
#include "composition/input_file.h"
#include "composition/little_endian.h"

namespace {

constexpr size_t kCoreHeaderSize = 12;
constexpr int64_t kLargestSide = 65535;  // widths and heights are 16-bit

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
  const uint8_t* info = file + kBitmapFileHeaderSize;
  const size_t left = size - kBitmapFileHeaderSize;
  if (left < 4) return BitmapVerdict::Damaged;
  const uint32_t header_size = GetLe32(info);
  if (header_size != kCoreHeaderSize && header_size != kBitmapInfoHeaderSize)
    return BitmapVerdict::NotTrueColor;
  if (left < header_size) return BitmapVerdict::Damaged;
  const uint64_t file_left = file_size - kBitmapFileHeaderSize;

  int64_t width, height;
  uint16_t bits;
  uint64_t table_bytes;
  if (header_size == kCoreHeaderSize) {
    width = GetLe16(info + 4);
    height = GetLe16(info + 6);
    bits = GetLe16(info + 10);
    table_bytes = ImpliedTableEntries(bits) * 3;
  } else {
    width = int32_t(GetLe32(info + 4));
    height = int32_t(GetLe32(info + 8));
    bits = GetLe16(info + 14);
    const uint32_t used = GetLe32(info + 32);
    table_bytes = (used != 0 ? used : ImpliedTableEntries(bits)) * 4;
  }
  if (bits != 24) return BitmapVerdict::NotTrueColor;
  const bool top_down = height < 0;
  height = top_down ? -height : height;
  if (width < 0) return BitmapVerdict::Damaged;
  if (width == 0 || height == 0) return BitmapVerdict::Empty;
  if (width > kLargestSide || height > kLargestSide) return BitmapVerdict::TooLarge;
  const uint64_t rows = PictureBytes(uint32_t(width), uint32_t(height));
  if (rows > kLargestStoredPicture) return BitmapVerdict::TooLargeToStore;
  const uint64_t start = header_size + table_bytes;
  if (start > file_left || file_left - start < rows) return BitmapVerdict::Damaged;
  // The block holds all the pixel data to the end of the file.
  if (file_left - start > kLargestStoredPicture) return BitmapVerdict::TooLargeToStore;
  layout.width = uint16_t(width);
  layout.height = uint16_t(height);
  layout.top_down = top_down;
  layout.pixel_offset = kBitmapFileHeaderSize + size_t(start);
  return BitmapVerdict::Taken;
}

PictureBlock TakeBitmapPixels(std::vector<uint8_t> file, const BitmapLayout& layout) {
  if (!layout.top_down) {
    file.erase(file.begin(), file.begin() + std::ptrdiff_t(layout.pixel_offset));
    return file;
  }
  const size_t row = RowLength(layout.width);
  PictureBlock block(row * layout.height);
  const uint8_t* top_row = file.data() + layout.pixel_offset;
  for (size_t y = 0; y < layout.height; ++y)
    std::memcpy(block.data() + (layout.height - 1 - y) * row, top_row + y * row, row);
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
  bytes.resize(kBitmapFileHeaderSize + kBitmapInfoHeaderSize);
  bytes.resize(kBitmapFileHeaderSize +
               file.Read(bytes.data() + kBitmapFileHeaderSize, kBitmapInfoHeaderSize));
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
