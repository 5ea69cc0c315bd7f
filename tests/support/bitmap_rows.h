#pragma once
// Reads back the 24-bit bitmaps the program wrote, pixel by pixel.

#include <string>
#include <vector>

#include "composition/bitmap_file.h"
#include "tests/support/temp_folder.h"

using PixelRows = std::vector<std::vector<TColor>>;

// The pixels of a 24-bit bitmap file, rows from the top; empty when the file is refused.
inline PixelRows ReadBitmapRows(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  BitmapLayout layout;
  auto data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (CheckBitmap(data, bytes.size(), layout) != BitmapVerdict::Taken) return {};
  PixelRows rows(layout.height);
  for (uint32_t y = 0; y < layout.height; ++y)
    for (uint32_t x = 0; x < layout.width; ++x)
      rows[y].push_back(
          PixelAt(data + layout.pixel_offset, PixelOffset(layout.width, layout.height, x, y)));
  return rows;
}
