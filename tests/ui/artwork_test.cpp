// The artwork: every toolbar button finds its glyph at both scales, every compiled-in
// picture loads at both sizes, the design editor's cursors aim where their tools act, and
// the spin button's halves signal.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QSignalSpy>
#include <QToolButton>

#include "app/ui/art_resources.h"
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
        "BtnFileViewer", "BtnFlossReport", "BtnPrint", "BtnNotes", "BtnResize"}) {
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

TEST(ArtResources, EveryPictureLoadsAtBothSizes) {
  LogoPixmap();  // registers the resources
  int pairs = 0, icons = 0;
  QDirIterator files(QStringLiteral(":/art"), QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QString path = files.next();
    ASSERT_TRUE(path.endsWith(".png")) << path.toStdString();
    QString name = path.mid(6, path.size() - 10);  // between ":/art/" and ".png"
    if (name.startsWith("icon/")) {
      // The program icon comes in single sizes, each square as its name says.
      int size = name.section('-', -1).toInt();
      EXPECT_EQ(ArtPixmap(name, 1).size(), QSize(size, size)) << path.toStdString();
      ++icons;
      continue;
    }
    if (name.endsWith("@2x")) continue;  // checked with its 1x partner
    QPixmap normal = ArtPixmap(name, 1), sharp = ArtPixmap(name, 2);
    ASSERT_FALSE(normal.isNull()) << path.toStdString();
    ASSERT_FALSE(sharp.isNull()) << path.toStdString();
    EXPECT_EQ(sharp.size(), normal.size() * 2) << path.toStdString();
    EXPECT_EQ(sharp.deviceIndependentSize(), normal.deviceIndependentSize()) << path.toStdString();
    ++pairs;
  }
  EXPECT_EQ(pairs, 17 + 6 + 1);  // glyphs, cursors, logo
  EXPECT_EQ(icons, 8);
  EXPECT_TRUE(ArtPixmap("toolbar/BtnNothing", 1).isNull());
  EXPECT_TRUE(ToolbarGlyph("../logo").isNull());
}

TEST(AppCursor, HotSpotsSitWhereTheToolActsAtBothSizes) {
  struct Case {
    int number;
    const char* file;
    QPoint hot;
  };
  const Case cases[] = {{kCursorCircle, "circle", {8, 8}}, {kCursorFill, "fill", {2, 29}},
                        {kCursorPen, "pen", {1, 30}},      {kCursorPickup, "pickup", {1, 30}},
                        {kCursorLine, "line", {8, 8}},     {kCursorSquare, "square", {8, 8}}};
  for (const Case& c : cases) {
    EXPECT_EQ(AppCursor(c.number).hotSpot(), c.hot) << c.file;
    for (int ratio : {1, 2}) {
      QImage image = ArtPixmap(QStringLiteral("cursors/") + c.file, ratio).toImage();
      EXPECT_EQ(image.size(), QSize(32, 32) * ratio) << c.file;
      QImage near = image.copy(QRect((c.hot - QPoint(3, 3)) * ratio, QSize(7, 7) * ratio));
      EXPECT_GT(PaintedPixels(near), 0) << c.file << " at " << ratio << "x";
    }
  }
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
