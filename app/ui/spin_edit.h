#pragma once
// A number field: a line edit of at most `digits` characters with a spin button beside it.
// It keeps whatever the user typed, an empty text included, so the command that reads it
// decides what a text that is no number means. The arrows and the Up and Down keys step
// the value within [low, high]; a value outside the range steps to the nearest bound, and
// a text that is no number steps in from the bound the arrow points away from.

#include <QString>
#include <QWidget>

class QLineEdit;
class SpinButton;

class SpinEdit : public QWidget {
  Q_OBJECT

 public:
  SpinEdit(int low, int high, int digits, QWidget* parent = nullptr);

  QLineEdit* Edit() const { return edit_; }
  SpinButton* Arrows() const { return arrows_; }
  QString Text() const;
  void SetText(const QString& text);
  void SetValue(int value);
  void SetRange(int low, int high);
  int Low() const { return low_; }
  int High() const { return high_; }
  // How far one arrow press moves the value (1 unless set).
  void SetStep(int step) { step_ = step; }

  void StepUp() { StepBy(step_); }
  void StepDown() { StepBy(-step_); }

 signals:
  void textChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StepBy(int delta);

  QLineEdit* edit_;
  SpinButton* arrows_;
  int low_, high_;
  int step_ = 1;
};
