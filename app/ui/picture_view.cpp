#include "app/ui/picture_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  if (picture_.isNull() || width() <= 0 || height() <= 0) {
    painter.fillRect(exposed, palette().window());
    return;
  }
  // The picture is stretched over the whole control; only the part under the exposed
  // rectangle is scaled, so a repaint costs what is on screen, not the whole picture.
  const double sx = double(picture_.width()) / width(), sy = double(picture_.height()) / height();
  const int left = int(exposed.left() * sx), top = int(exposed.top() * sy);
  const int right = std::min(picture_.width(), int((exposed.right() + 1) * sx) + 1);
  const int bottom = std::min(picture_.height(), int((exposed.bottom() + 1) * sy) + 1);
  const QRect source(left, top, std::max(1, right - left), std::max(1, bottom - top));
  const QRectF target(source.left() / sx, source.top() / sy, source.width() / sx,
                      source.height() / sy);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, picture_, source);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(int(event->position().x()), int(event->position().y()));
  QWidget::mouseMoveEvent(event);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_at_ = event->position().toPoint();
  QWidget::mousePressEvent(event);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && pressed_at_) {
    // A drag is no click: the press and the release must stand close together.
    const bool dragged = (at - *pressed_at_).manhattanLength() >= QApplication::startDragDistance();
    pressed_at_.reset();
    if (!dragged && rect().contains(at)) emit Clicked(at.x(), at.y());
  }
  QWidget::mouseReleaseEvent(event);
}
