#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "composition/bitmap_file.h"
#include "composition/composition.h"
#include "composition/resample.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr uint16_t kWidth = 31, kHeight = 17;

TColor Pixel(uint32_t x, uint32_t y) {
  return MakeColor(uint8_t(x * 41 + y * 3), uint8_t(y * 67 + x), uint8_t((x * y) * 13 + 5));
}

PictureBlock Block() {
  PictureBlock block(PictureBytes(kWidth, kHeight), 0);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x)
      PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y), Pixel(x, y));
  return block;
}

class PictureSizeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBitmapFile(File("p.bmp"), Block(), kWidth, kHeight);
    ASSERT_EQ(RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(File("p.dmc"))).status, 0);
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  // The picture of a composition file, as exported.
  TPicture PictureOf(const std::string& dmc) {
    TpunCompo compo;
    compo.LoadFromFile(dmc);
    return compo.SourcePicture();
  }
  TPicture Expected(uint16_t w, uint16_t h) {
    return *ResampledPicture(TPicture(kWidth, kHeight, Block()), w, h, nullptr, NeverCancelled());
  }

  TempFolder folder_;
};

TEST_F(PictureSizeCli, ImportAndResizeTakeEachSizeOption) {
  struct Case {
    std::string option;
    uint16_t width, height;
  };
  // 31 x 17 at 10 wide: 17 * 10 / 31 = 5.48 -> 5; at 9 high: 31 * 9 / 17 = 16.4 -> 16.
  const std::vector<Case> cases = {
      {"--width 10", 10, 5}, {"--height 9", 16, 9}, {"--size 50x3", 50, 3}, {"--size 1X1", 1, 1}};
  for (const Case& c : cases) {
    ASSERT_EQ(
        RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(File("i.dmc")) + " " + c.option)
            .status,
        0)
        << c.option;
    EXPECT_EQ(PictureOf(File("i.dmc")), Expected(c.width, c.height)) << c.option;
    const auto result =
        RunCli("resize " + Quoted(File("p.dmc")) + " " + c.option + " -o " + Quoted(File("r.dmc")));
    ASSERT_EQ(result.status, 0) << c.option << result.err;
    EXPECT_EQ(PictureOf(File("r.dmc")), Expected(c.width, c.height)) << c.option;
  }
  EXPECT_EQ(PictureOf(File("p.dmc")), TPicture(kWidth, kHeight, Block()));
}

TEST_F(PictureSizeCli, TurnsUndoEachOtherAndInPlaceChangesTheInput) {
  const std::string p = Quoted(File("p.dmc"));
  ASSERT_EQ(RunCli("turn right " + p + " -o " + Quoted(File("r.dmc"))).status, 0);
  const TPicture right = PictureOf(File("r.dmc"));
  ASSERT_EQ(right.Width(), kHeight);
  // The top-left pixel of a right turn is the bottom-left one of the picture.
  EXPECT_EQ(PixelAt(right.Data(), PixelOffset(kHeight, kWidth, 0, 0)), Pixel(0, kHeight - 1));
  ASSERT_EQ(RunCli("turn left " + Quoted(File("r.dmc")) + " --in-place").status, 0);
  EXPECT_EQ(PictureOf(File("r.dmc")), PictureOf(File("p.dmc")));
  ASSERT_EQ(RunCli("resize --in-place " + p + " --width 3").status, 0);
  EXPECT_EQ(PictureOf(File("p.dmc")), Expected(3, 2));
}

TEST_F(PictureSizeCli, OutputRuleAndBadSizesFailAndChangeNothing) {
  const std::string p = Quoted(File("p.dmc"));
  const std::string before = ReadFileBytes(File("p.dmc"));
  const std::string out = " -o " + Quoted(File("o.dmc"));
  const std::string give = "give -o OUT.dmc, or --in-place to change FILE.dmc\n";
  for (const std::string& command :
       {"search " + p, "used " + p, "similar " + p + " 5", "unique " + p + " 50 1", "rotate " + p,
        "resize " + p + " --width 5", "turn right " + p}) {
    const auto result = RunCli(command);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_EQ(result.err, give) << command;
  }
  const std::pair<std::string, std::string> refused[] = {
      {"resize " + p + " --width 5 -o " + p, "is the input file"},
      {"resize " + p + " --width 5 --in-place" + out, "not both"},
      {"resize " + p + out, "give --width N, --height N or --size WxH"},
      {"resize " + p + " --width 0" + out, "--width must be a whole number from 1 to 65535"},
      {"resize " + p + " --height 65536" + out, "--height must be a whole number from 1 to"},
      {"resize " + p + " --size 5x" + out, "--size must be WIDTHxHEIGHT"},
      {"resize " + p + " --size 0x5" + out, "--size must be WIDTHxHEIGHT"},
      {"resize " + p + " --width 5 --size 5x5" + out, "give one of --width, --height and --size"},
      {"import " + Quoted(File("p.bmp")) + " " + Quoted(File("o.dmc")) + " --width 4 --height 4",
       "give one of"},
      {"turn up " + p + out, "turn right or left"},
  };
  for (const auto& [command, message] : refused) {
    const auto result = RunCli(command);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_NE(result.err.find(message), std::string::npos) << command << "\n" << result.err;
  }
  EXPECT_EQ(ReadFileBytes(File("p.dmc")), before);
  EXPECT_EQ(ListFolder(folder_.Path()), "p.bmp p.dmc");
  EXPECT_EQ(RunCli("--version").out, "puntel-cli 2.0a\n");
}

}  // namespace
