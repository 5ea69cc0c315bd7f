#include "palette/nearest_color_search.h"

int32_t LinearNearest(const std::vector<TColor>& colors, TColor color) {
  const int red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
  uint32_t best = 3 * 256 * 256;  // more than any squared distance in the cube
  int32_t best_index = 0;
  for (size_t i = 0; i < colors.size(); ++i) {
    const int dr = red - RedOf(colors[i]), dg = green - GreenOf(colors[i]),
              db = blue - BlueOf(colors[i]);
    const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
    if (d < best) {
      best = d;
      best_index = int32_t(i);
      if (d == 0) break;
    }
  }
  return best_index;
}

std::unique_ptr<NearestColorSearch> LinearColorSearch::Make(std::vector<TColor> colors) {
  return std::make_unique<LinearColorSearch>(std::move(colors));
}

void LinearColorSearch::FindMany(const TColor* colors, size_t count, int32_t* indices) const {
  for (size_t i = 0; i < count; ++i) indices[i] = LinearNearest(colors_, colors[i]);
}

void LinearColorSearch::FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const {
  for (size_t i = 0; i < count; ++i, pixels += 3)
    indices[i] = LinearNearest(colors_, MakeColor(pixels[2], pixels[1], pixels[0]));
}

size_t LinearColorSearch::MemoryBytes() const {
  return sizeof(*this) + colors_.capacity() * sizeof(TColor);
}
