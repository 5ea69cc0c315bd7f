#include "app/ui/color_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShortcutEvent>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/add_color_dlg.h"
#include "app/ui/custom_colors_dlg.h"
#include "app/ui/file_names.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_edit.h"
#include "app/ui/swatch_grid.h"
#include "app/ui/ui_seams.h"
#include "base/latin1.h"
#include "base/message_seam.h"
#include "composition/ui/document_jobs.h"
#include "palette/append_missing.h"
#include "palette/palette_errors.h"

namespace {

QLabel* Panel(QWidget* parent) {
  auto* panel = new QLabel(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setMinimumWidth(60);
  return panel;
}

// What the working palette and its transparency were, to put back after a stopped or
// emptying reduction.
struct PaletteSnapshot {
  explicit PaletteSnapshot(const TpunCompo& work)
      : on(work.TransparencyOn()), index(work.TransparentColor()), modified(work.Modified()) {
    palette.Assign(work.Palette());
  }
  void Restore(TpunCompo& work) const {
    work.Palette().Assign(palette);
    work.SetTransparentColor(index);
    work.SetTransparencyOn(on);
    work.SetModified(modified);
  }
  TpunPal palette;
  bool on;
  int32_t index;
  bool modified;
};

}  // namespace

TColorDlg::TColorDlg(TMainForm& frame, TMDIChild* document, QWidget* parent)
    : QDialog(parent), frame_(frame), document_(document), work_(&frame.MainPalette) {
  SetHelpTopic(this, help_ids::kColorTable);
  setWindowTitle("Color Table");
  BuildControls();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* TColorDlg::Button(const QString& caption, const QString& hint) {
  auto* button = new QPushButton(caption, this);
  button->setAutoDefault(false);
  if (!hint.isEmpty()) SetHint(button, "|" + hint);
  return button;
}

void TColorDlg::BuildControls() {
  colornum = Panel(this);
  Label3 = new QLabel("Selected color index :", this);
  indexpanel = Panel(this);
  Label5 = new QLabel("Number of Floss used :", this);
  Floss = Panel(this);
  Label6 = new QLabel("DMC color name :", this);
  dmcname = Panel(this);
  // The selected colour's values and the blend count are kept out of sight.
  Label1 = new QLabel("Color :", this);
  color = Panel(this);
  Label4 = new QLabel("Max mix :", this);
  maxmix = Panel(this);
  for (QWidget* hidden : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(color),
                          static_cast<QWidget*>(Label4), static_cast<QWidget*>(maxmix)})
    hidden->hide();
  DrawGrid1 = new SwatchGrid(this);
  DrawGrid1->SetPalette(&work_.Palette());
  SetHint(DrawGrid1, "|Double clicking here will remove the clicked color");
  Label2 = new QLabel("Similarity :", this);
  Edit1 = new SpinEdit(0, 255, 3, this);
  SetHint(Edit1, "|This value is used with the SIMILAR button");

  preview = Button("Pre&view", "Preview the changes");
  clear = Button("Cl&ear", "Reset the palette to Black and White");
  sort = Button("&Sort", "Sort the palette entries from lightest to darkest");
  used = Button("&Used", "Search and removes the colors that are not used in the picture");
  similar = Button("S&imilar", "Reduce the amount of colors by similarity");
  custom = Button("Cust&om", "Opens the Floss tweeder dialog box");
  reset = Button("&Reset", "Reset the palette to the default Puntel DMC palette");
  addclr = Button("+&Color", "Add a color (DMC) to the palette");
  palette = Button("+Clr&Pal", "Add a color palette to the current palette");
  TempPalButton = Button("+Temp", "Add contents of the Temp Palette to your current palette");
  HelpButton = Button("&Help", {});
  StopButton = Button("S&top", "Close this dialog / Cancel process");
  OkButton = Button("&Ok", {});
  OkButton->setDefault(true);
  CancelButton = Button("C&ancel", "Close this dialog / Cancel process");
  // "&Ok" and "Cust&om" share Alt+O; it presses Ok rather than only moving the focus
  // between the two.
  OkButton->installEventFilter(this);
  custom->installEventFilter(this);
  UndoButton = Button("U&ndo", "Take back the last change of the palette");
  RedoButton = Button("Re&do", "Make the change taken back again");
  for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Z)})
    connect(new QShortcut(key, this), &QShortcut::activated, UndoButton, &QPushButton::click);
  for (const QKeySequence& key :
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
    connect(new QShortcut(key, this), &QShortcut::activated, RedoButton, &QPushButton::click);

  auto* info = new QGridLayout;
  info->addWidget(Label3, 0, 0);
  info->addWidget(indexpanel, 0, 1);
  info->addWidget(Label5, 1, 0);
  info->addWidget(Floss, 1, 1);
  info->addWidget(Label6, 2, 0);
  info->addWidget(dmcname, 2, 1);
  auto* spin = new QHBoxLayout;
  spin->addWidget(Label2);
  spin->addWidget(Edit1);
  spin->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(colornum);
  left->addWidget(DrawGrid1, 1);
  left->addLayout(info);
  left->addLayout(spin);
  auto* buttons = new QGridLayout;
  QPushButton* const order[] = {preview,  clear,         sort,       used,
                                similar,  custom,        reset,      addclr,
                                palette,  TempPalButton, HelpButton, StopButton,
                                OkButton, CancelButton,  UndoButton, RedoButton};
  int n = 0;
  for (QPushButton* b : order) {
    buttons->addWidget(b, n % 8, n / 8);
    ++n;
  }
  auto* whole = new QHBoxLayout(this);
  whole->addLayout(left);
  whole->addLayout(buttons);

  auto connect_click = [this](QPushButton* button, void (TColorDlg::*command)()) {
    connect(button, &QPushButton::clicked, this,
            GuardedSlot([this, command] { (this->*command)(); }));
  };
  connect(DrawGrid1, &SwatchGrid::clicked, this, GuardedSlot([this] { GridClick(); }));
  // The commands that may change the palette or its transparency keep undo steps.
  auto connect_change = [this](QPushButton* button, void (TColorDlg::*command)()) {
    connect(button, &QPushButton::clicked, this,
            GuardedSlot([this, command] { Recorded(command); }));
  };
  connect(DrawGrid1, &SwatchGrid::doubleClicked, this,
          GuardedSlot([this] { Recorded(&TColorDlg::GridDoubleClick); }));
  connect_click(preview, &TColorDlg::PreviewClick);
  connect_change(clear, &TColorDlg::ClearClick);
  connect_change(sort, &TColorDlg::SortClick);
  connect_change(used, &TColorDlg::UsedClick);
  connect_change(similar, &TColorDlg::SimilarClick);
  connect_change(custom, &TColorDlg::CustomClick);
  connect_change(reset, &TColorDlg::ResetClick);
  connect_change(addclr, &TColorDlg::AddColorClick);
  connect_change(palette, &TColorDlg::AddPaletteClick);
  connect_change(TempPalButton, &TColorDlg::TempPalClick);
  connect_click(StopButton, &TColorDlg::StopClick);
  connect_click(OkButton, &TColorDlg::OkClick);
  connect_click(CancelButton, &TColorDlg::CancelClick);
  connect_click(UndoButton, &TColorDlg::UndoClick);
  connect_click(RedoButton, &TColorDlg::RedoClick);
  connect(HelpButton, &QPushButton::clicked, this,
          GuardedSlot([] { ShowHelp(help_ids::kColorTable); }));
}

