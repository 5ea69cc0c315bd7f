#include <gtest/gtest.h>

#include "composition/composition.h"
#include "pattern/oxs/oxs_composition.h"
#include "pattern/oxs/oxs_reader.h"
#include "pattern/oxs/oxs_writer.h"
#include "pattern/symbol_character.h"
#include "pattern/symbol_table.h"
#include "tests/support/oxs_xml.h"
#include "tests/support/temp_folder.h"

namespace {

const TColor kBlack = MakeColor(0, 0, 0), kRed = MakeColor(200, 16, 40),
             kBlend = MakeColor(100, 8, 20), kBlue = MakeColor(10, 20, 250),
             kGreen = MakeColor(0, 200, 0);

// 4 x 3 cells of black, red, the blend and blue (green unused); blue is transparent.
struct Fixture {
  TpunCompo compo;
  SymbolTable symbols{{"DejaVu Sans,65", "Wingdings,108", "Arial,66", "Wingdings,255", "x"}};
  FlossTable table = FlossTable::FromBytes(
      "number\tdescription\tr\tg\tb\n310\tBlack & \"Jet\"\t0\t0\t0\n666\tRed <bright>\t1\t1\t1\n",
      "test");
  Fixture() {
    for (const auto& [color, name] : {std::pair{kBlack, "310"},
                                      {kGreen, "green"},
                                      {kRed, "666"},
                                      {kBlend, "310+666"},
                                      {kBlue, "Blue's"}})
      compo.Palette().AddClr(color, name);
    const TColor cells[3][4] = {
        {kBlack, kRed, kBlend, kBlue}, {kBlue, kBlack, kBlack, kRed}, {kRed, kRed, kBlend, kBlack}};
    PictureBlock block(PictureBytes(4, 3), 0);
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t x = 0; x < 4; ++x)
        PutPixelAt(block.data(), PixelOffset(4, 3, x, y), cells[y][x]);
    compo.SetPicture(TPicture(4, 3, std::move(block)));
    compo.SetTransparencyOn(true);
    compo.SetTransparentColor(4);
    compo.SetCottonSize(2);
  }
  OxsChart Chart() {
    return ChartOfComposition(compo, symbols, {FlossBrand::kDmc, &table}, "Fox & <Hen>");
  }
};

using Attributes = OxsAttributes;

TEST(OxsWriteTest, FileHoldsSizesUsedPaletteAndEveryStitch) {
  Fixture f;
  const std::string bytes = OxsBytes(f.Chart());
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
  const OxsXml p = ParseOxsXml(bytes);
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.elements.front(), "chart");
  EXPECT_EQ(p.elements[1], "format");
  EXPECT_EQ(p.elements.back(), "ornaments_inc_knots_and_beads");
  EXPECT_EQ(p.elements[p.elements.size() - 2], "backstitches");
  EXPECT_EQ(p.properties, (Attributes{{"oxsversion", "1.0"},
                                      {"software", "PunTel"},
                                      {"software_version", "2.0a"},
                                      {"chartwidth", "4"},
                                      {"chartheight", "3"},
                                      {"charttitle", "Fox & <Hen>"},
                                      {"stitchesperinch", "18"},
                                      {"palettecount", "4"}}));
  ASSERT_EQ(p.items.size(), 4u);  // cloth, 310, 666, the blend: green unused, blue transparent
  EXPECT_EQ(
      p.items[0],
      (Attributes{{"index", "0"}, {"number", "cloth"}, {"name", "cloth"}, {"color", "FFFFFF"}}));
  EXPECT_EQ(p.items[1], (Attributes{{"index", "1"},
                                    {"number", "DMC 310"},
                                    {"name", "Black & \"Jet\""},
                                    {"color", "000000"},
                                    {"symbol", "65"},  // 'A': entry 0 of 5 for colour 0 of 5
                                    {"strands", "2"}}));
  EXPECT_EQ(p.items[2].at("number"), "DMC 666");
  EXPECT_EQ(p.items[2].at("name"), "Red <bright>");
  EXPECT_EQ(p.items[2].at("color"), "C81028");
  EXPECT_EQ(p.items[2].at("symbol"), "66");   // Arial 'B'
  EXPECT_EQ(p.items[3].count("symbol"), 0u);  // Wingdings 255: no stand-in character
  EXPECT_EQ(p.items[3].at("number"), "DMC 310+666");
  EXPECT_EQ(p.items[3].at("name"), "Black & \"Jet\" + Red <bright>");
  const std::vector<std::string> expected = {"0 0 1", "1 0 2", "2 0 3", "1 1 1", "2 1 1",
                                             "3 1 2", "0 2 2", "1 2 2", "2 2 3", "3 2 1"};
  ASSERT_EQ(p.stitches.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k)
    EXPECT_EQ(
        p.stitches[k].at("x") + " " + p.stitches[k].at("y") + " " + p.stitches[k].at("palindex"),
        expected[k]);
}

