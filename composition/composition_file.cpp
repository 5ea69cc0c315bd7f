#include "composition/composition_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "composition/composition.h"
#include "composition/composition_errors.h"
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

// The bytes of a composition given in memory, read like a file.
class MemorySource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const { return size_; }
  size_t Read(void* into, size_t size) {
    const size_t count = std::min(size, size_ - at_);
    if (count > 0) std::memcpy(into, data_ + at_, count);
    at_ += count;
    return count;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Copies a file in pieces through a replacement file; raises EInOutError.
void CopyFile(const std::string& from, const std::string& to) {
  InputFile in(from);
  if (!in.Opened()) throw EInOutError(FormatMessage("Unable to read %s", from));
  ReplacementFile out(to);
  if (!out.Created()) throw EInOutError(FormatMessage("Cannot create file %s", to));
  std::vector<uint8_t> piece(size_t(1) << 20);
  for (size_t got; (got = in.Read(piece.data(), piece.size())) > 0;) out.Write(piece.data(), got);
  out.Commit();
}

struct StoredComposition {
  CompositionHeader header;
  TPicture picture;
  std::string palette_image;
  bool older = false;  // version 12
};

// Reads the whole composition after checking that every size in its header fits the real
// length, so nothing larger than the source is ever allocated or read. The picture is read
// straight into its block. Raises EOldComposition or EInvalidComposition.
template <class Source>
StoredComposition ReadComposition(Source& source) {
  StoredComposition stored;
  std::array<uint8_t, kVersion12HeaderSize> bytes{};
  if (source.Read(bytes.data(), 2) < 2) throw EInvalidComposition();
  size_t header_size;
  switch (GetLe16(bytes.data())) {
    case 11:
      throw EOldComposition();
    case 12:
      header_size = kVersion12HeaderSize;
      break;
    case 13:
      header_size = kCompositionHeaderSize;
      break;
    default:
      throw EInvalidComposition();
  }
  if (source.Read(bytes.data() + 2, header_size - 2) < header_size - 2) throw EInvalidComposition();
  stored.older = header_size == kVersion12HeaderSize;
  stored.header =
      stored.older ? DecodeVersion12Header(bytes.data()) : DecodeCompositionHeader(bytes.data());
  const CompositionHeader& header = stored.header;

  const uint64_t after_header = source.Size() > header_size ? source.Size() - header_size : 0;
  const uint64_t palette_size = header.palette_count > 0 ? header.palette_size : 0;
  // Nothing can be done with a picture without pixels, and its export could not be
  // imported again.
  if (header.width == 0 || header.height == 0 ||
      header.picture_size < PictureBytes(header.width, header.height) ||
      header.picture_size > after_header || palette_size > after_header - header.picture_size)
    throw EInvalidComposition();

  // A file that shrank since it was measured is as damaged as one whose sizes lie.
  PictureBlock block = NewPictureBlock(header.picture_size);
  if (source.Read(block.data(), block.size()) < block.size()) throw EInvalidComposition();
  stored.picture = TPicture(header.width, header.height, std::move(block));
  stored.palette_image.resize(size_t(palette_size));
  if (source.Read(stored.palette_image.data(), stored.palette_image.size()) < palette_size)
    throw EInvalidComposition();
  return stored;
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

void TpunCompo::SaveTo(const ByteSink& write) {
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
  write(header_bytes.data(), header_bytes.size());
  write(source_.Data(), source_.Size());
  write(reinterpret_cast<const uint8_t*>(palette_image.data()), palette_image.size());
}

void TpunCompo::SaveToFile(const std::string& file_name) {
  // Written beside the old file and renamed over it once complete: a failure leaves the
  // old file as it was.
  ReplacementFile file(file_name);
  if (!file.Created()) throw EInOutError(FormatMessage("Cannot create file %s", file_name));
  SaveTo([&file](const uint8_t* bytes, size_t size) { file.Write(bytes, size); });
  file.Commit();
  modified_ = false;
}

TLoadResult TpunCompo::LoadFromFile(const std::string& file_name) {
  InputFile file(file_name);
  if (!file.Opened()) {
    struct stat info {};
    if (::stat(file_name.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
      throw ECompositionMissing(FormatMessage("File not found : %s", file_name));
    throw EInOutError(FormatMessage("Unable to read %s", file_name));
  }
  StoredComposition stored;
  try {
    stored = ReadComposition(file);
  } catch (const EInOutError&) {
    throw EInOutError(FormatMessage("Unable to read %s", file_name));
  }
  return Take(stored.header, std::move(stored.picture), stored.palette_image, stored.older);
}

TLoadResult TpunCompo::LoadFromBytes(const uint8_t* data, size_t size) {
  MemorySource source(data, size);
  StoredComposition stored = ReadComposition(source);
  return Take(stored.header, std::move(stored.picture), stored.palette_image, stored.older);
}

TLoadResult TpunCompo::Take(const CompositionHeader& header, TPicture picture,
                            const std::string& palette_image, bool older) {
  TLoadResult result;
  result.OlderVersion = older;
  SetPicture(std::move(picture));
  SetNotes(header.notes);
  SetZoom(uint8_t(header.zoom));
  SetCottonSize(header.cotton_size);
  SetTransparencyOn(header.transparency_on != 0);
  SetTransparentColor(header.transparent_color);
  if (header.palette_count > 0) {
    if (LoadPaletteImage(palette_, palette_image)) {
      palette_.SetThreadCount(header.thread_count);
    } else {
      // The picture and the settings are kept, on the reference palette.
      result.Warnings.push_back(kCompositionColorsLost);
      result.PaletteRecovered = true;
      ResetPalette();
    }
  }
  loaded_from_file_ = true;
  modified_ = false;
  return result;
}

void TpunCompo::ConvertOlderFile(const std::string& file_name) {
  const std::string kept = file_name + ".v12";
  struct stat info {};
  // The first conversion keeps the file as it was, as a second name of it that the save's
  // rename leaves in place; later ones leave that copy alone.
  if (::lstat(kept.c_str(), &info) != 0) {
    if (errno != ENOENT ||
        ::linkat(AT_FDCWD, file_name.c_str(), AT_FDCWD, kept.c_str(), AT_SYMLINK_FOLLOW) != 0)
      CopyFile(file_name, kept);
  }
  SaveToFile(file_name);
}
