#pragma once
// The dialog a click on a document's picture opens: the clicked position, the floss found
// there (its palette index and name), whether that floss is the transparent colour, and a
// way to keep the floss in the frame's temporary palette.

#include <QDialog>
#include <string>

#include "base/color.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TMainForm;

class TTranspFrm : public QDialog {
  Q_OBJECT

 public:
  TTranspFrm(TMainForm& frame, QWidget* parent = nullptr);

  // The floss is held as a value: the panels only show it.
  void Fill(int x, int y, TColor floss, int32_t index, const std::string& name);
  TColor FlossColor() const { return floss_; }
  // Adds the floss to the frame's temporary palette unless a floss of its name is there.
  void AddToTempPalette();

  QCheckBox* CheckBox1;
  QLabel *Label2, *Label3, *Label4, *Label5;
  QLabel *Panel2, *Panel3, *Panel4, *Panel5;
  QPushButton *Button1, *Button2;

 private:
  TMainForm& frame_;
  TColor floss_ = 0;
  std::string name_;
};
