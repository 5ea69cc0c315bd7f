#include "pattern/ui/pattern_grid_widget.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include "app/ui/slot_guard.h"
#include "composition/composition.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/draw/symbol_drawing.h"

PatternGridWidget::PatternGridWidget(SymbolDrawing& symbols, int edge, QWidget* parent)
    : QWidget(parent), symbols_(symbols), edge_(edge) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(PatternSize(0, 0, edge_));
}

void PatternGridWidget::SetSource(CompositionSource source) {
  source_ = std::move(source);
  FollowComposition();
}

void PatternGridWidget::FollowComposition() {
  const TpunCompo* composition = source_ ? source_() : nullptr;
  columns_ = composition ? composition->Width() : 0;
  rows_ = composition ? composition->Height() : 0;
  setFixedSize(PatternSize(columns_, rows_, edge_));
  update();
}

bool PatternGridWidget::event(QEvent* event) {
  // Back from the character table: symbols edited there show at once, not as scrolled to.
  if (event->type() == QEvent::WindowActivate && symbols_.Generation() != painted_generation_)
    update();
  return QWidget::event(event);
}

void PatternGridWidget::paintEvent(QPaintEvent* event) {
  const QRect exposed = event->rect();
  // The symbols changed since the last paint: cells painted only here would sit beside
  // cells of the old symbols, so the whole visible part follows.
  if (symbols_.Generation() != painted_generation_) {
    painted_generation_ = symbols_.Generation();
    // Asked once this paint is over: an update asked while painting would be dropped.
    if (!(visibleRegion() - event->region()).isEmpty())
      QTimer::singleShot(0, this, [this] { update(); });
  }
  Guarded([&] { PaintVisible(exposed); });
  emit painted();
}

void PatternGridWidget::PaintVisible(const QRect& exposed) {
  QPainter painter(this);
  painter.fillRect(exposed, palette().color(QPalette::Window));
  const TpunCompo* composition = source_ ? source_() : nullptr;
  if (!composition) return;
  // The picture may have been turned or resized since the counts were taken: paint what
  // it holds now, and take its counts once this paint is over.
  if (composition->Width() != columns_ || composition->Height() != rows_)
    QTimer::singleShot(0, this, [this] { FollowComposition(); });
  StitchPattern pattern(*composition, symbols_, edge_, palette().color(QPalette::Button));
  pattern.Paint(painter, CellsIn(exposed, composition->Width(), composition->Height(), edge_));
}
