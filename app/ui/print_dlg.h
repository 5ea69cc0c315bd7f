#pragma once
// "Print Pattern": the paper, the cell size and the parts of a printed pattern, the page
// count they give, and the two ways out, the printer or a PDF file. The dialog stays open
// while the pages are made, showing their progress; Esc or Cancel then stops the work, and
// the dialog closes once the work has ended. The choices last until the program closes.

#include <QDialog>
#include <functional>

#include "pattern/draw/pattern_printout.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TPrintDlg : public QDialog {
  Q_OBJECT

 public:
  // What the buttons start. `print` and `save` return true when work started with the
  // choices (the dialog then shows its progress until Finished); `cancel` stops that work.
  struct Actions {
    std::function<bool(const PrintChoices&)> print, save;
    std::function<void()> cancel;
  };

  // Keeps a reference to `pattern`, whose page count the dialog shows.
  TPrintDlg(const PrintedPattern& pattern, Actions actions, QWidget* parent = nullptr);

  // The choices of a first print: every part, the paper of the locale (Letter where the
  // US measures are used, A4 elsewhere).
  static PrintChoices DefaultChoices();
  // The last choices made, for the next dialog of this run of the program.
  static PrintChoices& Remembered();

  PrintChoices Choices() const;
  bool Running() const { return running_; }
  // The progress of the running work.
  void ShowProgress(const QString& text, int percent);
  // The work has ended, however: the dialog closes.
  void Finished();

  QComboBox* PaperBox;
  QRadioButton *PortraitButton, *LandscapeButton;
  QDoubleSpinBox* CellSizeEdit;
  QSpinBox* OverlapEdit;
  QCheckBox *CoverBox, *KeyBox, *BwChartBox, *ColorChartBox;
  QLabel* CountLine;
  QLabel* ProgressLine;
  QProgressBar* Meter;
  QPushButton *PrintButton, *SavePdfButton, *CancelButton;

  // While work runs, Esc and Cancel stop it instead of closing.
  void reject() override;
  void done(int result) override;

 private:
  void SetChoices(const PrintChoices& choices);
  void ShowCount();
  void Start(const std::function<bool(const PrintChoices&)>& action);
  void SetRunning(bool running);

  const PrintedPattern& pattern_;
  Actions actions_;
  bool running_ = false;
  bool plan_ok_ = false;
};
