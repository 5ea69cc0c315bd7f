#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "composition/bitmap_file.h"
#include "pattern/design_geometry.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/bitmap_rows.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr TColor kBlack = MakeColor(0, 0, 0), kWhite = MakeColor(255, 255, 255);

class DesignCli : public ::testing::Test {
 protected:
  void Make(uint16_t width, uint16_t height) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                   MakeColor(uint8_t(x * 53 + y * 7), uint8_t(y * 71), uint8_t(x * 19 + 90)));
    WriteBitmapFile(File("p.bmp"), block, width, height);
    ASSERT_EQ(RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(File("p.dmc"))).status, 0);
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  TempFolder folder_;
};

TEST_F(DesignCli, ChartPixelsFollowTheGeometryAndTheMappedPicture) {
  Make(5, 3);
  ASSERT_EQ(RunCli("mapped " + Quoted(File("p.dmc")) + " " + Quoted(File("m.bmp"))).status, 0);
  const PixelRows mapped = ReadBitmapRows(File("m.bmp"));
  const CliResult result =
      RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("d.bmp")) + " --cell 4");
  ASSERT_EQ(result.status, 0) << result.err;
  const PixelRows chart = ReadBitmapRows(File("d.bmp"));
  const ChartGeometry geometry{5, 3, 4};
  ASSERT_EQ(int64_t(chart.size()), geometry.Height());
  ASSERT_EQ(int64_t(chart[0].size()), geometry.Width());
  for (int64_t y = 0; y < geometry.Height(); ++y)
    for (int64_t x = 0; x < geometry.Width(); ++x) {
      TColor want;
      if (x == geometry.Width() - 1 && y == geometry.Height() - 1)
        want = kWhite;
      else if (x % geometry.Pitch() == 0 || y % geometry.Pitch() == 0)
        want = kBlack;
      else
        want = mapped[y / geometry.Pitch()][x / geometry.Pitch()];
      ASSERT_EQ(chart[y][x], want) << x << "," << y;
    }
  // The legend beside it: at least 400 wide, white around its first row of swatches.
  const PixelRows legend = ReadBitmapRows(File("d-legend.bmp"));
  ASSERT_FALSE(legend.empty());
  EXPECT_GE(legend[0].size(), 400u);
  EXPECT_EQ(legend[0][0], kWhite);
  EXPECT_NE(std::find(legend[5].begin(), legend[5].end(), kBlack), legend[5].end());
}

TEST_F(DesignCli, DefaultCellFontAndRefusals) {
  Make(3, 2);
  ASSERT_EQ(RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("d.bmp")) +
                   " --font 'DejaVu Sans:14'")
                .status,
            0);
  EXPECT_EQ(ReadBitmapRows(File("d.bmp")).size(), 2u * 11 + 1);
  // A font so large its legend would be over the limit: neither file is written.
  EXPECT_EQ(RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("e.bmp")) +
                   " --font 'DejaVu Sans:500'")
                .status,
            1);
  for (const char* cell : {"2", "51", "x"}) {
    const CliResult bad =
        RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("e.bmp")) + " --cell " + cell);
    EXPECT_EQ(bad.status, 1) << cell;
    EXPECT_NE(bad.err.find("--cell"), std::string::npos) << bad.err;
  }
  EXPECT_FALSE(std::filesystem::exists(File("e.bmp")));

  // A read-only legend: the chart beside it is not written either.
  WriteFileBytes(File("r-legend.bmp"), "kept");
  std::filesystem::permissions(File("r-legend.bmp"), std::filesystem::perms::owner_read);
  const CliResult kept = RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("r.bmp")));
  EXPECT_EQ(kept.status, 1);
  EXPECT_NE(kept.err.find("Cannot create file " + File("r-legend.bmp")), std::string::npos)
      << kept.err;
  EXPECT_FALSE(std::filesystem::exists(File("r.bmp")));
  EXPECT_EQ(ReadFileBytes(File("r-legend.bmp")), "kept");
}

TEST_F(DesignCli, ChartOverTheSizeLimitIsRefusedWithItsMessage) {
  Make(260, 260);
  const CliResult result =
      RunCli("design " + Quoted(File("p.dmc")) + " " + Quoted(File("d.bmp")) + " --cell 50");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Design too large for this cell size !"), std::string::npos)
      << result.err;
  EXPECT_FALSE(std::filesystem::exists(File("d.bmp")));
  EXPECT_FALSE(std::filesystem::exists(File("d-legend.bmp")));
}

}  // namespace
