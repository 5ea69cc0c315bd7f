#include "design/ui/design_frm.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/settings.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"
#include "base/message_seam.h"
#include "design/ui/color_list_box.h"
#include "design/ui/design_grid.h"
#include "design/ui/design_history.h"
#include "design/ui/tool_glyphs.h"
#include "palette/floss_palette.h"

namespace {

struct ToolButton {
  const char* name;
  const char* hint;
};
// In the order of the tools' codes.
constexpr ToolButton kToolButtons[kDesignToolCount] = {
    {"CtrlPaint", "Pencil"},
    {"CtrlLine", "Line"},
    {"CtrlPickup", "Pickup color"},
    {"ctrlellipse", "Circle"},
    {"ctrlrect", "Square"},
    {"ctrlfill", "Fill"},
    {"ctrlfullrect", "Filled square"},
    {"ctrlfullellipse", "Filled circle"},
};

QSpinBox* SizeField(QWidget* parent, const char* name, int low, int high, int step) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(name);
  field->setRange(low, high);
  field->setSingleStep(step);
  field->setKeyboardTracking(false);
  field->setFixedWidth(58);
  return field;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

TDesignFrm::TDesignFrm(const TpunPal& palette, const TSettings& settings, DesignSeams seams,
                       QWidget* parent)
    : QWidget(parent), palette_(palette), settings_(settings), seams_(seams) {
  setObjectName("DesignFrm");
  SetHelpTopic(this, help_ids::kDesignEditor);  // F1 anywhere in the editor
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  history_ = new DesignHistory(
      design_, [this](const CellRect& changed) { HistoryChanged(changed); }, this);
  DrawGrid1 = new DesignGrid(design_, this);
  CreatePanel();
  CreateMenu();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(findChild<QWidget*>("Panel1"));
  layout->addWidget(DrawGrid1, 1);
  SetCaptionName(caption_name_);
  resize(kWidth, kHeight);

  // Creation in this order: the size and cell size, the floss names, the two colours.
  CtrlWidth->setValue(50);
  CtrlHeight->setValue(50);
  CtrlGridSize->setValue(7);
  design_.Resize(50, 50);
  ShowSize(50, 50);
  DrawGrid1->DesignResized();
  DrawGrid1->SetCellSize(7);
  FillColorLists();
  DrawGrid1->SetTool(DesignTool::Pencil);

  connect(DrawGrid1, &DesignGrid::cellReleased, this,
          [this](DesignTool tool, Cell cell, Qt::MouseButton button) {
            Guarded([&] { CellReleased(tool, cell, button); });
          });
  connect(DrawGrid1, &DesignGrid::dragFinished, this,
          [this](DesignTool tool, Cell start, Cell end, Qt::MouseButton button) {
            Guarded([&] { DragFinished(tool, start, end, button); });
          });
  connect(DrawGrid1, &DesignGrid::cellSizeChanged, CtrlGridSize, &QSpinBox::setValue);
  QUndoStack& stack = history_->Stack();
  connect(&stack, &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  connect(&stack, &QUndoStack::canUndoChanged, Undo1, &QAction::setEnabled);
  connect(&stack, &QUndoStack::canRedoChanged, Redo1, &QAction::setEnabled);
  Undo1->setEnabled(false);
  Redo1->setEnabled(false);
}

TDesignFrm::~TDesignFrm() = default;

void TDesignFrm::CreatePanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFixedHeight(kPanelHeight);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(2, 2, 2, 2);
  row->addWidget(CreateToolPart(), 1);
  row->addWidget(CreateColorPart());
}

QWidget* TDesignFrm::CreateToolPart() {
  auto* part = new QWidget;
  auto* grid = new QGridLayout(part);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(1);
  Tools = new QButtonGroup(this);
  Tools->setExclusive(true);
  QToolButton* buttons[kDesignToolCount];
  for (int code = 0; code < kDesignToolCount; ++code) {
    auto* button = new QToolButton(part);
    button->setObjectName(kToolButtons[code].name);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFixedSize(26, 26);
    button->setIconSize(QSize(20, 20));
    button->setIcon(ToolGlyph(DesignTool(code)));
    SetHint(button, kToolButtons[code].hint);
    Tools->addButton(button, code);
    grid->addWidget(button, code / 4, code % 4);
    buttons[code] = button;
  }
  CtrlPaint = buttons[0], CtrlLine = buttons[1], CtrlPickup = buttons[2];
  ctrlellipse = buttons[3], ctrlrect = buttons[4], ctrlfill = buttons[5];
  ctrlfullrect = buttons[6], ctrlfullellipse = buttons[7];
  CtrlPaint->setChecked(true);
  connect(Tools, &QButtonGroup::idClicked, this,
          [this](int code) { DrawGrid1->SetTool(DesignTool(code)); });

  Label1 = NamedLabel(part, "Label1", "Image Width :");
  Label2 = NamedLabel(part, "Label2", "Image Height :");
  Label3 = NamedLabel(part, "Label3", "Cell size :");
  CtrlWidth = SizeField(part, "CtrlWidth", 10, 1000, 5);
  CtrlHeight = SizeField(part, "CtrlHeight", 10, 1000, 5);
  CtrlGridSize = SizeField(part, "CtrlGridSize", 5, 100, 1);
  const QLabel* labels[] = {Label1, Label2, Label3};
  QSpinBox* fields[] = {CtrlWidth, CtrlHeight, CtrlGridSize};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(const_cast<QLabel*>(labels[i]), i, 5, Qt::AlignRight);
    grid->addWidget(fields[i], i, 6);
  }
  grid->setColumnMinimumWidth(4, 6);
  grid->setColumnStretch(7, 1);
  connect(CtrlWidth, &QSpinBox::editingFinished, this, GuardedSlot([this] { SizeFieldLeft(); }));
  connect(CtrlHeight, &QSpinBox::editingFinished, this, GuardedSlot([this] { SizeFieldLeft(); }));
  connect(CtrlGridSize, &QSpinBox::editingFinished, this, GuardedSlot([this] { GridSizeLeft(); }));
  return part;
}

