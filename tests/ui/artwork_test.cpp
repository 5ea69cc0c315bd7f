// The drawn artwork: every toolbar button finds its glyph at both scales, the design
// editor's cursor numbers are registered, and the spin button's halves signal.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QToolButton>

#include "app/ui/glyphs.h"
#include "app/ui/spin_button.h"

namespace {

// How many pixels of an image are not fully transparent.
int PaintedPixels(const QImage& image) {
  int painted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) != 0;
  return painted;
}

TEST(ToolbarGlyph, EveryButtonHasAPaintedGlyphAtBothScales) {
  for (const char* name :
       {"BtnOpen", "BtnSave", "BtnNewWin", "BtnCharTbl", "BtnColorTable", "BtnLoadColors",
        "BtnColorSearch", "BtnDesign", "BtnExit", "BtnPref", "BtnImport", "BtnViewStitch",
        "BtnFileViewer", "BtnFlossReport", "BtnPrint", "BtnNotes"}) {
    QIcon icon = ToolbarGlyph(name);
    ASSERT_FALSE(icon.isNull()) << name;
    QPixmap normal = icon.pixmap(QSize(24, 24), 1.0);
    QPixmap sharp = icon.pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(normal.size(), QSize(24, 24)) << name;
    EXPECT_EQ(sharp.size(), QSize(48, 48)) << name;
    EXPECT_GT(PaintedPixels(normal.toImage()), 24 * 24 / 4) << name;
  }
  EXPECT_TRUE(ToolbarGlyph("BtnNothing").isNull());
}

TEST(AppCursor, DesignToolsHaveTheirOwnCursorsAndOthersTheArrow) {
  LoadAppCursors();
  for (int number = kCursorCircle; number <= kCursorSquare; ++number) {
    QCursor cursor = AppCursor(number);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << number;
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << number;
    EXPECT_TRUE(QRect(0, 0, 32, 32).contains(cursor.hotSpot())) << number;
    // The hot spot sits on the drawing where the tool acts (a crosshair leaves its very
    // centre open so the target pixel shows).
    QImage near =
        cursor.pixmap().toImage().copy(QRect(cursor.hotSpot() - QPoint(3, 3), QSize(7, 7)));
    EXPECT_GT(PaintedPixels(near), 0) << number;
  }
  EXPECT_EQ(AppCursor(4).shape(), Qt::ArrowCursor);
  EXPECT_EQ(AppCursor(11).shape(), Qt::ArrowCursor);
}

TEST(AppLogo, LogoAndIconSizes) {
  QPixmap logo = LogoPixmap();
  EXPECT_EQ(logo.deviceIndependentSize().toSize(), QSize(118, 42));
  EXPECT_GT(PaintedPixels(logo.toImage()), 500);
  EXPECT_FALSE(AppIcon().isNull());
  EXPECT_EQ(AppIcon().pixmap(48, 48).size(), QSize(48, 48));
}

TEST(SpinButton, HalvesSignalOnlyWhileEnabled) {
  SpinButton spin;
  QSignalSpy ups(&spin, &SpinButton::Up);
  QSignalSpy downs(&spin, &SpinButton::Down);
  spin.UpButton()->click();
  spin.DownButton()->click();
  spin.DownButton()->click();
  EXPECT_EQ(ups.count(), 1);
  EXPECT_EQ(downs.count(), 2);
  spin.setEnabled(false);
  spin.UpButton()->click();
  EXPECT_EQ(ups.count(), 1);
}

}  // namespace
