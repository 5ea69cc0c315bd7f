#include "composition/composition_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "base/message_seam.h"
#include "composition/composition.h"
#include "composition/input_file.h"
#include "composition/little_endian.h"
#include "palette/palette_file.h"

namespace {

// Offsets of the fields that move between the versions; the rest sit alike in both.
struct HeaderOffsets {
  size_t size_copy, size, width, height, zoom, palette_count, palette_size, cotton, notes;
};
constexpr HeaderOffsets kVersion13{3, 7, 11, 13, 15, 17, 21, 25, 31};
constexpr HeaderOffsets kVersion12{4, 8, 12, 14, 16, 18, 20, 24, 34};
constexpr size_t kThreadCountAt = 26, kTransparencyAt = 28, kTransparentColorAt = 29;

CompositionHeader Decode(const uint8_t* bytes, const HeaderOffsets& at, bool wide_count) {
  CompositionHeader header;
  header.version = GetLe16(bytes);
  header.reserved = bytes[2];
  header.picture_size_copy = GetLe32(bytes + at.size_copy);
  header.picture_size = GetLe32(bytes + at.size);
  header.width = GetLe16(bytes + at.width);
  header.height = GetLe16(bytes + at.height);
  header.zoom = GetLe16(bytes + at.zoom);
  header.palette_count = wide_count ? int32_t(GetLe32(bytes + at.palette_count))
                                    : int32_t(GetLe16(bytes + at.palette_count));
  header.palette_size = GetLe32(bytes + at.palette_size);
  header.cotton_size = bytes[at.cotton];
  header.thread_count = GetLe16(bytes + kThreadCountAt);
  header.transparency_on = bytes[kTransparencyAt];
  header.transparent_color = GetLe16(bytes + kTransparentColorAt);
  const uint8_t* notes = bytes + at.notes;
  header.notes.assign(reinterpret_cast<const char*>(notes + 1), notes[0]);
  return header;
}

// Replaces the palette by the one a palette image holds; false when it holds none.
bool LoadPaletteImage(TpunPal& palette, const std::string& image) {
  try {
    return LoadPaletteBytes(palette, image);
  } catch (const std::exception&) {
    return false;  // a damaged image
  }
}

enum class FileCheck { Unreadable, Old, Invalid, Good };

struct StoredComposition {
  CompositionHeader header;
  std::optional<PictureBlock> picture;
  std::string palette_image;
  bool convert = false;  // an older version, to be written again at once
};

// Reads the whole file into `stored`, after checking that every size in its header fits
// the file's real length, so nothing larger than the file is ever allocated or read.
FileCheck ReadComposition(const std::string& file_name, StoredComposition& stored) {
  InputFile file(file_name);
  if (!file.Opened()) return FileCheck::Unreadable;
  std::array<uint8_t, kVersion12HeaderSize> bytes{};
  if (file.Read(bytes.data(), 2) < 2) return FileCheck::Invalid;
  size_t header_size;
  switch (GetLe16(bytes.data())) {
    case 11:
      return FileCheck::Old;
    case 12:
      header_size = kVersion12HeaderSize;
      break;
    case 13:
      header_size = kCompositionHeaderSize;
      break;
    default:
      return FileCheck::Invalid;
  }
  if (file.Read(bytes.data() + 2, header_size - 2) < header_size - 2) return FileCheck::Invalid;
  stored.convert = header_size == kVersion12HeaderSize;
  stored.header =
      stored.convert ? DecodeVersion12Header(bytes.data()) : DecodeCompositionHeader(bytes.data());
  const CompositionHeader& header = stored.header;

  const uint64_t after_header = file.Size() > header_size ? file.Size() - header_size : 0;
  const uint64_t palette_size = header.palette_count > 0 ? header.palette_size : 0;
  if (header.picture_size < PictureBytes(header.width, header.height) ||
      header.picture_size > after_header || palette_size > after_header - header.picture_size)
    return FileCheck::Invalid;

  if (header.picture_size > 0) {
    // A file that shrank since it was measured is as damaged as one whose sizes lie.
    stored.picture.emplace(header.picture_size);
    if (file.Read(stored.picture->data(), header.picture_size) < header.picture_size)
      return FileCheck::Invalid;
  }
  stored.palette_image.resize(size_t(palette_size));
  if (file.Read(stored.palette_image.data(), stored.palette_image.size()) < palette_size)
    return FileCheck::Invalid;
  return FileCheck::Good;
}

}  // namespace

