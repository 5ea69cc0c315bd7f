#pragma once
// The traditional ZIP stream cipher (three keys driven by CRC-32), used here over the
// whole body of a palette file without ZIP's 12-byte header.

#include <cstdint>
#include <string_view>

#include "palette/crc32.h"

class ZipCipher {
 public:
  explicit ZipCipher(std::string_view key_text) { Key(key_text); }

  void Key(std::string_view key_text) {
    k0_ = 0x12345678u;
    k1_ = 0x23456789u;
    k2_ = 0x34567890u;
    for (char c : key_text) Update(uint8_t(c));
  }

  uint8_t Encipher(uint8_t plain) {
    uint8_t out = plain ^ StreamByte();
    Update(plain);
    return out;
  }

  uint8_t Decipher(uint8_t enciphered) {
    uint8_t plain = enciphered ^ StreamByte();
    Update(plain);
    return plain;
  }

  uint32_t K0() const { return k0_; }
  uint32_t K1() const { return k1_; }
  uint32_t K2() const { return k2_; }

 private:
  uint8_t StreamByte() const {
    uint32_t t = k2_ | 2u;
    return uint8_t((t * (t ^ 1u)) >> 8);
  }

  void Update(uint8_t plain) {
    k0_ = Crc32Step(k0_, plain);
    k1_ = (k1_ + (k0_ & 0xFFu)) * 134775813u + 1u;
    k2_ = Crc32Step(k2_, uint8_t(k1_ >> 24));
  }

  uint32_t k0_, k1_, k2_;
};

// The key text of every palette file: two lines and a final NUL, 90 characters in all.
std::string_view PaletteCipherKey();