void TColorDlg::StartUp() {
  stoppable_ = false;
  colornum->clear();
  DrawGrid1->Refresh();
  RefreshThreadCount();
  DrawGrid1->SetSelected(0);
  RefreshSelection();
  preview->setEnabled(false);
  Edit1->SetText("5");
  ShowColorCount();
}

void TColorDlg::ShowColorCount() {
  colornum->setText("Colors used : " + QString::number(work_.Palette().Count()));
}

void TColorDlg::RefreshGrid() {
  DrawGrid1->Refresh();
  ShowColorCount();
}

void TColorDlg::RefreshThreadCount() {
  SetBusyCursor(true);
  SetControls(false, false);
  Floss->clear();
  Floss->setText(QString::number(work_.Palette().ThreadCount()));
  SetControls(true, false);
  SetBusyCursor(false);
}

void TColorDlg::RefreshSelection() {
  const int i = DrawGrid1->Selected();
  if (i >= 0 && i < work_.Palette().Count()) {
    dmcname->setText(QString::fromStdString(Latin1ToUtf8(work_.Palette().GetName(i))));
    indexpanel->setText(QString::number(i));
  } else {
    dmcname->clear();
    indexpanel->clear();
  }
}

void TColorDlg::SetControls(bool enabled, bool stoppable) {
  for (QWidget* w : std::initializer_list<QWidget*>{clear, palette, DrawGrid1, similar, sort, reset,
                                                    used, addclr, Edit1, OkButton, CancelButton,
                                                    TempPalButton, custom, HelpButton})
    w->setEnabled(enabled);
  preview->setEnabled(false);
  StopButton->setEnabled(stoppable);
  if (stoppable) {
    StopButton->setDefault(true);
    StopButton->setFocus();
  } else {
    StopButton->setDefault(false);
    OkButton->setDefault(true);
  }
  stoppable_ = stoppable;
  running_ = !enabled;
  UpdateUndoButtons();
}

