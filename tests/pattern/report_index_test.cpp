#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "composition/composition.h"
#include "pattern/report_lines.h"

namespace {

std::vector<int32_t> Indices(const std::vector<UsageLine>& lines) {
  std::vector<int32_t> indices;
  for (const UsageLine& line : lines) indices.push_back(line.index);
  return indices;
}

}  // namespace

TEST(ColorUsageReportIndex, RemovalDeletesTheLinesOwnEntryAndShiftsTheLaterOnes) {
  // Duplicate names and a name with a blank: a line's first word would find another entry.
  TpunCompo compo;
  TpunPal& palette = compo.Palette();
  palette.AddClr(MakeColor(255, 255, 255), "blanc");
  palette.AddClr(MakeColor(100, 100, 250), "light blue");
  palette.AddClr(MakeColor(250, 250, 240), "blanc");
  palette.AddClr(MakeColor(10, 200, 10), "light");
  PictureBlock block(PictureBytes(1, 1), 0);
  PutPixelAt(block.data(), 0, MakeColor(10, 200, 10));
  compo.SetPicture(TPicture(1, 1, std::move(block)));
  std::vector<UsageLine> lines = ColorUsageReport(compo, palette, nullptr);
  const std::vector<std::string> texts = ColorUsageLines(compo, palette);
  ASSERT_EQ(lines.size(), texts.size());
  for (size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k].text, texts[k]);
  EXPECT_EQ(Indices(lines), (std::vector<int32_t>{0, 1, 2, 3}));

  ASSERT_TRUE(RemoveUsageColor(palette, lines, 2));  // the second "blanc"
  EXPECT_EQ(palette.GetClr(0), MakeColor(255, 255, 255));
  EXPECT_EQ(Indices(lines), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(lines[2].text, "     light ->      1 Dot(s)");
  ASSERT_TRUE(RemoveUsageColor(palette, lines, 1));  // "light blue", not "light"
  EXPECT_EQ(palette.GetName(1), "light");
  EXPECT_FALSE(RemoveUsageColor(palette, lines, 2));  // no such line
  // A line whose entry went another way removes nothing.
  palette.Delete(1);
  EXPECT_FALSE(RemoveUsageColor(palette, lines, 1));
  // The last color stays: a picture needs a palette to map onto.
  EXPECT_FALSE(MayRemoveColor(palette));
  EXPECT_FALSE(RemoveUsageColor(palette, lines, 0));
  EXPECT_EQ(palette.Count(), 1);
  EXPECT_EQ(lines.size(), 2u);
  TpunPal empty;
  EXPECT_TRUE(ColorUsageReport(compo, empty, nullptr).empty());
}
