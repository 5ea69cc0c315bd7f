// Pictures read with Qt: every kind of PNG gives the picture block a 24-bit bitmap of the
// same pixels gives, JPEG orientation, colour profiles, and files that are refused.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QTransform>
#include <chrono>
#include <future>

#include "imageio/picture_reader.h"
#include "imageio/png_writer.h"
#include "tests/composition/handmade_bitmap.h"
#include "tests/support/temp_folder.h"

namespace {

using fixtures::Handmade;
using fixtures::HandmadeBitmap;
using fixtures::HandmadePixel;

constexpr int kWidth = 5, kHeight = 3;  // rows of 15 bytes: padded

// Blue, green, red, alpha; every pixel differs and the alphas run from clear to opaque.
std::array<uint8_t, 4> Varied(int32_t x, int32_t y) {
  const int i = y * kWidth + x;
  return {uint8_t(i * 17), uint8_t(250 - i * 13), uint8_t(i * 5 + 40), uint8_t(i * 18)};
}
std::array<uint8_t, 4> Opaque(int32_t x, int32_t y) {
  auto pixel = Varied(x, y);
  pixel[3] = 255;
  return pixel;
}
std::array<uint8_t, 4> Grey(int32_t x, int32_t y) {
  const uint8_t v = uint8_t(x * 50 + y * 9);
  return {v, v, v, 255};
}

class PictureReader : public ::testing::Test {
 protected:
  // What the bitmap import makes of a bitmap of these pixels (32 bits with alpha when
  // `alpha`): the reference every Qt road must meet.
  ImportedPicture BitmapImport(const HandmadePixel& pixel, bool alpha = false) {
    Handmade made{.width = kWidth, .height = kHeight};
    if (alpha) {
      made.header = 56;
      made.bits = 32;
      made.compression = 3;
      made.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    }
    const std::string path = folder.File("reference.bmp");
    WriteFileBytes(path, HandmadeBitmap(made, pixel));
    return ReadBitmapPicture(path);
  }

  QImage Image(QImage::Format format, const HandmadePixel& pixel) {
    QImage image(kWidth, kHeight, format);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const auto [b, g, r, a] = pixel(x, y);
        image.setPixelColor(x, y, QColor(r, g, b, a));
      }
    return image;
  }

  std::string Saved(const QImage& image, const std::string& name) {
    const std::string path = folder.File(name);
    WritePng(path, image);
    return path;
  }

  TempFolder folder;
};

void ExpectSame(const ImportedPicture& got, const ImportedPicture& expected, const char* what) {
  EXPECT_EQ(got.width, expected.width) << what;
  EXPECT_EQ(got.height, expected.height) << what;
  EXPECT_EQ(got.block, expected.block) << what;
}

TEST_F(PictureReader, EveryKindOfPngGivesTheBlockOfItsBitmap) {
  const ImportedPicture opaque = BitmapImport(Opaque), grey = BitmapImport(Grey);
  ExpectSame(ReadPicture(Saved(Image(QImage::Format_RGB32, Opaque), "plain.png")), opaque, "rgb");
  // Alpha over white, as the bitmap import puts a 32-bit bitmap's alpha.
  const std::string alpha = Saved(Image(QImage::Format_ARGB32, Varied), "alpha.png");
  EXPECT_EQ(ReadFileBytes(alpha)[25], 6) << "an RGBA file";
  ExpectSame(ReadPicture(alpha), BitmapImport(Varied, true), "alpha");

  QImage grey8(kWidth, kHeight, QImage::Format_Grayscale8);
  QImage grey16(kWidth, kHeight, QImage::Format_Grayscale16);
  QImage rgb16(kWidth, kHeight, QImage::Format_RGBX64);
  QImage indexed(kWidth, kHeight, QImage::Format_Indexed8);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t v = Grey(x, y)[0];
      grey8.scanLine(y)[x] = v;
      reinterpret_cast<uint16_t*>(grey16.scanLine(y))[x] = uint16_t(v * 257);
      const auto [b, g, r, a] = Opaque(x, y);
      reinterpret_cast<QRgba64*>(rgb16.scanLine(y))[x] =
          QRgba64::fromRgba64(r * 257, g * 257, b * 257, 65535);
      indexed.setColor(y * kWidth + x, qRgb(r, g, b));
    }
  indexed.setColorCount(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) indexed.setPixel(x, y, uint(y * kWidth + x));

  const struct {
    QImage image;
    const char* name;
    int depth, color_type;  // as the file's header gives them
    const ImportedPicture& expected;
  } cases[] = {
      {grey8, "grey8.png", 8, 0, grey},
      {grey16, "grey16.png", 16, 0, grey},
      {rgb16, "rgb16.png", 16, 2, opaque},
      {indexed, "indexed.png", 8, 3, opaque},
  };
  for (const auto& c : cases) {
    const std::string path = Saved(c.image, c.name);
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(int(uint8_t(bytes[24])), c.depth) << c.name;
    EXPECT_EQ(int(uint8_t(bytes[25])), c.color_type) << c.name;
    ExpectSame(ReadPicture(path), c.expected, c.name);
  }
}

