#pragma once
// A color value: red in bits 0-7, green in 8-15, blue in 16-23, top byte zero.

#include <cstdint>

using TColor = uint32_t;

constexpr TColor MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
  return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
constexpr uint8_t RedOf(TColor c) {
  return uint8_t(c);
}
constexpr uint8_t GreenOf(TColor c) {
  return uint8_t(c >> 8);
}
constexpr uint8_t BlueOf(TColor c) {
  return uint8_t(c >> 16);
}
