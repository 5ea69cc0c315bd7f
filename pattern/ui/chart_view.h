#pragma once
// Shows an image its owner keeps drawing into, one to one, painting only what is exposed:
// the design window's chart grows under the user's eyes without a copy per repaint.

#include <QImage>
#include <QWidget>

class ChartView : public QWidget {
  Q_OBJECT

 public:
  // `image` belongs to the owner and outlives the view.
  explicit ChartView(const QImage* image, QWidget* parent = nullptr);

  // Takes the image's size; call after the image was replaced.
  void Follow();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* image_;
};
