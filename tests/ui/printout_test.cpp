// The printed pattern's pages: their order, the symbols' one size per font, what a chart
// page and the key show, and the PDF file written whole or not at all.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <regex>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "pattern/draw/page_canvas.h"
#include "pattern/draw/print_pages.h"
#include "pattern/symbol_table.h"
#include "tests/composition/picture_fixtures.h"
#include "tests/support/temp_folder.h"

namespace {

// 130 by 100 stitches in bands of six floss, one of them a blend; the table is the
// program's own.
struct PrintFixture {
  TpunCompo compo;
  SymbolTable symbols;
  std::vector<std::string> threads;
  explicit PrintFixture(uint16_t width = 130, uint16_t height = 100) {
    const std::vector<std::pair<std::string, TColor>> floss = {
        {"310", MakeColor(0, 0, 0)},         {"666", MakeColor(227, 29, 66)},
        {"310+666", MakeColor(110, 14, 33)}, {"3865", MakeColor(250, 246, 240)},
        {"797", MakeColor(19, 71, 125)},     {"704", MakeColor(158, 207, 52)}};
    for (const auto& [name, color] : floss) compo.Palette().AddClr(color, name);
    std::vector<TColor> pixels;
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) pixels.push_back(floss[(x / 7 + y / 9) % 6].second);
    fixtures::GivePixels(compo, width, height, pixels);
    compo.SetCottonSize(1);
    compo.Palette().ListThreads(threads);
    symbols.LoadFromFile("carac.tbl");
  }
  PrintedPattern Snapshot() const {
    return SnapshotPattern(compo, symbols, threads, FlossBrands::Load("./"), BrandRequest{},
                           "sampler", {});
  }
};

// Page `index` painted on an image of `dpmm` pixels a millimetre.
QImage PagePicture(const PatternPrintout& printout, int32_t index, double dpmm = 12.0) {
  QImage image(int(printout.Plan().PageWidth() * dpmm), int(printout.Plan().PageHeight() * dpmm),
               QImage::Format_RGB32);
  image.setDotsPerMeterX(int(dpmm * 1000));
  image.setDotsPerMeterY(int(dpmm * 1000));
  QPainter painter(&image);
  printout.Paint(painter, index, dpmm);
  return image;
}

int32_t PdfPages(const std::string& bytes) {
  const std::regex page("/Type\\s*/Page[^s]");
  return int32_t(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                               std::sregex_iterator()));
}

TEST(PatternPrintout, PagesComeCoverKeyThenEachChartStyle) {
  const PrintFixture fixture;
  const PrintedPattern pattern = fixture.Snapshot();
  PatternPrintout printout(pattern, {});
  ASSERT_EQ(printout.Plan().PageCount(), 6);  // 50 by 80 stitches a page: 3 by 2
  EXPECT_EQ(printout.CountLine(), "14 pages: cover, key, 2 \u00d7 6 chart pages");
  ASSERT_EQ(printout.PageCount(), 14);
  EXPECT_EQ(printout.Page(0).kind, PageKind::kCover);
  EXPECT_EQ(printout.Page(1).kind, PageKind::kKey);
  EXPECT_EQ(printout.Page(2).kind, PageKind::kBwChart);
  EXPECT_EQ(printout.Page(8).kind, PageKind::kColorChart);
  EXPECT_EQ(printout.PageWhat(1), "1 of 1");
  EXPECT_EQ(printout.PageWhat(3), "Columns 51\u2013100, rows 1\u201380");
  EXPECT_EQ(printout.PageWhat(13), "Columns 101\u2013130, rows 81\u2013100");
  EXPECT_THROW(printout.Page(14), EListError);

  PrintChoices colour_only;
  colour_only.cover = colour_only.key = colour_only.bw_chart = false;
  EXPECT_EQ(PatternPrintout(pattern, colour_only).PageCount(), 6);
  colour_only.color_chart = false;
  EXPECT_THROW(PatternPrintout(pattern, colour_only), EPagePlanError);
}

