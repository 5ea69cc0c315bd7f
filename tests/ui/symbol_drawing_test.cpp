// The symbols as every window draws them: fitted, centred, one size per font and edge.
#include <gtest/gtest.h>

#include <QImage>

#include "pattern/draw/symbol_drawing.h"

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
  // The second character of the font takes the size fitted with the first.
  EXPECT_EQ(symbols.FittedSize(1, 20), symbols.FittedSize(0, 20));
  // Another edge fits its own size, and an edge too small to fit anything still ends.
  EXPECT_LT(symbols.FittedSize(0, 12), symbols.FittedSize(0, 20));
  EXPECT_EQ(symbols.FittedSize(0, 4), SymbolDrawing::kSmallestSize);
  EXPECT_TRUE(InkOf(symbols.RenderSymbol(2, 20)).isEmpty());
}

}  // namespace