std::array<uint8_t, kCompositionHeaderSize> EncodeCompositionHeader(
    const CompositionHeader& header) {
  std::array<uint8_t, kCompositionHeaderSize> bytes{};
  const HeaderOffsets& at = kVersion13;
  PutLe16(bytes.data(), header.version);
  bytes[2] = header.reserved;
  PutLe32(&bytes[at.size_copy], header.picture_size_copy);
  PutLe32(&bytes[at.size], header.picture_size);
  PutLe16(&bytes[at.width], header.width);
  PutLe16(&bytes[at.height], header.height);
  PutLe16(&bytes[at.zoom], header.zoom);
  PutLe32(&bytes[at.palette_count], uint32_t(header.palette_count));
  PutLe32(&bytes[at.palette_size], header.palette_size);
  bytes[at.cotton] = header.cotton_size;
  PutLe16(&bytes[kThreadCountAt], header.thread_count);
  bytes[kTransparencyAt] = header.transparency_on;
  PutLe16(&bytes[kTransparentColorAt], header.transparent_color);
  const size_t length = std::min(header.notes.size(), kNotesLimit);
  bytes[at.notes] = uint8_t(length);
  std::copy_n(header.notes.begin(), length, &bytes[at.notes + 1]);
  return bytes;
}

CompositionHeader DecodeCompositionHeader(const uint8_t* bytes) {
  return Decode(bytes, kVersion13, true);
}

CompositionHeader DecodeVersion12Header(const uint8_t* bytes) {
  return Decode(bytes, kVersion12, false);
}

void TpunCompo::SaveToFile(const std::string& file_name) {
  const size_t picture_size = source_.Size();
  if (picture_size > UINT32_MAX)
    throw EInOutError("The picture is too large for a composition file");
  CompositionHeader header;
  header.version = kFormatVersion;
  header.picture_size = uint32_t(picture_size);
  header.picture_size_copy = header.picture_size;
  header.width = Width();
  header.height = Height();
  header.zoom = zoom_;
  header.palette_count = palette_.Count();
  header.cotton_size = cotton_size_;
  header.thread_count = palette_.ThreadCount();
  header.transparency_on = transparency_on_ ? 1 : 0;
  header.transparent_color = uint16_t(transparent_color_);
  header.notes = notes_;
  const std::string palette_image = NativePaletteBytes(palette_);
  header.palette_size = uint32_t(palette_image.size());
  const auto header_bytes = EncodeCompositionHeader(header);

  // Written beside the old file and renamed over it once complete: a failure leaves the
  // old file as it was.
  ReplacementFile file(file_name);
  if (!file.Created()) throw EInOutError(FormatMessage("Cannot create file %s", file_name));
  file.Write(header_bytes.data(), header_bytes.size());
  file.Write(source_.Data(), source_.Size());
  file.Write(palette_image);
  file.Commit();
  modified_ = false;
}

bool TpunCompo::LoadFromFile(const std::string& file_name) {
  StoredComposition stored;
  FileCheck check;
  try {
    check = ReadComposition(file_name, stored);
  } catch (const EInOutError&) {
    check = FileCheck::Unreadable;  // the system could not read it
  }
  switch (check) {
    case FileCheck::Unreadable:
      return false;
    case FileCheck::Old:
      Messages().Info("Old Composition, use the convert utility !");
      return false;
    case FileCheck::Invalid:
      Messages().Error("Invalid composition file !");
      return false;
    case FileCheck::Good:
      break;
  }

  const CompositionHeader& header = stored.header;
  SetPicture(stored.picture ? TPicture(header.width, header.height, std::move(*stored.picture))
                            : TPicture());
  SetNotes(header.notes);
  SetZoom(uint8_t(header.zoom));
  SetCottonSize(header.cotton_size);
  SetTransparencyOn(header.transparency_on != 0);
  SetTransparentColor(header.transparent_color);
  if (header.palette_count > 0) {
    if (LoadPaletteImage(palette_, stored.palette_image)) {
      palette_.SetThreadCount(header.thread_count);
    } else {
      Messages().Error("Error loading composition colors !");
      ResetPalette();
    }
  }
  if (stored.convert) {
    try {
      SaveToFile(file_name);
    } catch (const Exception& error) {
      // The composition is read; only its file stays in the older version.
      Messages().Error(error.Message());
    }
  }
  loaded_from_file_ = true;
  modified_ = false;
  return true;
}
