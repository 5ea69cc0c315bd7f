#pragma once
// "Automatic Color Search": the options of one automatic color search. Ok checks the number
// fields, each against its own range, and stays open on the first that fails with the focus
// on it; the caller then reads the options.

#include <QDialog>
#include <string>

#include "composition/color_search.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SpinEdit;

class TFindForm : public QDialog {
  Q_OBJECT

 public:
  // `palette_count`: the entries of the main palette, the most floss a search can keep.
  explicit TFindForm(int palette_count, QWidget* parent = nullptr);

  QRadioButton *RadioButton1, *RadioButton2, *RadioButton3;
  QCheckBox *keep, *removelonely;
  QLabel *Label1, *Label3, *Label5, *Label6;
  SpinEdit *threads, *numdots, *light, *increment;
  QPushButton *Button1, *Button2, *HelpButton;

  // The options the fields hold, each text read as a whole number: raises EConvertError
  // for one that is not (Ok lets no such text through).
  TSearchOptions Options() const;

  void Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateOptions();
  QWidget* CreateButtons();
  // False, after the message, with the focus on the field, when its text is not a whole
  // number from `low` to `high`.
  bool Check(SpinEdit* field, int low, int high, const std::string& message);

  int palette_count_;
};
