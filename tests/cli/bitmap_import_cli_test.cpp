#include <gtest/gtest.h>

#include "composition/bitmap_file.h"
#include "tests/cli/cli_runner.h"
#include "tests/composition/handmade_bitmap.h"
#include "tests/support/temp_folder.h"

using namespace fixtures;

TEST(BitmapImportCli, TakesTheFifthHeaderVersionAndExportsThePicture) {
  TempFolder folder;
  // The first column is wholly clear: white over the fabric.
  const HandmadePixel clear_edge = [](int32_t x, int32_t y) {
    auto pixel = Opaque(x, y);
    if (x == 0) pixel[3] = 0;
    return pixel;
  };
  const HandmadePixel white_edge = [](int32_t x, int32_t y) {
    return x == 0 ? std::array<uint8_t, 4>{255, 255, 255, 255} : Opaque(x, y);
  };
  struct Case {
    Handmade made;
    HandmadePixel pixel, seen;
  } cases[] = {
      {{.header = 124, .width = 5, .height = 3}, Opaque, Opaque},
      {{.header = 124,
        .bits = 32,
        .compression = 3,
        .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
        .top_down = true,
        .width = 5,
        .height = 3},
       clear_edge,
       white_edge},
  };
  for (const Case& c : cases) {
    WriteFileBytes(folder.File("in.bmp"), HandmadeBitmap(c.made, c.pixel));
    const std::string dmc = Quoted(folder.File("in.dmc")), out = folder.File("out.bmp");
    ASSERT_EQ(RunCli("import " + Quoted(folder.File("in.bmp")) + " " + dmc).status, 0);
    ASSERT_EQ(RunCli("export " + dmc + " " + Quoted(out)).status, 0);
    std::vector<uint8_t> expected = BitmapHeaders(5, 3);
    const PictureBlock block = ExpectedBlock(5, 3, c.seen);
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(ReadFileBytes(out), std::string(expected.begin(), expected.end())) << c.made.bits;
  }
}
