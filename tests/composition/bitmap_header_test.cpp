#include <gtest/gtest.h>

#include <climits>

#include "composition/bitmap_file.h"
#include "tests/composition/handmade_bitmap.h"
#include "tests/support/message_of.h"
#include "tests/support/temp_folder.h"

using namespace fixtures;

namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint32_t kAlpha = 0xFF000000;

std::vector<uint8_t> Vector(const std::string& bytes) {
  return {bytes.begin(), bytes.end()};
}

// The file with the 32-bit field at `at` replaced.
std::string WithField(std::string file, size_t at, uint32_t value) {
  std::string field;
  Le32(field, value);
  return file.replace(at, 4, field);
}

// The refusal text of the bytes, or "taken".
std::string Verdict(const std::string& bytes) {
  const std::string message = MessageOf<EBitmapRefused>([&] { BitmapPicture(Vector(bytes)); });
  return message == "no exception" ? "taken" : message;
}

std::string Describe(const Handmade& made) {
  return std::to_string(made.header) + "-byte header, " + std::to_string(made.bits) +
         " bits, compression " + std::to_string(made.compression) +
         (made.top_down ? ", top-down" : ", bottom-up");
}

}  // namespace

TEST(BitmapHeader, EveryVersionAndDepthGivesTheSamePicture) {
  // A 3 x 2 picture has padding in its 24-bit rows; the files are read from disk, so that
  // the headers are found in the first bytes read whatever their version.
  TempFolder folder;
  const PictureBlock expected = ExpectedBlock(3, 2);
  std::vector<Handmade> files;
  for (uint32_t header : {12u, 40u, 52u, 56u, 64u, 108u, 124u})
    for (bool top_down : {false, true}) {
      if (header == 12 && top_down) continue;  // its sizes are unsigned
      files.push_back({.header = header, .top_down = top_down});
      if (header == 12) continue;
      files.push_back({.header = header, .bits = 32, .top_down = top_down});
      if (header == 64) continue;  // no masks in it
      const size_t after = header == 40 ? 3 : 0;
      files.push_back({.header = header,
                       .bits = 32,
                       .compression = kBitFields,
                       .masks_after = after,
                       .top_down = top_down});
      if (header == 52) continue;  // no alpha mask in it
      files.push_back({.header = header,
                       .bits = 32,
                       .compression = header == 40 ? kAlphaBitFields : kBitFields,
                       .masks = {0xFF0000, 0xFF00, 0xFF, kAlpha},
                       .masks_after = after ? 4u : 0u,
                       .top_down = top_down});
    }
  // The offset is followed past a color table the file does not have, and past a gap.
  files.push_back({.header = 124, .colors_used = 256});
  files.push_back({.header = 108, .bits = 32, .top_down = true, .gap = "ICC profile"});
  for (const Handmade& made : files) {
    WriteFileBytes(folder.File("in.bmp"), HandmadeBitmap(made));
    ImportedPicture picture;
    ASSERT_NO_THROW(picture = ReadBitmapPicture(folder.File("in.bmp"))) << Describe(made);
    EXPECT_EQ(picture.width, 3) << Describe(made);
    EXPECT_EQ(picture.height, 2) << Describe(made);
    EXPECT_EQ(picture.block, expected) << Describe(made);
  }
}

TEST(BitmapHeader, AlphaIsPutOverWhiteOnlyWithAnAlphaMask) {
  struct Case {
    uint8_t value, alpha, over_white;
  } cases[] = {{0, 0, 255},     {255, 0, 255},   {0, 255, 0},   {0, 1, 254},
               {100, 128, 177}, {255, 128, 255}, {10, 200, 63}, {77, 255, 77}};
  for (const Case& c : cases) {
    const HandmadePixel pixel = [&](int32_t, int32_t) {
      return std::array<uint8_t, 4>{c.value, c.value, c.value, c.alpha};
    };
    const HandmadePixel seen = [&](int32_t, int32_t) {
      return std::array<uint8_t, 4>{c.over_white, c.over_white, c.over_white, 0};
    };
    for (Handmade made :
         {Handmade{.header = 124, .masks = {0xFF0000, 0xFF00, 0xFF, kAlpha}},
          Handmade{.header = 40, .masks = {0xFF0000, 0xFF00, 0xFF, kAlpha}, .masks_after = 4}}) {
      made.bits = 32;
      made.compression = made.header == 40 ? kAlphaBitFields : kBitFields;
      EXPECT_EQ(BitmapPicture(Vector(HandmadeBitmap(made, pixel))).block, ExpectedBlock(3, 2, seen))
          << int(c.value) << " at alpha " << int(c.alpha);
    }
    // Without an alpha mask, the fourth byte is no alpha (often 0 in such files).
    for (Handmade made :
         {Handmade{.header = 40, .compression = kRgb},
          Handmade{.header = 124, .compression = kRgb, .masks = {0xFF0000, 0xFF00, 0xFF, kAlpha}},
          Handmade{.header = 56, .compression = kBitFields}}) {
      made.bits = 32;
      EXPECT_EQ(BitmapPicture(Vector(HandmadeBitmap(made, pixel))).block,
                ExpectedBlock(3, 2, pixel))
          << Describe(made);
    }
  }
}