// The EXIF block of one tag: Orientation = 6 (the picture is to be turned a quarter right).
std::string ExifTurnedRight() {
  const std::string tiff(
      "MM\0\x2a\0\0\0\x08"
      "\0\x01"
      "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
      "\0\0\0\0",
      26);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const size_t length = payload.size() + 2;
  return std::string("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload;
}

TEST_F(PictureReader, AJpegWithAnExifTurnImportsUpright) {
  QImage wide(32, 16, QImage::Format_RGB32);
  wide.fill(Qt::blue);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) wide.setPixel(x, y, qRgb(255, 0, 0));
  const std::string plain = folder.File("plain.jpg"), turned = folder.File("turned.jpg");
  ASSERT_TRUE(wide.save(QString::fromStdString(plain), "JPEG", 95));
  const std::string bytes = ReadFileBytes(plain);
  WriteFileBytes(turned, bytes.substr(0, 2) + ExifTurnedRight() + bytes.substr(2));

  // Its own decoded pixels, turned as the tag says: the left half becomes the top.
  QImageReader raw(QString::fromStdString(turned));
  raw.setAutoTransform(false);
  const QImage decoded = raw.read().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(decoded.size(), QSize(32, 16));
  const ImportedPicture upright = ReadPicture(turned);
  ExpectSame(upright, PictureOfImage(decoded.transformed(QTransform().rotate(90))), "turned");
  ASSERT_EQ(upright.width, 16);
  const TColor top = PixelAt(upright.block.data(), PixelOffset(16, 32, 8, 4));
  EXPECT_GT(RedOf(top), 200);
  EXPECT_LT(BlueOf(top), 60);
}

TEST_F(PictureReader, AnEmbeddedProfileIsConvertedToSrgb) {
  QImage wide_gamut = Image(QImage::Format_RGB32, Opaque);
  wide_gamut.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
  const std::string path = Saved(wide_gamut, "p3.png");
  const ImportedPicture picture = ReadPicture(path);
  ExpectSame(picture, PictureOfImage(wide_gamut.convertedToColorSpace(QColorSpace::SRgb)), "p3");
  EXPECT_NE(picture.block, BitmapImport(Opaque).block);
}

void Be32(std::string& to, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) to += char(value >> shift);
}

// One PNG chunk of `body` (its type and data), with its length and CRC.
std::string PngChunk(const std::string& body) {
  uint32_t crc = 0xFFFFFFFF;
  for (unsigned char byte : body) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  std::string chunk;
  Be32(chunk, uint32_t(body.size() - 4));
  chunk += body;
  Be32(chunk, ~crc);
  return chunk;
}

// A PNG of its sizes and an empty pixel chunk: nothing to decode.
std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  std::string header = "IHDR";
  Be32(header, width);
  Be32(header, height);
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk(header + std::string("\x08\x02\0\0\0", 5)) +
         PngChunk("IDAT") + PngChunk("IEND");
}

