#include "pattern/page_plan.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace {

PagePlanOptions On(PaperSize size, double cell_mm = 3.0, int overlap = 2, bool landscape = false) {
  return {PaperOf(size), landscape, cell_mm, overlap};
}

std::pair<int32_t, int32_t> Stitches(const PagePlanOptions& options) {
  const PagePlan plan(1000, 1000, options);
  return {plan.StitchesAcross(), plan.StitchesDown()};
}

using Pair = std::pair<int32_t, int32_t>;

}  // namespace

TEST(PagePlan, StitchesPerPageByPaperCellAndOverlap) {
  EXPECT_EQ(Stitches(PagePlanOptions{}), Pair(50, 80));                // 61 x 86 cells
  EXPECT_EQ(Stitches(On(PaperSize::A4, 3.0, 0)), Pair(60, 80));        // 61 - 0, 86 - 0
  EXPECT_EQ(Stitches(On(PaperSize::A4, 3.0, 5)), Pair(50, 80));        // 56, 81
  EXPECT_EQ(Stitches(On(PaperSize::A4, 2.0)), Pair(90, 120));          // 92 x 129 cells
  EXPECT_EQ(Stitches(On(PaperSize::Letter)), Pair(60, 70));            // 63 x 80 cells
  EXPECT_EQ(Stitches(On(PaperSize::A3)), Pair(80, 120));               // 90 x 127 cells
  EXPECT_EQ(Stitches(On(PaperSize::A4, 3.0, 2, true)), Pair(80, 50));  // 90 x 57 cells
  const PagePlan landscape(400, 400, On(PaperSize::A4, 3.0, 2, true));
  EXPECT_DOUBLE_EQ(landscape.PageWidth(), 297.0);
  EXPECT_EQ(landscape.PageCount(), 5 * 8);
  const PagePlan plan(400, 400, PagePlanOptions{});
  EXPECT_EQ(plan.PageCount(), 8 * 5);
  EXPECT_DOUBLE_EQ(plan.ChartOrigin().x, 16.0);
  EXPECT_DOUBLE_EQ(plan.ChartOrigin().y, 28.0);
}

TEST(PagePlan, EveryChoiceGivesTheMostTensThatFitBesideTheRepeat) {
  for (PaperSize size : {PaperSize::A4, PaperSize::Letter, PaperSize::A3})
    for (bool landscape : {false, true})
      for (int tenth = 20; tenth <= 80; ++tenth)
        for (int overlap = 0; overlap <= kMaxOverlap; ++overlap) {
          const double cell = tenth / 10.0;
          const PagePlan plan(1000, 1000, On(size, cell, overlap, landscape));
          SCOPED_TRACE(testing::Message() << cell << " mm, overlap " << overlap);
          for (auto [own, space] : {std::pair(plan.StitchesAcross(), plan.PageWidth() - 26.0),
                                    std::pair(plan.StitchesDown(), plan.PageHeight() - 38.0)}) {
            EXPECT_EQ(own % 10, 0);
            EXPECT_LE((own + overlap) * cell, space + 1e-6);
            EXPECT_GT((own + 10 + overlap) * cell, space + 1e-6);
          }
        }
}

TEST(PagePlan, FewerThanTenKeepEveryStitchThatFits) {
  PagePlanOptions card = On(PaperSize::A4, 8.0, 2);
  card.paper = {60.0, 80.0};  // 34 mm across: 4 cells; 42 mm down: 5 cells
  const PagePlan plan(7, 7, card);
  EXPECT_EQ(Pair(plan.StitchesAcross(), plan.StitchesDown()), Pair(2, 3));
  EXPECT_EQ(Pair(plan.PagesAcross(), plan.PagesDown()), Pair(4, 3));
  // An overlap wider than a page's own stitches reaches back over two neighbours.
  card.overlap = 3;
  EXPECT_EQ(PagePlan(7, 7, card).Page(2).shown_columns, (StitchRange{0, 3}));
}

