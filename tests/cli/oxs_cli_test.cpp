#include <gtest/gtest.h>

#include <map>

#include "composition/bitmap_file.h"
#include "palette/floss_palette.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/floss_table.h"
#include "tests/support/oxs_xml.h"
#include "tests/support/temp_folder.h"

namespace {

using Attributes = OxsAttributes;
using Chart = OxsXml;

Chart ParseChart(const std::string& path) {
  return ParseOxsXml(ReadFileBytes(path));
}

// The pixels of the 24-bit bitmap puntel-cli mapped writes, rows from the top.
std::vector<TColor> MappedPixels(const std::string& dmc, const std::string& extra = "") {
  TempFolder folder;
  const std::string bmp = folder.File("m.bmp");
  EXPECT_EQ(RunCli("mapped " + Quoted(dmc) + " " + Quoted(bmp) + extra).status, 0);
  const std::string bytes = ReadFileBytes(bmp);
  BitmapLayout layout;
  auto data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (CheckBitmap(data, bytes.size(), layout) != BitmapVerdict::Taken) return {};
  std::vector<TColor> pixels;
  for (uint32_t y = 0; y < layout.height; ++y)
    for (uint32_t x = 0; x < layout.width; ++x)
      pixels.push_back(
          PixelAt(data + layout.pixel_offset, PixelOffset(layout.width, layout.height, x, y)));
  return pixels;
}

TColor HexColor(const std::string& text) {
  const uint32_t rgb = uint32_t(std::stoul(text, nullptr, 16));
  return MakeColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

struct OxsCli : ::testing::Test {
  TempFolder folder;
  std::string dmc = folder.File("fox.dmc"), oxs = folder.File("fox.oxs");
  static constexpr uint16_t kWidth = 13, kHeight = 9;

  // A composition of a colourful bitmap on `palette` (the main one unless given).
  void MakeComposition(const std::string& palette = "") {
    PictureBlock block(PictureBytes(kWidth, kHeight), 0);
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y),
                   MakeColor(uint8_t(x * 19), uint8_t(y * 28), uint8_t((x ^ y) * 15)));
    WriteBitmapFile(folder.File("p.bmp"), block, kWidth, kHeight);
    ASSERT_EQ(RunCli("import " + Quoted(folder.File("p.bmp")) + " " + Quoted(dmc) + palette).status,
              0);
  }
  // ... brought down to 12 floss, few enough for the default symbol table.
  void MakeSearchedComposition() {
    MakeComposition();
    ASSERT_EQ(RunCli("search " + Quoted(dmc) + " --max-floss 12 --in-place").status, 0);
  }
};

TEST_F(OxsCli, ChartHoldsEveryStitchInItsFlossWithDmcDescriptions) {
  MakeSearchedComposition();
  const CliResult result = RunCli("oxs " + Quoted(dmc) + " " + Quoted(oxs));
  ASSERT_EQ(result.status, 0) << result.err;
  const Chart chart = ParseChart(oxs);
  EXPECT_EQ(chart.properties.at("chartwidth"), "13");
  EXPECT_EQ(chart.properties.at("chartheight"), "9");
  EXPECT_EQ(chart.properties.at("charttitle"), "fox");
  EXPECT_EQ(chart.properties.at("stitchesperinch"), "14");
  EXPECT_EQ(chart.properties.at("palettecount"), std::to_string(chart.items.size()));
  EXPECT_EQ(result.out,
            "brand\tDMC\ncolors\t" + std::to_string(chart.items.size() - 1) + "\nstitches\t117\n");
  std::map<std::string, std::string> descriptions;
  for (const FlossRow& row : ReadFlossTable("dmc.tsv")) descriptions[row.number] = row.description;
  ASSERT_GT(chart.items.size(), 6u);
  EXPECT_EQ(chart.items[0].at("number"), "cloth");
  for (size_t k = 1; k < chart.items.size(); ++k) {
    const Attributes& item = chart.items[k];
    ASSERT_EQ(item.at("number").rfind("DMC ", 0), 0u);
    EXPECT_EQ(item.at("name"), descriptions.at(item.at("number").substr(4)));
    EXPECT_EQ(item.at("index"), std::to_string(k));
    EXPECT_EQ(item.at("strands"), "2");
    EXPECT_NE(item.count("symbol"), 0u);  // the default table's characters are all known
  }
  const std::vector<TColor> mapped = MappedPixels(dmc);
  ASSERT_EQ(chart.stitches.size(), mapped.size());
  for (size_t i = 0; i < mapped.size(); ++i) {
    const Attributes& s = chart.stitches[i];
    EXPECT_EQ(std::stoul(s.at("y")) * kWidth + std::stoul(s.at("x")), i);
    EXPECT_EQ(HexColor(chart.items.at(std::stoul(s.at("palindex"))).at("color")), mapped[i]);
  }
}