void TColorDlg::UpdateUndoButtons() {
  UndoButton->setEnabled(!running_ && undo_.CanUndo());
  RedoButton->setEnabled(!running_ && undo_.CanRedo());
}

void TColorDlg::Recorded(void (TColorDlg::*command)()) {
  PaletteUndo::Snapshot before = PaletteUndo::Take(work_);
  try {
    (this->*command)();
  } catch (...) {
    undo_.Record(std::move(before), work_);
    UpdateUndoButtons();
    throw;
  }
  undo_.Record(std::move(before), work_);
  UpdateUndoButtons();
}

void TColorDlg::UndoClick() {
  if (running_ || !undo_.Undo(work_)) return;
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  preview->setEnabled(true);
}

void TColorDlg::RedoClick() {
  if (running_ || !undo_.Redo(work_)) return;
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  preview->setEnabled(true);
}

// Set per widget, so an enabled "S&top" keeps the arrow.
void TColorDlg::SetBusyCursor(bool busy) {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (busy && w != StopButton)
      w->setCursor(Qt::WaitCursor);
    else
      w->unsetCursor();
  }
  if (busy) {
    setCursor(Qt::WaitCursor);
    StopButton->setCursor(Qt::ArrowCursor);  // its own, or it would take the dialog's
  } else {
    unsetCursor();
  }
}

void TColorDlg::GridClick() {
  RefreshSelection();
}

void TColorDlg::GridDoubleClick() {
  TpunPal& pal = work_.Palette();
  const int i = DrawGrid1->Selected();
  if (pal.Count() == 1 || i >= pal.Count()) return;
  SetBusyCursor(true);
  setEnabled(false);
  pal.Delete(i);
  DrawGrid1->Refresh();
  RefreshThreadCount();
  ShowColorCount();
  RefreshSelection();
  setEnabled(true);
  SetBusyCursor(false);
  work_.SetTransparencyOn(false);
  preview->setEnabled(true);
}