TEST(PatternPrintout, TooManyColorsIsRefusedBeforeAnything) {
  PrintFixture fixture;
  fixture.symbols.SetEntries({"DejaVu Sans,65", "DejaVu Sans,66"});
  try {
    fixture.Snapshot();
    FAIL() << "printed with too few symbols";
  } catch (const ETooManyColors& error) {
    EXPECT_EQ(error.Message(), "Too many colors !");
  }
}

TEST(PatternPrintout, EverySymbolOfAFontFitsOneSizeWithinItsCell) {
  const PrintFixture fixture;
  const PrintedPattern pattern = fixture.Snapshot();
  for (double cell_mm : {2.0, 3.0, 8.0}) {
    PrintChoices choices;
    choices.plan.cell_mm = cell_mm;
    const PatternPrintout printout(pattern, choices);
    const double room = cell_mm * 0.78 * 72 / 25.4;  // points
    double largest = 0;
    // Every character of the table, used by this pattern or not.
    for (const SymbolFace& face : pattern.table_faces) {
      if (!face.parsed || face.digits || face.character == 0) continue;
      QFont font(face.family);
      font.setPixelSize(1000);
      const QRectF ink =
          QFontMetricsF(font).tightBoundingRect(QString::fromUcs4(&face.character, 1));
      const double scale = printout.SymbolPointSize(face.family) / 1000;
      EXPECT_LE(ink.width() * scale, room * 1.001) << uint32_t(face.character);
      EXPECT_LE(ink.height() * scale, room * 1.001) << uint32_t(face.character);
      largest = std::max({largest, ink.width() * scale, ink.height() * scale});
    }
    EXPECT_GT(largest, room * 0.98) << "the size is not the largest that fits";
  }
}

TEST(PatternPrintout, ChartPagesShowFlossColoursTenthLinesAndOnlyGreysInBlackAndWhite) {
  const PrintFixture fixture;
  const PrintedPattern pattern = fixture.Snapshot();
  const PatternPrintout printout(pattern, {});
  const double dpmm = 12.0;
  const ChartPage first = printout.Plan().Page(0);
  // Just inside a cell's top-left corner: clear of its lines and of its symbol.
  auto corner = [&](const QImage& image, int32_t column, int32_t row) {
    const MmRect cell = *printout.Plan().Cell(first, column, row);
    return image.pixelColor(int((cell.x + 0.4) * dpmm), int((cell.y + 0.4) * dpmm));
  };
  const QImage colour = PagePicture(printout, printout.ChartPageNumber(true, 0) - 1, dpmm);
  for (int32_t column : {0, 13, 40})
    EXPECT_EQ(corner(colour, column, 5).rgb() & 0xFFFFFF,
              FlossColor(pattern.floss[size_t(pattern.Cell(column, 5))].color).rgb() & 0xFFFFFF);

  const QImage bw = PagePicture(printout, printout.ChartPageNumber(false, 0) - 1, dpmm);
  for (int y = 0; y < bw.height(); y += 3)
    for (int x = 0; x < bw.width(); x += 3) {
      const QColor c = bw.pixelColor(x, y);
      ASSERT_TRUE(c.red() == c.green() && c.green() == c.blue()) << x << "," << y;
    }
  // Along a row's middle: the tenth line is darker and wider than the ninth.
  auto line_profile = [&](int32_t k) {
    const int x = int(printout.Plan().LineX(first, k) * dpmm);
    const int y = int((printout.Plan().Cell(first, k, 5)->y + 0.2) * dpmm);
    int dark = 0, darkest = 255;
    for (int dx = -6; dx <= 6; ++dx) {
      const int g = qGray(bw.pixel(x + dx, y));
      dark += g < 160;
      darkest = std::min(darkest, g);
    }
    return std::pair(dark, darkest);
  };
  const auto [tenth_width, tenth_ink] = line_profile(10);
  const auto [thin_width, thin_ink] = line_profile(9);
  EXPECT_GT(tenth_width, thin_width);
  EXPECT_LT(tenth_ink, thin_ink);
}

