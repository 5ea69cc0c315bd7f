#pragma once
// The symbols of a printed pattern for one device resolution: each palette colour's
// character as a ready glyph of its font at the printout's size for that font, so every
// cell is one small text object placed without laying out text again. The chart and the
// key draw the same glyphs, so an app can match chart symbols to key rows.

#include <QColor>
#include <QGlyphRun>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <vector>

class PatternPrintout;
class QPainter;

class ChartSymbols {
 public:
  ChartSymbols(const PatternPrintout& printout, double dots_per_mm);

  // The symbol of palette colour `index`, its ink centred in `cell` (device pixels), in
  // `ink`. Nothing for a colour without a symbol or an entry that does not parse.
  void Draw(QPainter& painter, int32_t index, const QRectF& cell, const QColor& ink) const;

 private:
  struct Symbol {
    enum class Kind { kNone, kGlyph, kText } kind = Kind::kNone;
    QGlyphRun run;  // kGlyph: positioned with its ink's centre at (0, 0)
    QString text;   // kText: the font lacks the glyph or it is the byte in digits
    QString family;
    double points = 0;
  };
  Symbol Prepare(const PatternPrintout& printout, int32_t index) const;

  double dpmm_;
  std::vector<Symbol> symbols_;
};

// Black or white, whichever contrasts more with `background`.
QColor InkOn(const QColor& background);
