// The symbols as every window draws them: fitted, centred, one size per font and edge.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "pattern/draw/symbol_drawing.h"
#include "pattern/symbol_character.h"
#include "tests/ui/ui_support.h"

namespace {

// The bounding box of the non-white pixels.
QRect InkOf(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST(SymbolDrawing, AFittedSymbolIsCentredInsideItsCell) {
  SymbolTable table({"DejaVu Sans,72", "DejaVu Sans,46"});
  SymbolDrawing symbols(table);
  const QImage cell = symbols.RenderSymbol(0, 20);
  ASSERT_EQ(cell.size(), QSize(20, 20));
  const QRect ink = InkOf(cell);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_LE(ink.width(), 16);
  EXPECT_LE(ink.height(), 16);
  EXPECT_NEAR(ink.center().x(), 9.5, 2.5);
  EXPECT_NEAR(ink.center().y(), 9.5, 2.5);
  // At twice the device resolution: the same size, twice the pixels.
  const QRect sharp = InkOf(symbols.RenderSymbol(0, 20, 2.0));
  EXPECT_NEAR(sharp.width(), 2 * ink.width(), 3);
  EXPECT_NEAR(sharp.center().y(), 2 * ink.center().y(), 3);
  // The second character of the font takes the size fitted with the first.
  EXPECT_EQ(symbols.FittedSize(1, 20), symbols.FittedSize(0, 20));
  // Another edge fits its own size, and an edge too small to fit anything still ends.
  EXPECT_LT(symbols.FittedSize(0, 18), symbols.FittedSize(0, 20));
  EXPECT_LT(symbols.FittedSize(0, 12), symbols.FittedSize(0, 18));
  EXPECT_EQ(symbols.FittedSize(0, 4), SymbolDrawing::kSmallestSize);
  EXPECT_EQ(symbols.RenderSymbol(0, 4).size(), QSize(4, 4));
  EXPECT_EQ(symbols.RenderSymbol(0, 0).size(), QSize(0, 0));
  EXPECT_TRUE(AllWhite(symbols.RenderSymbol(2, 20)));
}

TEST(SymbolDrawing, MissingFontsAndBytesDrawTheirStandIns) {
  SymbolTable table({"wingdings,108", "DejaVu Sans,149", "Wingdings,36", "Wingdings,37", "ARIAL,65",
                     "dejavu sans,129", "Symbol,-159"});
  SymbolDrawing symbols(table);
  const SymbolFace circle = symbols.FaceOf(0);
  EXPECT_EQ(circle.family, "DejaVu Sans");
  EXPECT_TRUE(circle.substituted);
  EXPECT_EQ(circle.character, U'\u25CF');
  const QRect ink = InkOf(symbols.RenderSymbol(0, 20));
  EXPECT_NEAR(ink.width(), ink.height(), 1);
  EXPECT_EQ(symbols.FaceOf(1).character, U'\u2022');
  EXPECT_FALSE(symbols.FaceOf(1).substituted);
  // Bytes without a shape draw their value, so that no two look alike.
  EXPECT_TRUE(symbols.FaceOf(2).digits);
  EXPECT_FALSE(AllWhite(symbols.RenderSymbol(2, 20)));
  EXPECT_NE(symbols.RenderSymbol(2, 20), symbols.RenderSymbol(3, 20));
  EXPECT_EQ(symbols.FaceOf(4).family, "Liberation Sans");
  EXPECT_EQ(symbols.FaceOf(5).family, "DejaVu Sans");
  EXPECT_FALSE(symbols.FaceOf(5).substituted);
  EXPECT_TRUE(AllWhite(symbols.RenderSymbol(5, 20)));  // undefined in the code page
  EXPECT_EQ(symbols.FaceOf(6).character, U'\u03B1');
  const auto missing = symbols.MissingFonts();
  ASSERT_EQ(missing.size(), 4u);
  EXPECT_EQ(missing[0], std::make_pair(std::string("wingdings"), QString("DejaVu Sans")));
  EXPECT_EQ(missing[2], std::make_pair(std::string("ARIAL"), QString("Liberation Sans")));
}

TEST(SymbolDrawing, EveryShapeOfTheStandInTablesIsInDejaVuSans) {
  QFont font("DejaVu Sans");
  font.setStyleStrategy(QFont::NoFontMerging);
  const QFontMetrics metrics(font);
  for (int byte = 33; byte < 256; ++byte) {
    for (char32_t character :
         {WingdingsCharacter(uint8_t(byte)), SymbolFontCharacter(uint8_t(byte))})
      if (character) EXPECT_TRUE(metrics.inFontUcs4(uint(character))) << byte;
  }
}

TEST(SymbolDrawing, ABadEntryIsNamedOnceAndDrawsBlank) {
  SymbolTable table({"DejaVu Sans,65", "DejaVu Sans,x1", "DejaVu Sans,y2"});
  SymbolDrawing symbols(table);
  EXPECT_EQ(symbols.TableChanged(), "'x1' is not a valid integer value");
  QImage canvas = SymbolCanvas(200, 20);
  canvas.fill(Qt::black);
  QPainter painter(&canvas);
  for (int i = 0; i < 200; ++i) symbols.DrawSymbol(1 + i % 2, i, 0, 20, painter);
  painter.end();
  EXPECT_TRUE(AllWhite(canvas.copy(0, 0, 200, 20)));
  EXPECT_EQ(symbols.Whiteness(20), (std::vector<uint32_t>{symbols.Whiteness(20)[0], 400, 400}));
  EXPECT_LT(symbols.Whiteness(20)[0], 400u);
}

TEST(SymbolDrawing, ColoursWithoutASymbolDrawNothing) {
  SymbolTable table({"DejaVu Sans,65", "DejaVu Sans,66"});
  SymbolDrawing symbols(table);
  QImage canvas = SymbolCanvas(40, 20);
  canvas.fill(Qt::gray);
  const QImage before = canvas.copy();
  QPainter painter(&canvas);
  symbols.DrawColourSymbol(0, 0, 0, 20, painter, 0);
  symbols.DrawColourSymbol(2, 0, 0, 20, painter, 5);
  symbols.DrawSymbol(2, 0, 0, 20, painter);
  EXPECT_EQ(canvas, before);
  symbols.DrawColourSymbol(1, 20, 0, 20, painter, 2);
  painter.end();
  EXPECT_EQ(canvas.copy(20, 0, 20, 20), symbols.RenderUncached(1, 20));
}

TEST(SymbolDrawing, KeptSymbolsAreTheFreshPixelsThroughSortsAndResets) {
  SymbolTable table(
      {"DejaVu Sans,77", "wingdings,32", "DejaVu Sans,46", "Wingdings,36", "Liberation Serif,87"});
  SymbolDrawing symbols(table);
  auto expect_fresh = [&](const char* when) {
    for (int32_t i = 0; i < symbols.SymbolCount(); ++i)
      for (int edge : {18, 20})
        for (qreal ratio : {1.0, 2.0})
          for (bool antialiased : {true, false}) {
            const QImage kept = symbols.RenderSymbol(i, edge, ratio, antialiased);
            EXPECT_EQ(symbols.RenderSymbol(i, edge, ratio, antialiased), kept);
            EXPECT_EQ(kept, symbols.RenderUncached(i, edge, ratio, antialiased))
                << when << " " << i << " " << edge << " " << ratio << " " << antialiased;
          }
  };
  expect_fresh("first");
  // Without antialiasing, which the sort counts on, every pixel is black or white.
  const QImage plain = symbols.RenderSymbol(0, 20, 1.0, false);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const QRgb pixel = plain.pixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(pixel == 0 || pixel == 0xFFFFFF);
    }
  EXPECT_EQ(symbols.RenderSymbol(1, 20, 2.0).size(), QSize(40, 40));
  const int size = symbols.FittedSize(0, 20);
  const std::vector<uint32_t> whiteness = symbols.SortByInk(20);
  ASSERT_EQ(table.Count(), 5);
  EXPECT_EQ(table.Entry(0), "wingdings,32");
  EXPECT_EQ(table.Entry(1), "DejaVu Sans,46");
  const auto& entries = table.Entries();
  const auto m = std::find(entries.begin(), entries.end(), "DejaVu Sans,77") - entries.begin();
  EXPECT_EQ(whiteness.front(), 400u);
  EXPECT_TRUE(std::is_sorted(whiteness.rbegin(), whiteness.rend()));
  EXPECT_EQ(symbols.FittedSize(int32_t(m), 20), size);  // the sort keeps the fitted sizes
  expect_fresh("sorted");
  symbols.ResetFontCache();
  expect_fresh("reset");
}

}  // namespace
