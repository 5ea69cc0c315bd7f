#include "pattern/draw/chart_symbols.h"

#include <QPainter>
#include <QRawFont>
#include <cmath>

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/pattern_printout.h"

namespace {

// The share of the cell a byte drawn in digits takes, in height.
constexpr double kDigitsShare = 0.45;

double Luminance(const QColor& c) {
  auto linear = [](double v) {
    v /= 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

}  // namespace

QColor InkOn(const QColor& background) {
  const double l = Luminance(background);
  return (l + 0.05) / 0.05 >= 1.05 / (l + 0.05) ? QColor(Qt::black) : QColor(Qt::white);
}

ChartSymbols::ChartSymbols(const PatternPrintout& printout, double dots_per_mm)
    : dpmm_(dots_per_mm) {
  const int32_t colors = int32_t(printout.Pattern().floss.size());
  symbols_.reserve(size_t(colors));
  for (int32_t k = 0; k < colors; ++k) symbols_.push_back(Prepare(printout, k));
}

ChartSymbols::Symbol ChartSymbols::Prepare(const PatternPrintout& printout, int32_t index) const {
  const PrintedFloss& floss = printout.Pattern().floss[size_t(index)];
  Symbol symbol;
  if (!floss.has_symbol || !floss.face.parsed) return symbol;
  const double cell_mm = printout.Plan().Options().cell_mm;
  if (floss.face.digits) {
    symbol.kind = Symbol::Kind::kText;
    symbol.text = QString::number(floss.face.byte);
    symbol.points = cell_mm * kDigitsShare * 72.0 / 25.4;
    return symbol;
  }
  if (floss.face.character == 0) return symbol;
  symbol.family = floss.face.family;
  symbol.points = printout.SymbolPointSize(floss.face.family);
  symbol.text = QString::fromUcs4(&floss.face.character, 1);
  QFont font(floss.face.family);
  font.setPointSizeF(symbol.points);
  QRawFont raw = QRawFont::fromFont(font);
  const QList<quint32> glyphs =
      raw.isValid() ? raw.glyphIndexesForString(symbol.text) : QList<quint32>();
  if (glyphs.size() != 1 || glyphs[0] == 0) {
    symbol.kind = Symbol::Kind::kText;  // left to Qt's font fallback
    return symbol;
  }
  raw.setPixelSize(symbol.points / 72.0 * 25.4 * dpmm_);
  const QRectF ink = raw.boundingRect(glyphs[0]);
  symbol.kind = Symbol::Kind::kGlyph;
  symbol.run.setRawFont(raw);
  symbol.run.setGlyphIndexes({glyphs[0]});
  symbol.run.setPositions({-ink.center()});
  return symbol;
}

void ChartSymbols::Draw(QPainter& painter, int32_t index, const QRectF& cell,
                        const QColor& ink) const {
  if (index < 0 || size_t(index) >= symbols_.size()) return;
  const Symbol& symbol = symbols_[size_t(index)];
  switch (symbol.kind) {
    case Symbol::Kind::kNone:
      return;
    case Symbol::Kind::kGlyph:
      painter.setPen(ink);
      painter.drawGlyphRun(cell.center(), symbol.run);
      return;
    case Symbol::Kind::kText: {
      QFont font = symbol.family.isEmpty() ? PageFont(symbol.points) : QFont(symbol.family);
      font.setPointSizeF(symbol.points);
      painter.setFont(font);
      painter.setPen(ink);
      painter.drawText(cell, Qt::AlignCenter, symbol.text);
      return;
    }
  }
}
