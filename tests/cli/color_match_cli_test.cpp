#include <gtest/gtest.h>

#include "palette/floss_palette.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/bitmap_rows.h"
#include "tests/support/differing_match.h"
#include "tests/support/temp_folder.h"

namespace {

// Many distinct colors, among them skin tones, greys and dark greens.
TColor Shade(uint32_t x, uint32_t y) {
  return MakeColor(uint8_t(x * 23 + y * 7 + 40), uint8_t(y * 19 + x * 3 + 30),
                   uint8_t((x ^ y) * 13 + 20));
}

class ColorMatchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_THROW(dmc_.LoadFromFile(kDmc));
    for (int32_t i = 0; i < dmc_.Count(); ++i) floss_.push_back(dmc_.GetClr(i));
    PictureBlock block(PictureBytes(kWidth, kHeight), 0);
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y), Shade(x, y));
    WriteBitmapFile(File("p.bmp"), block, kWidth, kHeight);
  }
  std::string File(const std::string& name) const { return folder_.File(name); }

  // Imports the picture and writes it mapped, both with `match` after the arguments.
  PixelRows ImportedAndMapped(const std::string& match) {
    const std::string dmc = File("p" + match + ".dmc"), bmp = File("m" + match + ".bmp");
    CliResult result = RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(dmc) + match);
    EXPECT_EQ(result.status, 0) << result.err;
    result = RunCli("mapped " + Quoted(dmc) + " " + Quoted(bmp) + match);
    EXPECT_EQ(result.status, 0) << result.err;
    return ReadBitmapRows(bmp);
  }

  static constexpr uint16_t kWidth = 12, kHeight = 9;
  TempFolder folder_;
  TpunPal dmc_;
  std::vector<TColor> floss_;
};

TEST_F(ColorMatchCli, MappingFollowsTheChosenRuleOnEveryPixel) {
  const PixelRows perceptual = ImportedAndMapped(" --match ciede2000");
  const PixelRows exact = ImportedAndMapped(" --match rgb");
  ASSERT_EQ(perceptual.size(), kHeight);
  ASSERT_EQ(exact.size(), kHeight);
  EXPECT_EQ(ImportedAndMapped(""), exact);  // exact RGB unless asked
  int parted = 0;
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const TColor de = floss_[size_t(PlainDe2000Nearest(floss_, Shade(x, y)))];
      const TColor rgb = floss_[size_t(PlainRgbNearest(floss_, Shade(x, y)))];
      EXPECT_EQ(perceptual[y][x], de) << x << "," << y;
      EXPECT_EQ(exact[y][x], rgb) << x << "," << y;
      parted += de != rgb;
    }
  EXPECT_GT(parted, 0);  // the picture tells the rules apart
}

TEST_F(ColorMatchCli, NearestTakesTheRuleAndUnknownRulesAreRefused) {
  const DifferingMatch match = *FindDifferingMatch();
  TpunPal small;
  for (size_t i = 0; i < match.palette.size(); ++i)
    small.AddClr(match.palette[i], "F" + std::to_string(i));
  small.SaveToFile(File("small.clr"));
  const std::string color = " " + std::to_string(RedOf(match.color)) + " " +
                            std::to_string(GreenOf(match.color)) + " " +
                            std::to_string(BlueOf(match.color));
  const auto nearest = [&](const std::string& extra) {
    return RunCli("palette nearest " + Quoted(File("small.clr")) + color + extra).out;
  };
  const auto line = [](int32_t index) {
    return std::to_string(index) + "\tF" + std::to_string(index) + "\n";
  };
  EXPECT_EQ(nearest(" --match ciede2000"), line(match.ciede2000));
  EXPECT_EQ(nearest(" --match rgb"), line(match.rgb));
  EXPECT_EQ(nearest(""), line(match.rgb));

  ASSERT_EQ(RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(File("p.dmc"))).status, 0);
  for (const std::string& command :
       {"mapped " + Quoted(File("p.dmc")) + " " + Quoted(File("m.bmp")),
        "import " + Quoted(File("p.bmp")) + " " + Quoted(File("q.dmc")),
        "palette nearest " + Quoted(File("small.clr")) + color}) {
    const CliResult refused = RunCli(command + " --match lab");
    EXPECT_EQ(refused.status, 1) << command;
    EXPECT_NE(refused.err.find("--match must be rgb or ciede2000, not \"lab\""), std::string::npos)
        << refused.err;
    EXPECT_EQ(RunCli(command + " --match").status, 1) << command;  // no value
  }
  EXPECT_FALSE(FileExists(File("m.bmp")));
  EXPECT_FALSE(FileExists(File("q.dmc")));
  for (const char* command : {"import", "mapped", "search", "used", "unique", "report", "grid",
                              "design", "pdf", "oxs", "oxs-import"})
    EXPECT_NE(RunCli(std::string(command) + " --help").out.find("[--match rgb|ciede2000]"),
              std::string::npos)
        << command;
}

}  // namespace