QWidget* TDesignFrm::CreateColorPart() {
  auto* part = new QFrame;
  part->setObjectName("Panel2");
  part->setFixedWidth(343);
  part->setFrameShape(QFrame::Panel);
  part->setFrameShadow(QFrame::Sunken);
  auto* grid = new QGridLayout(part);
  grid->setContentsMargins(3, 2, 3, 2);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(1);
  Label8 = NamedLabel(part, "Label8", "DMC Colors :");
  Label6 = NamedLabel(part, "Label6", "Foreground color :");
  Label7 = NamedLabel(part, "Label7", "Background color :");
  // Painting must not throw: a row the palette no longer has shows black.
  CtrlDmcNames = new ColorListBox(
      [this](int row) {
        return row >= 0 && row < palette_.Count() ? palette_.GetClr(row) : MakeColor(0, 0, 0);
      },
      part);
  CtrlForeColor = new ColorListBox(part);
  CtrlBackColor = new ColorListBox(part);
  CtrlDmcNames->setObjectName("CtrlDmcNames");
  CtrlForeColor->setObjectName("CtrlForeColor");
  CtrlBackColor->setObjectName("CtrlBackColor");
  SetHint(CtrlDmcNames, "DMC Color list|Full DMC Color list");
  SetHint(CtrlForeColor, "Fore colors|Foreground color list (left mouse button when painting)");
  SetHint(CtrlBackColor, "Back colors|Background color list (right mouse button when painting)");
  const auto add = [part](const char* name, const char* hint) {
    auto* button = new QToolButton(part);
    button->setObjectName(name);
    button->setText("<<");
    button->setFixedSize(26, 20);
    SetHint(button, hint);
    return button;
  };
  ctrladdfore = add("ctrladdfore",
                    "Add Color|Add current DMC Color to foreground color list (left mouse button)");
  ctrladdback = add("ctrladdback", "Add Color|Add current DMC Color to background color list");
  grid->addWidget(Label8, 0, 0);
  grid->addWidget(CtrlDmcNames, 0, 1);
  grid->addWidget(Label6, 1, 0);
  grid->addWidget(CtrlForeColor, 1, 1);
  grid->addWidget(ctrladdfore, 1, 2);
  grid->addWidget(Label7, 2, 0);
  grid->addWidget(CtrlBackColor, 2, 1);
  grid->addWidget(ctrladdback, 2, 2);
  grid->setColumnStretch(1, 1);
  connect(ctrladdfore, &QToolButton::clicked, this, GuardedSlot([this] { ctrladdforeClick(); }));
  connect(ctrladdback, &QToolButton::clicked, this, GuardedSlot([this] { ctrladdbackClick(); }));
  connect(CtrlForeColor, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) ForeColor = CtrlForeColor->ColorAt(row);
  });
  connect(CtrlBackColor, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) BackColor = CtrlBackColor->ColorAt(row);
  });
  return part;
}

