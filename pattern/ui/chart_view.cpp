#include "pattern/ui/chart_view.h"

#include <QPaintEvent>
#include <QPainter>

ChartView::ChartView(const QImage* image, QWidget* parent) : QWidget(parent), image_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::Follow() {
  resize(image_->isNull() ? QSize(0, 0) : image_->size());
  update();
}

void ChartView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, Qt::white);
  if (!image_->isNull()) painter.drawImage(exposed.topLeft(), *image_, exposed);
}
