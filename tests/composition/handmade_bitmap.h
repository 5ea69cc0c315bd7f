#pragma once
// True-color bitmap files of any header version, laid out by hand from a picture.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "tests/composition/picture_fixtures.h"

namespace fixtures {

struct Handmade {
  uint32_t header = 40;  // the information header's size
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::array<uint32_t, 4> masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};  // red green blue alpha
  size_t masks_after = 0;  // masks written after a 40-byte header
  bool top_down = false;
  int32_t width = 3, height = 2;
  uint32_t colors_used = 0;
  std::string gap{};  // between the headers and the pixels, skipped by the file's offset
};

// Blue, green, red and alpha of the pixel at column x of row y, rows from the top.
using HandmadePixel = std::function<std::array<uint8_t, 4>(int32_t x, int32_t y)>;

inline std::array<uint8_t, 4> Opaque(int32_t x, int32_t y) {
  return {uint8_t(x * 40 + y * 7 + 1), uint8_t(200 - x * 30 - y), uint8_t(y * 90 + x), 255};
}

inline std::string HandmadeBitmap(const Handmade& made, const HandmadePixel& pixel = Opaque) {
  std::string info;
  Le32(info, made.header);
  const int32_t stored_height = made.top_down ? -made.height : made.height;
  if (made.header == 12) {
    Le16(info, uint32_t(made.width));
    Le16(info, uint32_t(stored_height));
    Le16(info, 1);
    Le16(info, made.bits);
  } else {
    Le32(info, uint32_t(made.width));
    Le32(info, uint32_t(stored_height));
    Le16(info, 1);
    Le16(info, made.bits);
    for (uint32_t field : {made.compression, 0u, 2835u, 2835u, made.colors_used, 0u})
      Le32(info, field);
    const size_t in_header = made.header == 64   ? 0
                             : made.header >= 56 ? 4
                             : made.header >= 52 ? 3
                                                 : 0;
    for (size_t i = 0; i < in_header; ++i) Le32(info, made.masks[i]);
    info.resize(made.header, '\0');
    for (size_t i = 0; i < made.masks_after; ++i) Le32(info, made.masks[i]);
  }
  std::string pixels;
  for (int32_t row = 0; row < made.height; ++row) {
    const int32_t y = made.top_down ? row : made.height - 1 - row;
    for (int32_t x = 0; x < made.width; ++x) {
      const auto bgra = pixel(x, y);
      pixels.append(reinterpret_cast<const char*>(bgra.data()), made.bits == 32 ? 4 : 3);
    }
    while (pixels.size() % 4 != 0) pixels.push_back('\0');
  }
  std::string file = "BM";
  const uint32_t offset = uint32_t(14 + info.size() + made.gap.size());
  for (uint32_t field : {uint32_t(offset + pixels.size()), 0u, offset}) Le32(file, field);
  return file + info + made.gap + pixels;
}

// The picture block the import makes of a picture: 24-bit rows bottom-up, padding zero.
inline PictureBlock ExpectedBlock(int32_t width, int32_t height,
                                  const HandmadePixel& pixel = Opaque) {
  PictureBlock block(PictureBytes(uint32_t(width), uint32_t(height)), 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const auto bgra = pixel(x, y);
      PutPixelAt(block.data(), PixelOffset(uint32_t(width), uint32_t(height), x, y),
                 MakeColor(bgra[2], bgra[1], bgra[0]));
    }
  return block;
}

}  // namespace fixtures