TEST(OxsWriteTest, SymbolsFollowTheTableRulesAndBrandNoneWritesNamesAlone) {
  Fixture f;
  EXPECT_EQ(ChartSymbolCharacter(f.symbols, 1, 5), WingdingsCharacter(108));
  EXPECT_NE(WingdingsCharacter(108), 0u);
  EXPECT_EQ(ChartSymbolCharacter(f.symbols, 4, 5), 0u);  // "x" is malformed
  EXPECT_EQ(ChartSymbolCharacter(SymbolTable(), 0, 5), 0u);
  const OxsChart chart = ChartOfComposition(f.compo, f.symbols, {}, "t");
  EXPECT_EQ(chart.palette[3].number, "310+666");
  EXPECT_EQ(chart.palette[3].name, "");
  f.compo.SetTransparencyOn(false);
  EXPECT_EQ(ChartOfComposition(f.compo, f.symbols, {}, "t").stitches.size(), 12u);
}

TEST(OxsReadTest, ReadsBackWhatWasWrittenAndItsFloss) {
  Fixture f;
  const OxsChart chart = f.Chart();
  const OxsChart read = ReadOxs(OxsBytes(chart));
  EXPECT_EQ(read.width, 4);
  EXPECT_EQ(read.height, 3);
  EXPECT_EQ(read.title, chart.title);
  EXPECT_EQ(read.stitches_per_inch, 18);
  EXPECT_EQ(read.palette, chart.palette);
  EXPECT_EQ(read.stitches, chart.stitches);

  TpunPal main;
  for (const auto& [color, name] : {std::pair{MakeColor(250, 250, 250), "Blanc"},
                                    {kBlack, "310"},
                                    {MakeColor(201, 15, 40), "666"},
                                    {kBlend, "mix"}})
    main.AddClr(color, name);
  TpunCompo back(&main);
  PutChartOnComposition(read, back);
  EXPECT_EQ(back.CottonSize(), 2);
  const TPicture& picture = back.SourcePicture();
  auto at = [&](uint32_t x, uint32_t y) {
    return PixelAt(picture.Data(), PixelOffset(4, 3, x, y));
  };
  EXPECT_EQ(at(3, 0), MakeColor(255, 255, 255));  // the transparent cells are cloth
  EXPECT_EQ(at(0, 1), MakeColor(255, 255, 255));
  EXPECT_EQ(at(0, 0), kBlack);
  EXPECT_EQ(at(1, 0), MakeColor(201, 15, 40));  // the nearest floss, not the file's colour
  EXPECT_EQ(at(2, 2), kBlend);
}

TEST(OxsReadTest, RefusesDamagedFiles) {
  Fixture f;
  const std::string good = OxsBytes(f.Chart());
  for (size_t size = 0; size + 1 < good.size(); size += 7)
    EXPECT_THROW(ReadOxs(good.substr(0, size)), EInvalidOxs) << size;
  auto with = [&](const std::string& from, const std::string& to) {
    std::string bytes = good;
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return bytes.replace(at, from.size(), to);
  };
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"chartwidth=\"4\"", ""},
           {"chartheight=\"3\"", "chartheight=\"0\""},
           {"chartwidth=\"4\"", "chartwidth=\"65536\""},
           {" x=\"3\"", " x=\"4\""},
           {" y=\"2\"", " y=\"-1\""},
           {"palindex=\"3\"", "palindex=\"4\""},
           {"color=\"C81028\"", "color=\"C8102\""},
           {"color=\"C81028\"", "color=\"C8102G\""},
           {"<chart>", "<chert>"},
           {"&amp;", "&"},
           {"<properties", "<properties <"}})
    EXPECT_THROW(ReadOxs(with(from, to)), EInvalidOxs) << from << " -> " << to;
  EXPECT_THROW(ReadOxs("\x89PNG\r\n"), EInvalidOxs);
  // Only the file's own stitches are kept: the largest size costs nothing to read.
  const OxsChart largest = ReadOxs(
      with("chartwidth=\"4\" chartheight=\"3\"", "chartwidth=\"65535\" chartheight=\"65535\""));
  EXPECT_EQ(largest.width, 65535);
  EXPECT_EQ(largest.stitches.size(), 10u);
  // A palette item outside the palette is no item, so no stitch may name it.
  std::string stray = with(" </palette>", " </palette><palette_item color=\"000000\"/>");
  stray.replace(stray.find("palindex=\"3\""), 12, "palindex=\"4\"");
  EXPECT_THROW(ReadOxs(stray), EInvalidOxs);
  try {
    ReadOxs("");
  } catch (const EInvalidOxs& error) {
    EXPECT_STREQ(error.what(), "Invalid OXS file !");
  }
}

TEST(OxsWriteTest, FailedWriteLeavesTheFileAlone) {
  TempFolder folder;
  Fixture f;
  const std::string path = folder.File("a.oxs");
  WriteFileBytes(path, "old");
  EXPECT_THROW(WriteOxsFile(folder.File("none/a.oxs"), f.Chart()), EInOutError);
  EXPECT_EQ(ReadFileBytes(path), "old");
  WriteOxsFile(path, f.Chart());
  EXPECT_EQ(ReadOxsFile(path).stitches.size(), 10u);
  EXPECT_EQ(ListFolder(folder.Path()), "a.oxs");  // no temporary file left beside it
  EXPECT_THROW(ReadOxsFile(folder.File("missing.oxs")), EInOutError);
}

}  // namespace
