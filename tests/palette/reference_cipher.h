#pragma once
// An independent, deliberately plain rendering of the palette cipher (bitwise CRC, no
// table), so the tests can make and read files without the code under test.

#include <cstdint>
#include <string>
#include <string_view>

class ReferenceCipher {
 public:
  explicit ReferenceCipher(std::string_view key) {
    for (char c : key) Update(uint8_t(c));
  }
  std::string Encipher(std::string_view plain) {
    std::string out;
    for (char c : plain) {
      out.push_back(char(uint8_t(c) ^ Stream()));
      Update(uint8_t(c));
    }
    return out;
  }
  std::string Decipher(std::string_view data) {
    std::string out;
    for (char c : data) {
      uint8_t p = uint8_t(c) ^ Stream();
      Update(p);
      out.push_back(char(p));
    }
    return out;
  }

 private:
  static uint32_t Crc(uint32_t r, uint8_t b) {
    uint32_t c = (r ^ b) & 0xFF;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    return c ^ (r >> 8);
  }
  uint8_t Stream() const {
    uint32_t t = (k2_ | 2) & 0xFFFF;
    return uint8_t(((t * (t ^ 1)) >> 8) & 0xFF);
  }
  void Update(uint8_t p) {
    k0_ = Crc(k0_, p);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = Crc(k2_, uint8_t(k1_ >> 24));
  }
  uint32_t k0_ = 0x12345678, k1_ = 0x23456789, k2_ = 0x34567890;
};

inline std::string ReferenceKey() {
  return std::string("Counted cross stitch palette: one floss, one colour, one row\r\n") +
         "Thread the needle, count 14" + std::string(1, '\0');
}

// A whole native file: the plain header line, then `body` enciphered.
inline std::string NativeFile(std::string_view body) {
  return "PUNTEL Palette File\r\n" + ReferenceCipher(ReferenceKey()).Encipher(body);
}
