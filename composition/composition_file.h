#pragma once
// The header of composition files (".dmc"). A file is the header, the source picture block
// byte for byte, then the working palette as the whole image of a native palette file.
// Version 13 is written; version 12, whose header has other offsets, is read and converted.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kCompositionHeaderSize = 287;  // version 13
constexpr size_t kVersion12HeaderSize = 290;
constexpr size_t kNotesLimit = 255;  // the notes field: a length byte and that many characters

struct CompositionHeader {
  uint16_t version = 13;
  uint8_t reserved = 0;
  uint32_t picture_size_copy = 0;  // written, never read
  uint32_t picture_size = 0;       // bytes of picture data after the header
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t zoom = 0;
  int32_t palette_count = 0;  // a palette image follows the picture when above 0
  uint32_t palette_size = 0;  // bytes of that image
  uint8_t cotton_size = 0;
  uint16_t thread_count = 0;
  uint8_t transparency_on = 0;
  uint16_t transparent_color = 0;
  std::string notes;  // at most kNotesLimit characters are stored
};

std::array<uint8_t, kCompositionHeaderSize> EncodeCompositionHeader(
    const CompositionHeader& header);
// `bytes` holds kCompositionHeaderSize bytes.
CompositionHeader DecodeCompositionHeader(const uint8_t* bytes);
// `bytes` holds kVersion12HeaderSize bytes; the result is the same header in version 12.
CompositionHeader DecodeVersion12Header(const uint8_t* bytes);
