#pragma once
// Little-endian, unaligned integers as bitmap and composition files store them.

#include <cstdint>

inline uint16_t GetLe16(const uint8_t* at) {
  return uint16_t(at[0] | (at[1] << 8));
}

inline uint32_t GetLe32(const uint8_t* at) {
  return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) |
         (uint32_t(at[3]) << 24);
}

inline void PutLe16(uint8_t* at, uint16_t value) {
  at[0] = uint8_t(value);
  at[1] = uint8_t(value >> 8);
}

inline void PutLe32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}
