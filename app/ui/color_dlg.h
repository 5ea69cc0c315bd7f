#pragma once
// "Color Table": the modal editor of a composition's working palette. Every edit acts on
// the dialog's own working composition; the opener takes it over only on "&Ok".

#include <QDialog>
#include <QPointer>
#include <string>

#include "app/ui/palette_undo.h"
#include "composition/composition.h"

class QLabel;
class QPushButton;
class SpinEdit;
class SwatchGrid;
class TMainForm;
class TMDIChild;

class TColorDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  // The working composition starts from the frame's main palette; `document` is the
  // window the dialog was opened from, which Preview updates and the close checks.
  TColorDlg(TMainForm& frame, TMDIChild* document, QWidget* parent);

  TpunCompo& Work() { return work_; }
  // Shows the working composition as it is now, with Preview disabled.
  void StartUp();
  bool Previewed() const { return previewed_; }
  // An operation runs: nothing closes the dialog.
  bool Running() const { return running_; }

  QLabel *colornum, *Label1, *color, *Label4, *maxmix, *Label2, *Label3, *indexpanel, *Label5,
      *Floss, *Label6, *dmcname;
  SwatchGrid* DrawGrid1;
  SpinEdit* Edit1;
  QPushButton *preview, *clear, *sort, *used, *similar, *custom, *reset, *addclr, *palette,
      *TempPalButton, *HelpButton, *StopButton, *OkButton, *CancelButton, *UndoButton, *RedoButton;

  // The commands, as their controls run them.
  void GridClick();
  void GridDoubleClick();
  void SortClick();
  void ClearClick();
  void ResetClick();
  void SimilarClick();
  void UsedClick();
  void StopClick();
  void AddColorClick();
  void AddPaletteClick();
  void TempPalClick();
  void PreviewClick();
  void CustomClick();
  void OkClick();
  void CancelClick();
  void UndoClick();
  void RedoClick();

 public slots:
  void reject() override;  // Escape and the close box

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;  // status tips go to the frame's message panel
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QPushButton* Button(const QString& caption, const QString& hint);
  void ShowColorCount();
  void RefreshGrid();
  void RefreshThreadCount();
  void RefreshSelection();
  void SetControls(bool enabled, bool stoppable);
  void SetBusyCursor(bool busy);
  // A reduction that may be stopped: a result that would empty the palette or a stop leaves
  // palette and transparency exactly as they were.
  void RunReduction(const std::function<void(TpunCompo&)>& reduce);
  void CloseWith(int result);
  // Runs a command that may change the palette or its transparency, keeping an undo step
  // when it did.
  void Recorded(void (TColorDlg::*command)());
  void UpdateUndoButtons();

  TMainForm& frame_;
  QPointer<TMDIChild> document_;
  TpunCompo work_;
  bool previewed_ = false;
  bool stoppable_ = false;  // busy with stop
  bool running_ = false;
  PaletteUndo undo_;
};
