#pragma once
// The picture control of a document window: the mapped picture, magnified by the zoom with
// hard pixel edges, painted only where it is exposed so large pictures stay quick to show.

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }

 signals:
  void MouseMoved(int x, int y);
  // A left press and release at about the same place: the release's position.
  void Clicked(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  std::optional<QPoint> pressed_at_;  // of the left button, until its release
};
