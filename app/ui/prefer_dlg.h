#pragma once
// The Preferences dialog: edits the settings record on three pages and, on OK, stores the
// fields in it and writes the settings file.

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class SpinButton;
class SpinEdit;

class TPreferDlg : public QDialog {
  Q_OBJECT

 public:
  // `stored` runs after OK stored the fields and wrote the file (the frame refreshes its
  // information line there).
  TPreferDlg(QWidget* parent, std::function<void()> stored);

  // The fields are loaded from the settings only while this is false: the first
  // activation fills them, later ones keep what the user typed.
  bool Filled = false;

  QWidget* ButtonPanel;
  QPushButton *okbtn, *cancelbtn;
  QTabWidget* Notebook;  // its tab row is named "TabSet"
  QLabel* Cellsize;
  SpinButton* SpinButton1;
  QLineEdit* PaletteFile;
  QToolButton* SpeedButton1;
  QComboBox* unitcombo;
  QCheckBox* ColorMatchBox;  // the "ColorMatch" setting: checked for CIEDE2000
  QLineEdit *edit1, *edit2, *edit3, *edit4;
  // The printing hours and minutes; Edit7 to Edit10 are their line edits.
  SpinEdit *Spin7, *Spin8, *Spin9, *Spin10;
  QLineEdit *Edit7, *Edit8, *Edit9, *Edit10;
  QComboBox* language;

  void FillFields();
  void SpinButton1Up();
  void SpinButton1Down();
  void SpeedButton1Click();
  void okbtnClick();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateGeneralPage();
  QWidget* CreatePathsPage();
  QWidget* CreatePrintingPage();
  QWidget* CreateButtonPanel();
  void StoreFields();

  std::function<void()> stored_;
};
