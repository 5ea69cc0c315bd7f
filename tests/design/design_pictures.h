#pragma once
// Designs written as ASCII art: one character per cell, a row per line.

#include <ostream>
#include <string>
#include <vector>

#include "design/design_raster.h"

constexpr TColor kInk = MakeColor(200, 30, 40);
constexpr TColor kBlue = MakeColor(20, 40, 220);

// '.' white, 'w' a white one step off, '#' ink, 'b' blue, any other character a grey of its
// code.
inline TColor ColorOfChar(char c) {
  if (c == '.') return kDesignWhite;
  if (c == 'w') return MakeColor(255, 255, 254);
  if (c == '#') return kInk;
  if (c == 'b') return kBlue;
  return MakeColor(uint8_t(c), uint8_t(c), uint8_t(c));
}

inline char CharOfColor(TColor colour) {
  if (colour == kDesignWhite) return '.';
  if (colour == MakeColor(255, 255, 254)) return 'w';
  if (colour == kInk) return '#';
  if (colour == kBlue) return 'b';
  return char(RedOf(colour));
}

// Rows written on one line, separated by blanks.
inline std::vector<std::string> Rows(const std::string& text) {
  std::vector<std::string> rows(1);
  for (const char c : text) {
    if (c != ' ')
      rows.back() += c;
    else if (!rows.back().empty())
      rows.emplace_back();
  }
  return rows;
}

inline DesignRaster FromPicture(const std::vector<std::string>& rows) {
  DesignRaster raster(int(rows.at(0).size()), int(rows.size()));
  for (int y = 0; y < raster.Height(); ++y)
    for (int x = 0; x < raster.Width(); ++x) raster.Set(x, y, ColorOfChar(rows[y][x]));
  return raster;
}

inline std::vector<std::string> PictureOf(const DesignRaster& raster) {
  std::vector<std::string> rows(raster.Height(), std::string(raster.Width(), '.'));
  for (int y = 0; y < raster.Height(); ++y)
    for (int x = 0; x < raster.Width(); ++x) rows[y][x] = CharOfColor(raster.At(x, y));
  return rows;
}

// The smallest rectangle holding every cell where the two designs differ.
inline CellRect Difference(const DesignRaster& a, const DesignRaster& b) {
  CellRect rect;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) rect = rect.United({x, y, x + 1, y + 1});
  return rect;
}

inline void PrintTo(const CellRect& rect, std::ostream* out) {
  *out << "[" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}
