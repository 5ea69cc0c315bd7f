// The character table with 2,600 entries (ten fonts, each added whole from the picker's
// 260 cells): opening it (the table parsed, every visible cell drawn after the cache is
// emptied, target 200 ms) and its sort by ink at 20 pixels (target 1 s). The reference
// renders every cell afresh, as each paint did before the rendered symbols were kept (the
// fitted sizes cached per font as before): the sort must find the same whiteness.
// Runs on Qt's offscreen platform (set when QT_QPA_PLATFORM is unset).

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pattern/draw/symbol_drawing.h"
#include "pattern/symbol_sort.h"

namespace {

constexpr int kEdge = 20, kColumns = 20, kVisibleRows = 14;
constexpr double kOpenTargetMs = 200, kSortTargetMs = 1000;

std::vector<std::string> TenFontsWhole() {
  const char* fonts[] = {
      "DejaVu Sans",     "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans", "Liberation Serif",
      "Liberation Mono", "Arial",        "Wingdings",        "Symbol",          "MS Sans Serif"};
  std::vector<std::string> entries;
  for (const char* font : fonts)
    for (int code = 32; code < 32 + 260; ++code)
      entries.push_back(std::string(font) + "," + std::to_string(code));
  return entries;
}

double Ms(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e6;
}

// The visible cells of the dialog's grid, drawn as it paints them.
void PaintVisible(SymbolDrawing& symbols, bool fresh) {
  QImage grid = SymbolCanvas(kColumns * (kEdge + 1), kVisibleRows * (kEdge + 1));
  QPainter painter(&grid);
  for (int row = 0; row < kVisibleRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      const int index = row * kColumns + column;
      if (!fresh) {
        symbols.DrawSymbol(index, column * (kEdge + 1), row * (kEdge + 1), kEdge, painter);
        continue;
      }
      painter.drawImage(column * (kEdge + 1), row * (kEdge + 1),
                        symbols.RenderUncached(index, kEdge));
    }
}

std::vector<uint32_t> FreshWhiteness(SymbolDrawing& symbols) {
  std::vector<uint32_t> whiteness;
  for (int32_t i = 0; i < symbols.SymbolCount(); ++i) {
    const QImage image = symbols.RenderUncached(i, kEdge, 1.0, false);
    uint32_t count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) != 0;
    whiteness.push_back(count);
  }
  return whiteness;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  SymbolTable table(TenFontsWhole());
  SymbolDrawing symbols(table);

  // The first opening in the process also loads every font's glyphs.
  QElapsedTimer timer;
  timer.start();
  symbols.TableChanged();
  PaintVisible(symbols, false);
  const double first_open_ms = Ms(timer);
  timer.restart();
  symbols.TableChanged();
  PaintVisible(symbols, false);
  const double open_ms = Ms(timer);
  timer.restart();
  PaintVisible(symbols, false);
  const double repaint_ms = Ms(timer);
  timer.restart();
  symbols.TableChanged();
  PaintVisible(symbols, true);
  const double fresh_open_ms = Ms(timer);
  timer.restart();
  PaintVisible(symbols, true);
  const double fresh_repaint_ms = Ms(timer);

  SymbolTable reference_table(TenFontsWhole());
  SymbolDrawing reference(reference_table);
  FreshWhiteness(reference);  // the glyphs without antialiasing loaded for both
  timer.restart();
  const InkOrder reference_order = InkSortOrder(FreshWhiteness(reference));
  const double fresh_sort_ms = Ms(timer);
  timer.restart();
  const std::vector<uint32_t> whiteness = symbols.SortByInk(kEdge);
  const double sort_ms = Ms(timer);
  const bool same = whiteness == reference_order.whiteness;

  std::printf("character table, %d entries (ten fonts x 260 codes), cell %d, %d visible cells\n",
              int(table.Count()), kEdge, kColumns * kVisibleRows);
  std::printf("  first opening (fonts loaded): %8.2f ms  (target %.0f ms)\n", first_open_ms,
              kOpenTargetMs);
  std::printf("  opening again:                %8.2f ms  reference %8.2f ms  ratio %.2fx\n",
              open_ms, fresh_open_ms, fresh_open_ms / open_ms);
  std::printf("  repaint of the visible cells: %8.2f ms  reference %8.2f ms  ratio %.1fx\n",
              repaint_ms, fresh_repaint_ms, fresh_repaint_ms / repaint_ms);
  std::printf(
      "  sort by ink:                  %8.2f ms  (target %.0f ms)  reference %8.2f ms"
      "  ratio %.2fx  %s\n",
      sort_ms, kSortTargetMs, fresh_sort_ms, fresh_sort_ms / sort_ms,
      same ? "same whiteness" : "WHITENESS DIFFERS");
  return first_open_ms <= kOpenTargetMs && sort_ms <= kSortTargetMs && same ? 0 : 1;
}