TEST(PagePlan, BadOptionsAreRefusedWithAMessage) {
  auto message = [](int32_t width, PagePlanOptions options, Paper paper = PaperOf(PaperSize::A4)) {
    options.paper = paper;
    try {
      PagePlan(width, 10, options);
    } catch (const EPagePlanError& error) {
      return error.Message();
    }
    return std::string();
  };
  const std::string cell = "The cell size must be 2.0 to 8.0 mm";
  EXPECT_EQ(message(10, On(PaperSize::A4, 1.9)), cell);
  EXPECT_EQ(message(10, On(PaperSize::A4, 8.1)), cell);
  EXPECT_EQ(message(10, On(PaperSize::A4, std::numeric_limits<double>::quiet_NaN())), cell);
  EXPECT_EQ(message(10, On(PaperSize::A4, 3.0, 6)), "The overlap must be 0 to 5 stitches");
  EXPECT_EQ(message(10, On(PaperSize::A4, 3.0, -1)), "The overlap must be 0 to 5 stitches");
  EXPECT_EQ(message(0, On(PaperSize::A4)), "The design has no stitches to print");
  const std::string small = "The paper is too small for this cell size and overlap";
  EXPECT_EQ(message(10, On(PaperSize::A4, 8.0), {40.0, 60.0}), small);  // one cell across
  EXPECT_EQ(message(10, On(PaperSize::A4, 8.0), {20.0, 300.0}), small);
  EXPECT_EQ(message(10, On(PaperSize::A4), {0.0, 297.0}), "The paper size is out of range");
  EXPECT_EQ(message(10, On(PaperSize::A4), {210.0, 1e12}), "The paper size is out of range");
  EXPECT_EQ(message(INT32_MAX, On(PaperSize::A4, 8.0), {60.0, 80.0}),  // 2 across, 3 down
            "The design needs too many pages");
  const PagePlan plan(10, 10, On(PaperSize::A4));
  EXPECT_THROW(plan.Page(1), EListError);
  EXPECT_THROW(plan.PageOf(10, 0), EListError);
}

TEST(PagePlan, PagesGoRowByRowAndShowTheirNeighboursLastStitchesFirst) {
  const PagePlan plan(120, 170, PagePlanOptions{});  // 3 x 3 pages of 50 x 80
  const ChartPage second = plan.Page(1), last = plan.Page(8);
  EXPECT_EQ(Pair(second.map_column, second.map_row), Pair(1, 0));
  EXPECT_EQ(second.columns, (StitchRange{50, 100}));
  EXPECT_EQ(second.shown_columns, (StitchRange{48, 100}));
  EXPECT_EQ(second.shown_rows, (StitchRange{0, 80}));
  EXPECT_EQ(second.RangeText(), "Columns 51\u2013100, rows 1\u201380");
  EXPECT_EQ(last.RangeText(), "Columns 101\u2013120, rows 161\u2013170");
  EXPECT_EQ(last.shown_rows, (StitchRange{158, 170}));
  EXPECT_TRUE(second.IsRepeat(49, 0));
  EXPECT_TRUE(last.IsRepeat(110, 159));
  EXPECT_FALSE(second.IsRepeat(50, 79));
  EXPECT_FALSE(second.IsRepeat(47, 0));  // not shown at all
  EXPECT_EQ(plan.PageOf(49, 80), 3);

  EXPECT_DOUBLE_EQ(plan.Cell(second, 48, 0)->x, 16.0);
  EXPECT_DOUBLE_EQ(plan.Cell(second, 50, 1)->x, 22.0);
  EXPECT_DOUBLE_EQ(plan.Cell(second, 50, 1)->y, 31.0);
  EXPECT_DOUBLE_EQ(plan.Cell(last, 100, 160)->y, 34.0);
  EXPECT_FALSE(plan.Cell(second, 47, 0).has_value());
  EXPECT_FALSE(plan.Cell(second, 50, 80).has_value());
}