TEST(PatternPrintout, TransparentCellsAreBlankOnBothChartsAndNotStitchedInTheKey) {
  PrintFixture fixture;
  fixture.compo.SetTransparencyOn(true);
  fixture.compo.SetTransparentColor(3);  // 3865, the fourth band
  const PrintedPattern pattern = fixture.Snapshot();
  const PatternPrintout printout(pattern, {});
  EXPECT_EQ(pattern.Cell(21, 0), PrintedPattern::kNotStitched);
  EXPECT_EQ(pattern.stitches, 130u * 100u - 2172u);  // less the 3865 cells
  EXPECT_EQ(pattern.key.total_stitches, pattern.stitches);
  EXPECT_TRUE(pattern.key.rows[3].not_stitched);
  const double dpmm = 12.0;
  const ChartPage first = printout.Plan().Page(0);
  const MmRect cell = *printout.Plan().Cell(first, 24, 0);  // mid-band: no repeat shading
  for (bool colour : {false, true}) {
    const QImage page = PagePicture(printout, printout.ChartPageNumber(colour, 0) - 1, dpmm);
    const QImage inside =
        page.copy(int((cell.x + 0.3) * dpmm), int((cell.y + 0.3) * dpmm),
                  int((cell.width - 0.6) * dpmm), int((cell.height - 0.6) * dpmm));
    for (int y = 0; y < inside.height(); ++y)
      for (int x = 0; x < inside.width(); ++x)
        ASSERT_EQ(inside.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << colour << " " << x << "," << y;
  }
}

TEST(PatternPrintout, AKeyTooLongForAPageGoesOnWithItsColumnHeads) {
  FlossKey key;
  key.rows.resize(70);
  key.to_buy.resize(40);
  const auto pages = KeyPages(key, 259.0);
  ASSERT_GE(pages.size(), 2u);
  size_t rows = 0, buys = 0;
  for (const auto& page : pages) {
    double height = 0;
    for (const KeyLine& line : page) {
      height += KeyLineHeight(line.kind);
      rows += line.kind == KeyLineKind::kKeyRow;
      buys += line.kind == KeyLineKind::kBuyRow;
    }
    EXPECT_LE(height, 259.0);
    const KeyLineKind top = page.front().kind;
    EXPECT_TRUE(top == KeyLineKind::kKeyTitle || top == KeyLineKind::kKeyHeads ||
                top == KeyLineKind::kBuyTitle || top == KeyLineKind::kBuyHeads);
  }
  EXPECT_EQ(rows, 70u);
  EXPECT_EQ(buys, 40u);
  EXPECT_EQ(pages.back().back().kind, KeyLineKind::kBuyTotals);
}

TEST(PatternPrintout, APdfIsWrittenWholeOrNotAtAll) {
  const PrintFixture fixture(60, 40);
  const PrintedPattern pattern = fixture.Snapshot();
  const PatternPrintout printout(pattern, {});
  TempFolder folder;
  const std::string path = folder.File("chart.pdf");
  CancelToken go{false};
  std::vector<int32_t> reported;
  ASSERT_TRUE(WritePdfFile(path, printout, {}, go,
                           [&](int32_t page, int32_t) { reported.push_back(page); }));
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_EQ(PdfPages(bytes), printout.PageCount());
  EXPECT_EQ(int32_t(reported.size()), printout.PageCount());

  // Cancelled, or in a folder that is not there: the file is as it was, nothing beside it.
  CancelToken stop{true};
  EXPECT_FALSE(WritePdfFile(path, printout, {}, stop));
  EXPECT_EQ(ReadFileBytes(path), bytes);
  const std::string missing = folder.File("gone/chart.pdf");
  try {
    WritePdfFile(missing, printout, {}, go);
    FAIL() << "wrote into a missing folder";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + missing);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