TEST_F(OxsCli, RoundTripKeepsEveryStitchsFloss) {
  MakeSearchedComposition();
  ASSERT_EQ(RunCli("oxs " + Quoted(dmc) + " " + Quoted(oxs)).status, 0);
  const std::string back = folder.File("back.dmc");
  const CliResult imported = RunCli("oxs-import " + Quoted(oxs) + " " + Quoted(back));
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(MappedPixels(back), MappedPixels(dmc));
}

TEST_F(OxsCli, NamesWithMarkupCharactersAndBrandNone) {
  TpunPal palette;
  palette.AddClr(MakeColor(0, 0, 0), "R&D <1>");
  palette.AddClr(MakeColor(255, 255, 0), "\"q\" 'a'");
  palette.AddClr(MakeColor(0, 128, 255), "x+y");
  const std::string clr = folder.File("odd.clr");
  palette.SaveToFile(clr);
  const std::string with = " --palette " + Quoted(clr);
  MakeComposition(with);
  ASSERT_EQ(RunCli("oxs " + Quoted(dmc) + " " + Quoted(oxs) + " --brand none" + with).status, 0);
  const Chart chart = ParseChart(oxs);
  ASSERT_TRUE(chart.ok);
  std::vector<std::string> numbers;
  for (size_t k = 1; k < chart.items.size(); ++k) {
    numbers.push_back(chart.items[k].at("number"));
    EXPECT_EQ(chart.items[k].at("name"), "");  // no table holds them
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"R&D <1>", "\"q\" 'a'", "x+y"}));
  const std::string back = folder.File("back.dmc");
  ASSERT_EQ(RunCli("oxs-import " + Quoted(oxs) + " " + Quoted(back) + with).status, 0);
  EXPECT_EQ(MappedPixels(back, with), MappedPixels(dmc, with));
}

TEST_F(OxsCli, BrandFollowsTheThreadsUnlessNamed) {
  const std::string anchor =
      " --palette " + Quoted(std::string(PUNTEL_RUNTIME_DIR) + "/anchor.clr");
  MakeComposition(anchor);
  const std::string run = "oxs " + Quoted(dmc) + " " + Quoted(oxs) + anchor;
  ASSERT_EQ(RunCli(run).out.rfind("brand\tAnchor\n", 0), 0u);
  std::map<std::string, std::string> descriptions;
  for (const FlossRow& row : ReadFlossTable("anchor.tsv"))
    descriptions[row.number] = row.description;
  for (const Attributes& item : ParseChart(oxs).items)
    if (item.at("index") != "0")
      EXPECT_EQ(item.at("name"), descriptions.at(item.at("number").substr(7)));
  ASSERT_EQ(RunCli(run + " --brand Madeira").out.rfind("brand\tMadeira\n", 0), 0u);
  EXPECT_EQ(ParseChart(oxs).items.at(1).at("number").rfind("Madeira ", 0), 0u);
}

TEST_F(OxsCli, RefusalsWriteNothing) {
  MakeComposition();
  const CliResult bad_brand = RunCli("oxs " + Quoted(dmc) + " " + Quoted(oxs) + " --brand coats");
  EXPECT_EQ(bad_brand.status, 1);
  EXPECT_NE(bad_brand.err.find("--brand"), std::string::npos);
  EXPECT_FALSE(FileExists(oxs));
  EXPECT_EQ(RunCli("oxs " + Quoted(dmc) + " " + Quoted(dmc)).status, 1);

  ASSERT_EQ(RunCli("oxs " + Quoted(dmc) + " " + Quoted(oxs)).status, 0);
  const std::string whole = ReadFileBytes(oxs);
  const std::string out = folder.File("out.dmc");
  for (const std::string& damaged :
       {whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 4),
        std::string("<chart>"),
        whole.substr(0, whole.find("<palette>")) + whole.substr(whole.find("<fullstitches>"))}) {
    WriteFileBytes(oxs, damaged);
    const CliResult result = RunCli("oxs-import " + Quoted(oxs) + " " + Quoted(out));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Invalid OXS file !"), std::string::npos) << result.err;
    EXPECT_FALSE(FileExists(out));
  }
  WriteFileBytes(out, "kept");
  EXPECT_EQ(RunCli("oxs-import " + Quoted(oxs) + " " + Quoted(out)).status, 1);
  EXPECT_EQ(ReadFileBytes(out), "kept");
  EXPECT_EQ(RunCli("oxs-import " + Quoted(folder.File("none.oxs")) + " " + Quoted(out)).status, 1);
}

}  // namespace
