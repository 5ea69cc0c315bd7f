#include "pattern/design_geometry.h"

#include <gtest/gtest.h>

TEST(DesignGeometry, TwoByOneAtThreeIsNineByFiveWithItsLinesAndCells) {
  const ChartGeometry chart{2, 1, 3};
  EXPECT_EQ(chart.Width(), 9);
  EXPECT_EQ(chart.Height(), 5);
  EXPECT_EQ(chart.LineX(0), 0);
  EXPECT_EQ(chart.LineX(1), 4);
  EXPECT_EQ(chart.LineX(2), 8);
  EXPECT_EQ(chart.LineY(1), 4);
  // Lines stop before their end point: the bottom-right pixel (8, 4) is no line's.
  EXPECT_EQ(chart.VerticalLineLength(), 4);
  EXPECT_EQ(chart.HorizontalLineLength(), 8);
  EXPECT_EQ(chart.Cell(0, 0).left, 1);
  EXPECT_EQ(chart.Cell(1, 0).left, 5);
  EXPECT_EQ(chart.Cell(1, 0).top, 1);
  EXPECT_EQ(chart.Cell(1, 0).edge, 3);
}

TEST(DesignGeometry, SizeLimitBySideAndByPixels) {
  EXPECT_FALSE((ChartGeometry{400, 400, 10}.TooLarge()));
  EXPECT_NO_THROW((ChartGeometry{400, 400, 10}.Check()));
  // 400 x 400 at 50: 20401 a side, over 400 million pixels.
  EXPECT_TRUE((ChartGeometry{400, 400, 50}.TooLarge()));
  // One row: narrow in pixels, but a side over 32767.
  EXPECT_FALSE((ChartGeometry{3276, 1, 9}.TooLarge()));  // 32761 wide
  EXPECT_TRUE((ChartGeometry{3277, 1, 9}.TooLarge()));   // 32771 wide
  try {
    ChartGeometry{65535, 65535, 50}.Check();
    FAIL();
  } catch (const EDesignTooLarge& error) {
    EXPECT_EQ(error.Message(), "Design too large for this cell size !");
  }
}

TEST(DesignGeometry, LegendOfTheExampleWidenedToItsLastEntry) {
  const LegendGeometry legend = LegendLayout(400, 13, 7, 9);
  EXPECT_EQ(legend.n, 82);
  EXPECT_EQ(legend.e, 100);
  EXPECT_EQ(legend.q, 4);
  EXPECT_EQ(legend.m, 0);
  EXPECT_EQ(legend.r, 3);
  EXPECT_EQ(legend.height, 59);
  EXPECT_EQ(legend.Step(), 105);
  EXPECT_EQ(legend.Entry(3).x, 315);
  EXPECT_EQ(legend.Entry(3).y, 5);
  EXPECT_EQ(legend.Entry(4).x, 0);
  EXPECT_EQ(legend.Entry(8).y, 41);
  EXPECT_EQ(legend.NameX(315), 333);
  // The fourth entry ends at 415: the image widens, counts and positions stay.
  EXPECT_EQ(legend.width, 415);
  // Two entries fit the 400 pixels as they are.
  EXPECT_EQ(LegendLayout(400, 13, 7, 2).width, 400);
}

TEST(DesignGeometry, LegendOfAFontTooWideForOneEntryHasOneARow) {
  const LegendGeometry legend = LegendLayout(400, 40, 50, 3);  // e = 600
  EXPECT_EQ(legend.q, 1);
  EXPECT_EQ(legend.r, 3);
  EXPECT_EQ(legend.m, 0);
  EXPECT_EQ(legend.width, 600);
  EXPECT_EQ(legend.Entry(2).y, 5 + 2 * 45);
  EXPECT_EQ(legend.height, 45 * 3 + 5);
  EXPECT_FALSE(legend.TooLarge());
  EXPECT_TRUE(LegendLayout(400, 700, 400, 454).TooLarge());  // a 500-point font
}

TEST(DesignGeometry, LegendMarginsAndEmptyPalette) {
  EXPECT_EQ(LegendImageWidth(9), 400);
  EXPECT_EQ(LegendImageWidth(4401), 4401);
  const LegendGeometry centred = LegendLayout(450, 13, 7, 4);
  EXPECT_EQ(centred.m, 25);
  EXPECT_EQ(centred.width, 450);  // 25 + 315 + 100 = 440
  const LegendGeometry empty = LegendLayout(400, 13, 7, 0);
  EXPECT_EQ(empty.r, 0);
  EXPECT_EQ(empty.height, 5);
  EXPECT_EQ(empty.width, 400);
}
