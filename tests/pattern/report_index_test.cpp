#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "composition/composition.h"
#include "pattern/report_lines.h"

namespace {

// A one-row picture using entry k of the palette counts[k] times.
struct UsageFixture {
  TpunCompo compo;
  UsageFixture(const std::vector<std::pair<std::string, TColor>>& palette,
               const std::vector<uint32_t>& counts) {
    for (const auto& [name, color] : palette) compo.Palette().AddClr(color, name);
    std::vector<TColor> pixels;
    for (size_t k = 0; k < counts.size(); ++k)
      pixels.insert(pixels.end(), counts[k], palette[k].second);
    const auto width = uint16_t(pixels.size());
    PictureBlock block(PictureBytes(width, 1), 0);
    for (uint16_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, 1, x, 0), pixels[x]);
    compo.SetPicture(TPicture(width, 1, std::move(block)));
  }
  std::vector<UsageLine> Report() { return ColorUsageReport(compo, compo.Palette(), nullptr); }
};

std::vector<int32_t> Indices(const std::vector<UsageLine>& lines) {
  std::vector<int32_t> indices;
  for (const UsageLine& line : lines) indices.push_back(line.index);
  return indices;
}

}  // namespace

TEST(ColorUsageReportIndex, LinesAreTheColorUsageLinesWithTheirEntries) {
  UsageFixture fixture({{"blanc", MakeColor(255, 255, 255)},
                        {"light blue", MakeColor(100, 100, 250)},
                        {"blanc", MakeColor(250, 250, 240)}},
                       {5, 2, 1});
  const std::vector<UsageLine> lines = fixture.Report();
  const std::vector<std::string> texts = ColorUsageLines(fixture.compo, fixture.compo.Palette());
  ASSERT_EQ(lines.size(), texts.size());
  for (size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k].text, texts[k]);
  EXPECT_EQ(Indices(lines), (std::vector<int32_t>{0, 1, 2}));
  TpunPal empty;
  EXPECT_TRUE(ColorUsageReport(fixture.compo, empty, nullptr).empty());
}

TEST(ColorUsageReportIndex, RemovalDeletesTheLinesOwnEntryAndShiftsTheLaterOnes) {
  // Duplicate names and a name with a blank: the first word would find another entry.
  UsageFixture fixture({{"blanc", MakeColor(255, 255, 255)},
                        {"light blue", MakeColor(100, 100, 250)},
                        {"blanc", MakeColor(250, 250, 240)},
                        {"light", MakeColor(10, 200, 10)}},
                       {1, 1, 1, 1});
  TpunPal& palette = fixture.compo.Palette();
  std::vector<UsageLine> lines = fixture.Report();
  ASSERT_TRUE(RemoveUsageColor(palette, lines, 2));  // the second "blanc"
  ASSERT_EQ(palette.Count(), 3);
  EXPECT_EQ(palette.GetClr(0), MakeColor(255, 255, 255));
  EXPECT_EQ(Indices(lines), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(lines[2].text, "     light ->      1 Dot(s)");

  ASSERT_TRUE(RemoveUsageColor(palette, lines, 1));  // "light blue", not "light"
  EXPECT_EQ(palette.GetName(1), "light");
  EXPECT_EQ(Indices(lines), (std::vector<int32_t>{0, 1}));

  EXPECT_FALSE(RemoveUsageColor(palette, lines, 2));  // no such line
  ASSERT_TRUE(RemoveUsageColor(palette, lines, 0));
  // The last color stays: a picture needs a palette to map onto.
  EXPECT_FALSE(MayRemoveColor(palette));
  EXPECT_FALSE(RemoveUsageColor(palette, lines, 0));
  EXPECT_EQ(palette.Count(), 1);
  EXPECT_EQ(lines.size(), 1u);
}

TEST(ColorUsageReportIndex, ALineWhoseEntryIsGoneRemovesNothing) {
  UsageFixture fixture(
      {{"a", MakeColor(1, 1, 1)}, {"b", MakeColor(2, 2, 2)}, {"c", MakeColor(3, 3, 3)}}, {1, 1, 1});
  std::vector<UsageLine> lines = fixture.Report();
  fixture.compo.Palette().Delete(2);
  EXPECT_FALSE(RemoveUsageColor(fixture.compo.Palette(), lines, 2));
  EXPECT_EQ(fixture.compo.Palette().Count(), 2);
  EXPECT_EQ(lines.size(), 3u);
}
