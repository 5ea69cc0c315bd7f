#pragma once
// "Add DMC Color": picks one floss of the main palette.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class TpunPal;

class TaddColorDlg : public QDialog {
  Q_OBJECT

 public:
  // Lists every entry of `main`, the first one selected; `main` must outlive the dialog.
  TaddColorDlg(const TpunPal& main, QWidget* parent);

  // The main palette's index of the chosen entry, -1 for none.
  int SelectedIndex() const;

  QLabel* Label1;
  QComboBox* ComboBox1;
  QPushButton *okbtn, *cancelbtn;
};