TEST(BitmapHeader, OtherDepthsAndCompressionsAreNotTrueColor) {
  std::vector<Handmade> refused;
  for (uint32_t header : {12u, 40u, 108u, 124u})
    for (uint16_t bits : {1, 4, 8, 16}) refused.push_back({.header = header, .bits = bits});
  for (uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u})  // RLE, masks, JPEG, PNG
    refused.push_back({.header = 124, .compression = compression});
  for (uint32_t compression : {1u, 2u, 4u, 5u})
    refused.push_back({.header = 124, .bits = 32, .compression = compression});
  const std::array<uint32_t, 4> odd_masks[] = {
      {0xFF, 0xFF00, 0xFF0000, 0},            // red and blue swapped
      {0xFF0000, 0xFF00, 0xFF, 0xFF},         // alpha where blue is
      {0x3FF00000, 0xFFC00, 0x3FF, 0},        // ten bits a channel
      {0xFF0000, 0xFF00, 0xFF, 0x0F000000}};  // half an alpha byte
  for (const auto& masks : odd_masks) {
    refused.push_back({.header = 124, .bits = 32, .compression = kBitFields, .masks = masks});
    refused.push_back({.header = 40,
                       .bits = 32,
                       .compression = kAlphaBitFields,
                       .masks = masks,
                       .masks_after = 4});
  }
  refused.push_back({.header = 12, .bits = 32});
  refused.push_back({.header = 64, .bits = 32, .compression = kBitFields});  // OS/2: Huffman
  for (uint32_t header : {16u, 20u, 41u, 100u, 125u}) refused.push_back({.header = header});
  for (const Handmade& made : refused)
    EXPECT_EQ(Verdict(HandmadeBitmap(made)), "Not true color image !") << Describe(made);
  EXPECT_EQ(Verdict(WithField(HandmadeBitmap({}), 14, 0xFFFFFFFF)), "Not true color image !");
}

TEST(BitmapHeader, DamagedFilesAreRefusedWithinTheirBytes) {
  // Every verdict is taken from a copy of exactly the file's bytes, so that the sanitizer
  // build catches a read past them.
  const std::string damaged = "Invalid bitmap file !";
  const std::string large = "Image too large, at most 65535 pixels wide and high !";
  const std::string v5 = HandmadeBitmap({.header = 124});
  const std::string v5_32 = HandmadeBitmap({.header = 124, .bits = 32, .top_down = true});
  const std::string masks_after =
      HandmadeBitmap({.header = 40, .bits = 32, .compression = kBitFields, .masks_after = 3});
  auto with_offset = [](const std::string& file, uint32_t offset) {
    return WithField(file, 10, offset);
  };
  struct Case {
    std::string name, bytes, verdict;
  } cases[] = {
      {"whole", v5, "taken"},
      {"header cut short", v5.substr(0, 14 + 100), damaged},
      {"no pixels", v5.substr(0, 14 + 124), damaged},
      {"last row cut short", v5.substr(0, v5.size() - 1), damaged},
      {"32-bit rows cut short", v5_32.substr(0, v5_32.size() - 1), damaged},
      {"offset leaves too few bytes", with_offset(v5, uint32_t(v5.size() - 4)), damaged},
      {"offset at the end", with_offset(v5, uint32_t(v5.size())), damaged},
      {"offset past the end, no room after the headers",
       with_offset(v5.substr(0, v5.size() - 4), 0xFFFFFFF0), damaged},
      {"offset past the end, rows after the headers", with_offset(v5, 0xFFFFFFFF), "taken"},
      {"offset inside the headers", with_offset(v5, 20), "taken"},
      {"masks missing", masks_after.substr(0, 14 + 40 + 8), damaged},
      {"masks missing, no pixels", masks_after.substr(0, 14 + 40), damaged},
      {"table past the end",
       with_offset(HandmadeBitmap({.header = 124, .colors_used = 0xFFFFFFFF}), 0xFFFFFFFF),
       damaged},
      {"negative width", WithField(v5, 18, uint32_t(-3)), damaged},
      {"absurd width", WithField(v5_32, 18, INT_MAX), large},
      {"absurd height", WithField(v5_32, 22, uint32_t(INT_MIN)), large},
      {"absurd width, little file", WithField(v5, 18, 65535), damaged},
  };
  for (const Case& c : cases) EXPECT_EQ(Verdict(c.bytes), c.verdict) << c.name;
}