void TColorDlg::SortClick() {
  SetBusyCursor(true);
  SetControls(false, false);
  {
    TpunPal& pal = work_.Palette();
    pal.OnProgress = frame_.UiThreadMainProgress();
    // On every way out: an error still leaves the dialog usable and the status line clear.
    struct Unbind {
      TColorDlg& dlg;
      TpunPal& pal;
      ~Unbind() {
        pal.OnProgress = nullptr;
        dlg.frame_.ShowMainProgress("", 0);
        dlg.SetControls(true, false);
        dlg.SetBusyCursor(false);
      }
    } unbind{*this, pal};
    pal.Sort();
  }
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  work_.SetTransparencyOn(false);
  preview->setEnabled(true);
}

void TColorDlg::ClearClick() {
  const TpunPal& main = frame_.MainPalette;
  // A palette keeps at least one colour: with no main palette there is nothing to keep.
  if (main.Count() == 0) return;
  int32_t bright = 0, dark = 0;
  auto sum = [&main](int32_t i) {
    const TColor c = main.GetClr(i);
    return RedOf(c) + GreenOf(c) + BlueOf(c);
  };
  for (int32_t i = 1; i < main.Count(); ++i) {
    if (sum(i) > sum(bright)) bright = i;
    if (sum(i) < sum(dark)) dark = i;
  }
  const std::string bright_name = main.GetName(bright), dark_name = main.GetName(dark);
  const TColor bright_color = main.GetClr(bright), dark_color = main.GetClr(dark);
  TpunPal& pal = work_.Palette();
  pal.Clear();
  pal.AddClr(bright_color, bright_name);
  pal.AddClr(dark_color, dark_name);
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  work_.SetTransparencyOn(false);
  preview->setEnabled(true);
}

void TColorDlg::ResetClick() {
  if (work_.RefPalette().Count() == 0) return;
  SetBusyCursor(true);
  SetControls(false, false);
  work_.ResetPalette();
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  SetControls(true, false);
  SetBusyCursor(false);
  preview->setEnabled(true);
}

void TColorDlg::RunReduction(const std::function<void(TpunCompo&)>& reduce) {
  const bool preview_was = preview->isEnabled();
  const PaletteSnapshot before(work_);
  SetBusyCursor(true);
  SetControls(false, true);
  work_.SetOnProgress(frame_.UiThreadMainProgress());
  bool stopped = false;
  try {
    reduce(work_);
    stopped = work_.CancelRequested();
  } catch (...) {
    work_.SetOnProgress(nullptr);
    before.Restore(work_);
    SetControls(true, false);
    SetBusyCursor(false);
    frame_.ShowMainProgress("", 0);
    preview->setEnabled(preview_was);
    throw;
  }
  work_.SetOnProgress(nullptr);
  frame_.ShowMainProgress("", 0);
  const bool emptied = work_.Palette().Count() == 0;
  if (stopped || emptied) before.Restore(work_);
  SetControls(true, false);
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  SetBusyCursor(false);
  if (!stopped && !emptied) work_.SetTransparencyOn(false);
  preview->setEnabled(preview_was || (!stopped && !emptied));
}

void TColorDlg::SimilarClick() {
  bool ok = false;
  const int tolerance = Edit1->Text().toInt(&ok, 10);
  if (!ok) {
    Edit1->SetText("");
    Edit1->Edit()->setFocus();
    return;
  }
  RunReduction([tolerance](TpunCompo& work) { work.RemoveSimilarColors(uint16_t(tolerance)); });
}

void TColorDlg::UsedClick() {
  RunReduction([](TpunCompo& work) { work.SearchUsedColors(); });
}

void TColorDlg::StopClick() {
  work_.SetCancelRequested(true);
}

void TColorDlg::AddColorClick() {
  TaddColorDlg choose(frame_.MainPalette, this);
  if (RunModal(choose) != QDialog::Accepted) return;
  const int chosen = choose.SelectedIndex();
  const TpunPal& ref = work_.RefPalette();
  if (chosen < 0 || chosen >= frame_.MainPalette.Count() || chosen >= ref.Count()) return;
  const std::string name = frame_.MainPalette.GetName(chosen);
  int32_t at = 0;
  if (work_.Palette().IndexOfName(name, at)) {
    Messages().Error("Color allready in palette !");
    return;
  }
  work_.Palette().AddClr(ref.GetClr(chosen), name);
  DrawGrid1->Refresh();
  RefreshThreadCount();
  RefreshGrid();
  work_.SetModified(true);
  preview->setEnabled(true);
}

