#pragma once
// The standard CRC-32 table of the reflected polynomial 0xEDB88320.

#include <array>
#include <cstdint>

const std::array<uint32_t, 256>& Crc32Table();

inline uint32_t Crc32Step(uint32_t crc, uint8_t byte) {
  return Crc32Table()[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}
