#pragma once
// The about box: the program's logo, name, version and purpose.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutDlg(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* Logo;
  QLabel* Version;
  QLabel* Comments;
  QPushButton* OKButton;
};
