#pragma once
// A pair of small arrow buttons, one above the other, that holds no value of its own: the
// owner decides what a step up or down changes. Holding a button repeats its step.

#include <QWidget>

class QToolButton;

class SpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit SpinButton(QWidget* parent = nullptr);

  // The two halves, named "up" and "down" (tests click them).
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

  QSize sizeHint() const override;

 signals:
  void Up();
  void Down();

 private:
  QToolButton* MakeHalf(const char* name, Qt::ArrowType arrow);

  QToolButton* up_;
  QToolButton* down_;
};