void TColorDlg::AddPaletteClick() {
  const QStringList files = FileDialogs().Open(
      this, {"Add colors", ShownPath(Settings().ColorPath), "CLR Files (*.clr)|*.clr", {}, {}});
  if (files.isEmpty()) return;
  TpunPal loaded;
  {
    SetBusyCursor(true);
    struct Restore {  // the arrow again on every way out
      TColorDlg* dlg;
      ~Restore() { dlg->SetBusyCursor(false); }
    } restore{this};
    try {
      loaded.LoadFromFile(LocalPath(files.first()));
    } catch (const ENotPaletteFile&) {
      Messages().Error("Not a palette file : " + files.first().toStdString());
      return;
    }
    AppendMissing(work_.Palette(), loaded);
    RefreshGrid();
    work_.SetModified(true);
    RefreshThreadCount();  // before Preview: the refresh leaves it disabled
    preview->setEnabled(true);
  }
}

void TColorDlg::TempPalClick() {
  if (AppendMissing(work_.Palette(), frame_.TempPalette) == 0) return;
  RefreshThreadCount();
  RefreshGrid();
  RefreshSelection();
  preview->setEnabled(true);
}

void TColorDlg::PreviewClick() {
  SetBusyCursor(true);
  SetControls(false, false);
  previewed_ = true;
  struct Done {
    TColorDlg* dlg;
    ~Done() {
      dlg->SetControls(true, false);
      dlg->SetBusyCursor(false);
    }
  } done{this};
  if (!document_) return;
  TMDIChild* document = document_;
  QEventLoop wait;
  // The worker's end changes the document's state: that wakes the loop, no polling.
  const auto woken = connect(document, &TMDIChild::stateChanged, &wait, [&wait, document] {
    if (!document->Working()) wait.quit();
  });
  const auto gone = connect(document, &QObject::destroyed, &wait, &QEventLoop::quit);
  document->StartPreviewUpdate(work_);
  if (document_ && (document->Working() || document->Jobs().Running()))
    wait.exec();  // input meanwhile meets disabled controls, not a queue replayed later
  disconnect(woken);
  disconnect(gone);
}

void TColorDlg::CustomClick() {
  const auto entries = AskCustomColors(work_.Palette(), this);
  if (!entries) return;
  TpunPal chosen;
  for (const auto& [name, color] : *entries) chosen.AddClr(color, name);
  AppendMissing(work_.Palette(), chosen);
  DrawGrid1->Refresh();
  RefreshThreadCount();
  RefreshGrid();
  work_.SetModified(true);
  preview->setEnabled(true);
}

void TColorDlg::CloseWith(int result) {
  if (document_ && document_->UpdatingPicture()) {
    Messages().Error("Cannot close while updating picture !");
    return;
  }
  done(result);
}

void TColorDlg::OkClick() {
  CloseWith(kOk);
}

void TColorDlg::CancelClick() {
  CloseWith(kCancel);
}

// Escape: "S&top" in a stoppable operation, nothing in another one, else "C&ancel".
void TColorDlg::reject() {
  if (running_) {
    if (stoppable_) StopClick();
    return;
  }
  Guarded([this] { CancelClick(); });
}

bool TColorDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->isAmbiguous() &&
      (watched == OkButton || watched == custom)) {
    if (OkButton->isEnabled()) OkButton->click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TColorDlg::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    frame_.ShowAppHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QDialog::event(event);
}

void TColorDlg::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  event->ignore();
  Guarded([this] { CancelClick(); });
}
