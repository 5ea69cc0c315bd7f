#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include "composition/bitmap_file.h"
#include "tests/cli/cli_runner.h"
#include "tests/composition/handmade_bitmap.h"
#include "tests/support/temp_folder.h"

using namespace fixtures;

namespace {

// The picture puntel-cli export writes of a composition imported from `picture`.
std::string ImportedThenExported(TempFolder& folder, const std::string& picture) {
  const std::string dmc = Quoted(folder.File("in.dmc")), out = folder.File("out.bmp");
  const CliResult import = RunCli("import " + Quoted(picture) + " " + dmc);
  EXPECT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(RunCli("export " + dmc + " " + Quoted(out)).status, 0);
  return ReadFileBytes(out);
}

std::string BitmapOf(int32_t width, int32_t height, const PictureBlock& block) {
  std::vector<uint8_t> bytes = BitmapHeaders(uint16_t(width), uint16_t(height));
  bytes.insert(bytes.end(), block.begin(), block.end());
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(PictureImportCli, TakesPngAndJpegAsTheirPixels) {
  TempFolder folder;
  // A PNG whose first column is clear: white over the fabric.
  QImage png(5, 3, QImage::Format_ARGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const auto [b, g, r, a] = Opaque(x, y);
      png.setPixel(x, y, qRgba(r, g, b, x == 0 ? 0 : a));
    }
  ASSERT_TRUE(png.save(QString::fromStdString(folder.File("in.png"))));
  const HandmadePixel white_edge = [](int32_t x, int32_t y) {
    return x == 0 ? std::array<uint8_t, 4>{255, 255, 255, 255} : Opaque(x, y);
  };
  EXPECT_EQ(ImportedThenExported(folder, folder.File("in.png")),
            BitmapOf(5, 3, ExpectedBlock(5, 3, white_edge)));

  // A JPEG gives exactly its decoded pixels.
  QImage photo(9, 6, QImage::Format_RGB32);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) photo.setPixel(x, y, qRgb(x * 28, y * 40, 200 - x * 10));
  const QString jpeg = QString::fromStdString(folder.File("in.JPG"));
  ASSERT_TRUE(photo.save(jpeg, "JPEG"));
  const QImage decoded = QImageReader(jpeg).read();
  const HandmadePixel pixel = [&](int32_t x, int32_t y) {
    const QRgb rgb = decoded.pixel(x, y);
    return std::array<uint8_t, 4>{uint8_t(qBlue(rgb)), uint8_t(qGreen(rgb)), uint8_t(qRed(rgb)),
                                  255};
  };
  EXPECT_EQ(ImportedThenExported(folder, jpeg.toStdString()),
            BitmapOf(9, 6, ExpectedBlock(9, 6, pixel)));

  WriteFileBytes(folder.File("cut.png"), ReadFileBytes(folder.File("in.png")).substr(0, 50));
  const CliResult cut =
      RunCli("import " + Quoted(folder.File("cut.png")) + " " + Quoted(folder.File("cut.dmc")));
  EXPECT_NE(cut.status, 0);
  EXPECT_NE(cut.err.find(folder.File("cut.png") + ": Unable to read"), std::string::npos)
      << cut.err;
}