void TDesignFrm::CreateMenu() {
  DesignMenu = new QMenu("&Design", this);
  DesignMenu->setObjectName("DesignMenu");
  const auto item = [this](const char* name, const char* text, auto body) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, GuardedSlot(std::move(body)));
    addAction(action);  // its keys work in the editor wherever the menu is
    return action;
  };
  Undo1 = item("Undo1", "&Undo", [this] { history_->Stack().undo(); });
  Redo1 = item("Redo1", "&Redo", [this] { history_->Stack().redo(); });
  Load1 = item("Load1", "&Load", [this] { Load1Click(); });
  Save1 = item("Save1", "&Save", [this] { Save1Click(); });
  Close1 = item("Close1", "&Close", [this] { Close1Click(); });
  Undo1->setShortcut(QKeySequence("Ctrl+Z"));
  Redo1->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
  DesignMenu->addActions({Undo1, Redo1, Load1, Save1});
  DesignMenu->addSeparator();
  DesignMenu->addAction(Close1);
  // Zoom has keys only: the centre cell stays where it is.
  ZoomIn1 = item("ZoomIn1", "Zoom in", [this] { DrawGrid1->ZoomAtCentre(+1); });
  ZoomOut1 = item("ZoomOut1", "Zoom out", [this] { DrawGrid1->ZoomAtCentre(-1); });
  ZoomIn1->setShortcuts({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")});
  ZoomOut1->setShortcut(QKeySequence("Ctrl+-"));
  for (QAction* action : {Undo1, Redo1, ZoomIn1, ZoomOut1})
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
}

void TDesignFrm::FillColorLists() {
  QStringList names;
  names.reserve(palette_.Count());
  for (int32_t i = 0; i < palette_.Count(); ++i)
    names << QString::fromStdString(palette_.GetName(i));
  CtrlDmcNames->addItems(names);
  if (palette_.Count() == 0) {
    // Nothing to choose from: black and white, and the lists stay empty.
    ForeColor = MakeColor(0, 0, 0);
    BackColor = MakeColor(255, 255, 255);
    return;
  }
  CtrlDmcNames->setCurrentIndex(0);
  const int32_t last = palette_.Count() - 1;
  CtrlForeColor->AddColor(names[last], palette_.GetClr(last));
  CtrlBackColor->AddColor(names[0], palette_.GetClr(0));
  CtrlForeColor->setCurrentIndex(0);
  CtrlBackColor->setCurrentIndex(0);
  ForeColor = palette_.GetClr(last);
  BackColor = palette_.GetClr(0);
}

MessageSeam& TDesignFrm::Messages() const {
  return seams_.messages ? *seams_.messages : ::Messages();
}

FileDialogSeam& TDesignFrm::Dialogs() const {
  return seams_.dialogs ? *seams_.dialogs : FileDialogs();
}

DesignTool TDesignFrm::Tool() const {
  return DrawGrid1->Tool();
}

void TDesignFrm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && DrawGrid1->Dragging()) {
    DrawGrid1->CancelDrag();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TDesignFrm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (watching_area_) return;
  // Another child window becoming current ends a drag, as the window losing activation does.
  for (QWidget* up = parentWidget(); up; up = up->parentWidget())
    if (auto* area = qobject_cast<QMdiArea*>(up)) {
      connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window != parentWidget()) DrawGrid1->CancelDrag();
      });
      watching_area_ = true;
      break;
    }
}

void TDesignFrm::closeEvent(QCloseEvent* event) {
  bool may_close = false;
  if (!Guarded([&] { may_close = SaveQuestion(); }) || !may_close) {
    event->ignore();
    return;
  }
  event->accept();
}

void TDesignFrm::Close1Click() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->close();
  else
    close();
}