TEST_F(PictureReader, GammaAndChromaticityChunksAloneLeaveThePixelsAsTheyAre) {
  const std::string plain = ReadFileBytes(Saved(Image(QImage::Format_RGB32, Opaque), "p.png"));
  std::string tags = "gAMA";
  Be32(tags, 45455);
  std::string primaries = "cHRM";
  for (uint32_t value : {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000})
    Be32(primaries, value);
  const size_t after_header = 8 + 25;
  WriteFileBytes(folder.File("tagged.png"), plain.substr(0, after_header) + PngChunk(tags) +
                                                PngChunk(primaries) + plain.substr(after_header));
  ExpectSame(ReadPicture(folder.File("tagged.png")), BitmapImport(Opaque), "gamma");
}

TEST_F(PictureReader, RefusesWhatItShouldNotDecode) {
  // Sizes are read from the header: no pixel of these is there to decode.
  std::string header = HandmadeBitmap(Handmade{.width = 1, .height = 1});
  const auto sized = [&](uint32_t width, uint32_t height) {
    std::string bytes = header;
    for (int i = 0; i < 4; ++i) {
      bytes[18 + i] = char(width >> (8 * i));
      bytes[22 + i] = char(height >> (8 * i));
    }
    return bytes;
  };
  WriteFileBytes(folder.File("wide.bmp"), sized(70000, 1));
  WriteFileBytes(folder.File("huge.png"), PngHeaderOnly(20000, 20000));  // 1.6 GB decoded
  WriteFileBytes(folder.File("high.png"), PngHeaderOnly(2, 66000));
  WriteFileBytes(folder.File("damaged.bmp"), header.substr(0, 20));
  WriteFileBytes(folder.File("notes.xyz"), "not a picture");
  WriteFileBytes(
      folder.File("cut.png"),
      ReadFileBytes(Saved(Image(QImage::Format_RGB32, Opaque), "whole.png")).substr(0, 40));
  const std::pair<const char*, std::string> cases[] = {
      {"wide.bmp", kPictureTooLarge},
      {"huge.png", kPictureTooLarge},
      {"high.png", kPictureTooLarge},
      {"damaged.bmp", kBitmapNotValid},
      {"notes.xyz", "Unknown picture file extension (.xyz)"},
  };
  for (const auto& [name, message] : cases) {
    try {
      ReadImage(folder.File(name));
      ADD_FAILURE() << name << " was read";
    } catch (const EPictureUnreadable& refused) {
      EXPECT_EQ(refused.Message(), message) << name;
    }
  }
  // Other kinds say the reader's reason after the file's name.
  try {
    ReadPicture(folder.File("cut.png"));
    ADD_FAILURE() << "a cut PNG was read";
  } catch (const EPictureUnreadable& refused) {
    EXPECT_EQ(refused.Message().rfind("Unable to read " + folder.File("cut.png") + " : ", 0), 0u)
        << refused.Message();
  }
  EXPECT_THROW(ReadImage(folder.File("missing.png")), EInOutError);
  EXPECT_THROW(ReadImage(folder.Path()), EInOutError);
}

TEST_F(PictureReader, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
  const std::string pipe = folder.File("pipe.png");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [&] {
    try {
      ReadImage(pipe);
    } catch (const EInOutError& error) {
      return error.Message();
    }
    return std::string("read");
  });
  if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    ADD_FAILURE() << "the reader waits on the pipe";
    // A writer that comes and goes ends the wait, so the test itself ends.
    const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  EXPECT_EQ(read.get(), "Cannot open file " + pipe);
}

TEST_F(PictureReader, WritePngKeepsTheOldFileWhenItCannotWrite) {
  const std::string path = folder.File("kept.png");
  WriteFileBytes(path, "old");
  EXPECT_THROW(WritePng(path, QImage()), EInOutError);
  EXPECT_THROW(WritePng(folder.File("missing/new.png"), Image(QImage::Format_RGB32, Opaque)),
               EInOutError);
  EXPECT_EQ(ReadFileBytes(path), "old");
  WritePng(path, Image(QImage::Format_RGB32, Opaque));
  ExpectSame(ReadPicture(path), BitmapImport(Opaque), "written");
}

}  // namespace
