#include "app/ui/custom_colors_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/slot_guard.h"
#include "app/ui/swatch_grid.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/latin1.h"

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* text, const char* hint) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  if (hint) SetHint(button, hint);
  return button;
}

SwatchGrid* Grid(QWidget* parent, const char* name, const TpunPal& palette, const char* hint) {
  auto* grid = new SwatchGrid(parent);
  grid->setObjectName(name);
  grid->SetPalette(&palette);
  grid->setFixedSize(grid->sizeHint().width(),
                     12 * (SwatchGrid::kCell + SwatchGrid::kLine) + 2 * grid->frameWidth());
  SetHint(grid, hint);
  return grid;
}

}  // namespace

TCustomColorsDlg::TCustomColorsDlg(const TpunPal& working, QWidget* parent) : QDialog(parent) {
  SetHelpTopic(this, help_ids::kCustomColors);
  setObjectName("CustomColorsDlg");
  setWindowTitle("Custom Colors");
  for (int32_t i = 0; i < working.Count(); ++i) {
    const std::string name = working.GetName(i);
    if (name.find('+') == std::string::npos) pure_.AddClr(working.GetClr(i), name);
  }
  PureGrid = Grid(this, "PureGrid", pure_, "|Pure floss available for tweeding");
  TweedGrid = Grid(this, "TweedGrid", chosen_, "|Floss that are going to be tweeded");
  ResetButton = Button(this, "ResetButton", "&Reset", "|Empty the right list box ");
  AddAllButton =
      Button(this, "AddAllButton", "&Add All", "|Add every pure floss from right to left");
  TweedButton = Button(this, "TweedButton", "&Tweed",
                       "|Create colors by tweeding pure floss in the right listbox");
  OkButton = Button(this, "OkButton", "&Ok", nullptr);
  OkButton->setDefault(true);
  CancelButton = Button(this, "CancelButton", "&Cancel", nullptr);
  HelpButton = Button(this, "HelpButton", "&Help", nullptr);

  // A click chooses, but walking the grid with the arrow keys must not: the press itself
  // is watched, and Space or Enter chooses the selected cell.
  PureGrid->viewport()->installEventFilter(this);
  PureGrid->installEventFilter(this);
  TweedGrid->installEventFilter(this);
  connect(TweedGrid, &SwatchGrid::doubleClicked, this,
          [this](int index) { Guarded([&] { TakeOff(index); }); });
  connect(ResetButton, &QPushButton::clicked, this, GuardedSlot([this] { ResetClick(); }));
  connect(AddAllButton, &QPushButton::clicked, this, GuardedSlot([this] { AddAllClick(); }));
  connect(TweedButton, &QPushButton::clicked, this, GuardedSlot([this] { TweedClick(); }));
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this,
          GuardedSlot([] { ShowHelp(help_ids::kCustomColors); }));

  auto* grids = new QHBoxLayout;
  grids->addWidget(PureGrid);
  grids->addWidget(TweedGrid);
  auto* commands = new QHBoxLayout;
  for (QPushButton* button : {ResetButton, AddAllButton, TweedButton}) commands->addWidget(button);
  commands->addStretch();
  for (QPushButton* button : {OkButton, CancelButton, HelpButton}) commands->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grids);
  layout->addLayout(commands);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog border
}

bool TCustomColorsDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PureGrid->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton)
      Guarded([&] { Choose(PureGrid->IndexAt(press->position().toPoint())); });
  } else if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool choose = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == PureGrid && choose) {
      Guarded([&] { Choose(PureGrid->Selected()); });
      return true;
    }
    if (watched == TweedGrid && key == Qt::Key_Delete) {
      Guarded([&] { TakeOff(TweedGrid->Selected()); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

FlossList TCustomColorsDlg::Chosen() const {
  FlossList chosen;
  chosen.reserve(size_t(chosen_.Count()));
  for (int32_t i = 0; i < chosen_.Count(); ++i)
    chosen.emplace_back(chosen_.GetName(i), chosen_.GetClr(i));
  return chosen;
}

void TCustomColorsDlg::AddChosen(TColor color, const std::string& name) {
  if (chosen_names_.insert(FoldCase(name)).second) chosen_.AddClr(color, name);
}

void TCustomColorsDlg::ChosenChanged() {
  TweedGrid->Refresh();
}

void TCustomColorsDlg::Choose(int pure_index) {
  if (pure_index < 0 || pure_index >= pure_.Count()) return;
  AddChosen(pure_.GetClr(pure_index), pure_.GetName(pure_index));
  ChosenChanged();
}

void TCustomColorsDlg::TakeOff(int chosen_index) {
  if (chosen_index < 0 || chosen_index >= chosen_.Count()) return;
  chosen_names_.erase(FoldCase(chosen_.GetName(chosen_index)));
  chosen_.Delete(chosen_index);
  ChosenChanged();
}

void TCustomColorsDlg::ResetClick() {
  chosen_.Clear();
  chosen_names_.clear();
  ChosenChanged();
}

void TCustomColorsDlg::AddAllClick() {
  WaitCursor wait;
  for (int32_t i = 0; i < pure_.Count(); ++i) AddChosen(pure_.GetClr(i), pure_.GetName(i));
  ChosenChanged();
}

void TCustomColorsDlg::TweedClick() {
  {
    WaitCursor wait;
    chosen_.MixColors();  // changes nothing when it refuses
  }
  chosen_names_.clear();
  for (int32_t i = 0; i < chosen_.Count(); ++i) chosen_names_.insert(FoldCase(chosen_.GetName(i)));
  ChosenChanged();
}

std::optional<FlossList> AskCustomColors(const TpunPal& working, QWidget* parent) {
  TCustomColorsDlg dialog(working, parent);
  if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}
