#pragma once
// Pictures, palettes and file bytes for the composition tests, built by hand.

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "composition/composition.h"

namespace fixtures {

// A few floss colors with distinct names.
inline void FillPalette(TpunPal& palette, int count = 5) {
  for (int i = 0; i < count; ++i)
    palette.AddClr(MakeColor(uint8_t(i * 50), uint8_t(255 - i * 40), uint8_t(i * 17)),
                   "F" + std::to_string(310 + i));
}

// A picture of random pixels, padding bytes zero.
inline PictureBlock RandomPicture(uint32_t width, uint32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, height, x, y), random() & 0xFFFFFF);
  return block;
}

inline void GivePicture(TpunCompo& compo, uint16_t width, uint16_t height, PictureBlock block) {
  compo.SetPicture(TPicture(width, height, std::move(block)));
}

// The picture of `pixels`, row by row from the top-left, `width` to a row.
inline void GivePixels(TpunCompo& compo, uint16_t width, uint16_t height,
                       const std::vector<TColor>& pixels) {
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t i = 0; i < pixels.size(); ++i)
    PutPixelAt(block.data(), PixelOffset(width, height, i % width, i / width), pixels[i]);
  GivePicture(compo, width, height, std::move(block));
}

inline void Le16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char((value >> 8) & 0xFF));
}

inline void Le32(std::string& out, uint32_t value) {
  Le16(out, value & 0xFFFF);
  Le16(out, value >> 16);
}

inline std::string Bytes(const PictureBlock& block) {
  return {block.begin(), block.end()};
}

// The observable state of a composition, to tell that an operation left it alone.
inline std::string StateOf(const TpunCompo& compo) {
  std::string state = std::to_string(compo.Width()) + "x" + std::to_string(compo.Height()) + " z" +
                      std::to_string(compo.Zoom()) + " c" + std::to_string(compo.CottonSize()) +
                      " t" + std::to_string(compo.TransparencyOn()) + "/" +
                      std::to_string(compo.TransparentColor()) + " m" +
                      std::to_string(compo.Modified()) + " f" +
                      std::to_string(compo.LoadedFromFile()) + " n" + compo.Notes() + " p";
  for (const auto& entry : compo.Palette().Colors.Entries())
    state += entry.name + "=" + std::to_string(entry.color) + ",";
  if (compo.SourcePicture()) state += " s" + Bytes(compo.SourcePicture().Block());
  if (compo.MappedPicture()) state += " d" + Bytes(compo.MappedPicture().Block());
  return state;
}

}  // namespace fixtures