TEST(PagePlan, NumbersAtEveryTenthLineAndCentreMarkersWhereTheyFall) {
  const PagePlan plan(120, 170, PagePlanOptions{});  // centre line 60, row 85
  const std::vector<ChartNumber> columns = plan.ColumnNumbers(plan.Page(1));  // shows 48..100
  ASSERT_EQ(columns.size(), 6u);
  EXPECT_EQ(columns.front().value, 50);
  EXPECT_DOUBLE_EQ(columns.front().at.x, 22.0);
  EXPECT_DOUBLE_EQ(columns.front().at.y, 25.0);
  EXPECT_EQ(columns.back().value, 100);
  const std::vector<ChartNumber> rows = plan.RowNumbers(plan.Page(3));  // shows 78..160
  EXPECT_EQ(rows.size(), 9u);
  EXPECT_DOUBLE_EQ(rows.front().at.x, 13.0);
  EXPECT_DOUBLE_EQ(rows.front().at.y, 34.0);
  EXPECT_EQ(plan.RowNumbers(plan.Page(0)).front().value, 10);
  EXPECT_EQ(plan.RowNumbers(plan.Page(8)).back().value, 170);

  EXPECT_FALSE(plan.CentreColumnX(plan.Page(0)).has_value());
  EXPECT_DOUBLE_EQ(plan.CentreColumnX(plan.Page(1)).value(), 16.0 + 12 * 3.0);
  EXPECT_FALSE(plan.CentreRowY(plan.Page(1)).has_value());
  EXPECT_DOUBLE_EQ(plan.CentreRowY(plan.Page(4)).value(), 28.0 + 7 * 3.0);
  // A centre on the line between two pages shows on both.
  const PagePlan even(100, 10, PagePlanOptions{});
  EXPECT_DOUBLE_EQ(even.CentreColumnX(even.Page(0)).value(), 16.0 + 50 * 3.0);
  EXPECT_DOUBLE_EQ(even.CentreColumnX(even.Page(1)).value(), 16.0 + 2 * 3.0);
}

TEST(PagePlan, ADesignSmallerThanOnePageHasOnePageWithoutRepeats) {
  const PagePlan plan(30, 21, On(PaperSize::Letter, 4.5, 3));
  ASSERT_EQ(plan.PageCount(), 1);
  const ChartPage page = plan.Page(0);
  EXPECT_EQ(page.shown_columns, (StitchRange{0, 30}));
  EXPECT_EQ(page.shown_rows, (StitchRange{0, 21}));
  EXPECT_EQ(plan.ColumnNumbers(page).size(), 3u);
  EXPECT_DOUBLE_EQ(plan.Cell(page, 29, 20)->x, 16.0 + 29 * 4.5);
  // An odd height: the middle of row 11.
  EXPECT_DOUBLE_EQ(plan.CentreRowY(page).value(), 28.0 + 10.5 * 4.5);
}

TEST(PagePlan, PageCountLineAndPageNumbers) {
  const DocumentPages all;
  EXPECT_EQ(PageCountLine(all, 6), "14 pages: cover, key, 2 \u00d7 6 chart pages");
  EXPECT_EQ(ChartPageNumber(all, 6, false, 0), 3);
  EXPECT_EQ(ChartPageNumber(all, 6, true, 5), 14);
  const DocumentPages long_key{true, true, 3, false, true};
  EXPECT_EQ(PageCountLine(long_key, 6), "10 pages: cover, 3 key pages, 6 chart pages");
  EXPECT_EQ(ChartPageNumber(long_key, 6, true, 0), 5);
  EXPECT_EQ(PageCountLine({false, false, 4, true, false}, 1), "1 page: 1 chart page");
  EXPECT_EQ(PageCountLine({false, false, 1, false, false}, 6), "0 pages");
  // A key is at least one page, even before its layout is known.
  EXPECT_EQ(PageCountLine({false, true, 0, false, false}, 6), "1 page: key");
}
