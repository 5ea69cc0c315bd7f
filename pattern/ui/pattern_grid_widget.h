#pragma once
// The stitch pattern's grid: one widget as large as the whole pattern, inside a scroll
// area, that paints only the cells its paint event exposes. Nothing is kept per stitch.

#include <QWidget>
#include <cstdint>
#include <functional>

class SymbolDrawing;
class TpunCompo;

class PatternGridWidget : public QWidget {
  Q_OBJECT

 public:
  // The composition to show, asked at every paint (none while its document goes away).
  using CompositionSource = std::function<const TpunCompo*()>;

  PatternGridWidget(SymbolDrawing& symbols, int edge, QWidget* parent = nullptr);

  void SetSource(CompositionSource source);
  int Edge() const { return edge_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  // Takes the composition's width and height as the column and row counts, and the size
  // they need.
  void FollowComposition();

 signals:
  // After every paint, for what is shown around the grid.
  void painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void PaintVisible(const QRect& exposed);

  SymbolDrawing& symbols_;
  int edge_;
  int columns_ = 0, rows_ = 0;
  CompositionSource source_;
  uint64_t painted_generation_ = 0;  // the symbols' generation of the last paint
};
