// The stitch pattern window on a 400 by 400 photograph mapped to 40 floss, cell 18, in a
// 1920 by 1080 view: the first paint after the symbol caches were emptied, a full repaint,
// a one-screen scroll step and the opening of the window, each against the same frame
// painted the plain way (every symbol rendered afresh, the linear nearest-colour search per
// cell); then the whole `puntel-cli grid` process against writing the same PNG in the
// process at Qt's default compression.
//
// Targets: repaint and scroll step <= 8 ms, opening <= 100 ms, puntel-cli grid <= 1.5 s.

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "bench/offscreen_session.h"
#include "bench/photograph_picture.h"
#include "composition/composition.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/draw/symbol_drawing.h"
#include "pattern/ui/grid_form.h"
#include "pattern/ui/pattern_grid_widget.h"

namespace {

constexpr uint16_t kSide = 400;
constexpr int kColors = 40, kEdge = 18, kRuns = 15;
const QSize kView(1920, 1080);

double Milliseconds(const std::function<void()>& body) {
  QElapsedTimer timer;
  timer.start();
  body();
  return double(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The frame at `offset` the plain way: the grid lines as the pattern draws them, every cell
// searched linearly and its symbol rendered afresh.
void PaintPlainFrame(QImage& frame, QPoint offset, const TpunCompo& compo, SymbolDrawing& symbols,
                     const std::vector<TColor>& colors, QColor button) {
  QPainter painter(&frame);
  painter.fillRect(frame.rect(), Qt::white);
  painter.translate(-offset);
  const QRect cells = CellsIn(QRect(offset, frame.size()), kSide, kSide, kEdge);
  const TPicture& picture = compo.SourcePicture();
  for (int row = cells.top(); row <= cells.bottom(); ++row)
    for (int col = cells.left(); col <= cells.right(); ++col) {
      const TColor pixel = PixelAt(picture.Data(), PixelOffset(kSide, kSide, col, row));
      const int32_t k = LinearNearest(colors, pixel);
      if (compo.TransparencyOn() && k == compo.TransparentColor()) {
        painter.fillRect(col * kEdge, row * kEdge, kEdge, kEdge, button);
      } else if (const auto symbol =
                     ::SymbolOfColor(uint32_t(k), uint32_t(symbols.SymbolCount()), colors.size())) {
        painter.drawImage(col * kEdge, row * kEdge,
                          symbols.RenderUncached(int32_t(*symbol), kEdge));
      }
    }
}

struct Figures {
  double first = 0, repaint = 0, scroll = 0;
};

void Report(const char* what, double fast, double plain, double target) {
  std::printf("  %-34s %8.2f ms   plain %9.2f ms   %6.1fx faster   target <= %.0f ms %s\n", what,
              fast, plain, plain / fast, target, fast <= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const OffscreenSession session;
  if (!session.Valid()) return 1;
  const QTemporaryDir& folder = session.Folder();
  QApplication app(argc, argv);

  TMainForm frame;
  frame.resize(2400, 1500);
  frame.show();
  TMDIChild* document = frame.CreateDocument();
  if (!document) return 1;
  frame.AddChild(document);
  TpunCompo& compo = *document->Composition;
  compo.SetPicture(TPicture(kSide, kSide, MakePhotographPicture(kSide, kSide, 20261211)));
  TpunPal& palette = compo.Palette();
  palette.Clear();
  std::vector<TColor> colors;
  for (int i = 0; i < kColors; ++i) {
    const int32_t entry = int32_t(int64_t(i) * frame.MainPalette.Count() / kColors);
    palette.AddClr(frame.MainPalette.GetClr(entry), frame.MainPalette.GetName(entry));
    colors.push_back(frame.MainPalette.GetClr(entry));
  }
  SymbolDrawing& symbols = frame.Symbols;
  std::printf("stitch pattern: %d x %d stitches, %d colours, %d symbols, cell %d, view %d x %d\n",
              kSide, kSide, kColors, symbols.SymbolCount(), kEdge, kView.width(), kView.height());

  // Opening: the command until the window's first paint is over.
  bool painted = false;
  TGridForm* grid = nullptr;
  const double open_ms = Milliseconds([&] {
    document->Stitchpattern1Click();
    grid = qobject_cast<TGridForm*>(document->GridWindow.data());
    if (!grid) return;
    QObject::connect(grid->DrawGrid1, &PatternGridWidget::painted, [&] { painted = true; });
    while (!painted) QCoreApplication::processEvents();
  });
  if (!grid) return 1;
  auto* sub = qobject_cast<QWidget*>(grid->parentWidget());
  QWidget* viewport = grid->ScrollBox->viewport();
  sub->resize(sub->size() + kView - viewport->size());
  QCoreApplication::processEvents();
  std::printf("  view %d x %d\n", viewport->width(), viewport->height());

  // The window: first paint after the caches were emptied, repaints, one-screen steps. The
  // grid paints what the view shows into an image the size of the view, as into its
  // backing store.
  QScrollBar* vertical = grid->ScrollBox->verticalScrollBar();
  QImage shown(kView, QImage::Format_RGB32);
  int paints = 0;
  QObject::connect(grid->DrawGrid1, &PatternGridWidget::painted, [&] { ++paints; });
  auto paint_view = [&] {
    const QRect visible = grid->DrawGrid1->visibleRegion().boundingRect();
    grid->DrawGrid1->render(&shown, QPoint(), QRegion(visible));
  };
  Figures window;
  symbols.ResetFontCache();
  window.first = Milliseconds(paint_view);
  std::vector<double> repaints, scrolls;
  for (int run = 0; run < kRuns; ++run) repaints.push_back(Milliseconds(paint_view));
  for (int run = 0; run < kRuns; ++run) {
    const int next = (vertical->value() + vertical->pageStep()) % vertical->maximum();
    scrolls.push_back(Milliseconds([&] {
      vertical->setValue(next);
      paint_view();
    }));
  }
  if (paints != 1 + 2 * kRuns) std::printf("  (%d paints instead of %d)\n", paints, 1 + 2 * kRuns);
  window.repaint = Median(repaints);
  window.scroll = Median(scrolls);

  // The same frames the plain way, and the pattern's frame for the pixel check.
  const QColor button = grid->DrawGrid1->palette().color(QPalette::Button);
  QImage plain(kView, QImage::Format_RGB32), fast(kView, QImage::Format_RGB32);
  std::vector<double> plains;
  for (int run = 0; run < 3; ++run) {
    const QPoint offset(0, run * kView.height());
    plains.push_back(
        Milliseconds([&] { PaintPlainFrame(plain, offset, compo, symbols, colors, button); }));
  }
  {
    QPainter painter(&fast);
    painter.fillRect(fast.rect(), Qt::white);
    painter.translate(0, -2 * kView.height());
    StitchPattern(compo, symbols, kEdge, button)
        .Paint(painter, CellsIn(QRect(QPoint(0, 2 * kView.height()), kView), kSide, kSide, kEdge));
  }
  // Only the cells are compared: the plain frame has no lines.
  int differing = 0;
  for (int row = 0; row * kEdge < kView.height(); ++row)
    for (int col = 0; col * kEdge < kView.width(); ++col)
      for (int y = 1; y < kEdge && row * kEdge + y < kView.height(); ++y)
        for (int x = 1; x < kEdge && col * kEdge + x < kView.width(); ++x)
          differing += fast.pixel(col * kEdge + x, row * kEdge + y) !=
                       plain.pixel(col * kEdge + x, row * kEdge + y);
  const double plain_ms = Median(plains);
  std::printf("  first paint after a cache reset     %8.2f ms\n", window.first);
  Report("full repaint", window.repaint, plain_ms, 8);
  Report("one-screen scroll step", window.scroll, plain_ms, 8);
  Report("opening the window", open_ms, plain_ms, 100);
  std::printf("  cell pixels differing from the plain frame: %d\n", differing);

  // The whole command, against the same PNG written here at Qt's default compression.
  const std::string dmc = folder.filePath("photograph.dmc").toStdString();
  const std::string png = folder.filePath("grid.png").toStdString();
  compo.SaveToFile(dmc);
  const std::string command = std::string(PUNTEL_CLI) + " grid '" + dmc + "' '" + png + "'";
  int status = 0;
  const double cli_ms = Milliseconds([&] { status = std::system(command.c_str()); });
  const double default_png_ms = Milliseconds([&] {
    QImage whole(PatternSize(kSide, kSide, kEdge), QImage::Format_RGB32);
    QPainter painter(&whole);
    StitchPattern(compo, symbols, kEdge, button).PaintAll(painter);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    whole.save(&buffer, "PNG");
  });
  std::printf(
      "  puntel-cli grid, whole process      %8.1f ms   in-process, default PNG %8.1f ms"
      "   %5.2fx   target <= 1500 ms %s%s\n",
      cli_ms, default_png_ms, default_png_ms / cli_ms, cli_ms <= 1500 ? "met" : "MISSED",
      status == 0 ? "" : "   (the command failed)");
  return 0;
}
