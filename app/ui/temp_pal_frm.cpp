#include "app/ui/temp_pal_frm.h"

#include <QAction>
#include <QCloseEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/add_color_dlg.h"
#include "app/ui/floss_item_delegate.h"
#include "app/ui/help_topic.h"
#include "app/ui/main_form.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/message_seam.h"

TTempPalFrm::TTempPalFrm(TMainForm* frame) : frame_(frame) {
  SetHelpTopic(this, help_ids::kTempPalette);
  setObjectName("TempPalFrm");
  setWindowTitle("Temporary Palette");
  resize(kWidth, kHeight);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setItemDelegate(
      new FlossItemDelegate(frame_->TempPalette, kItemHeight, font(), ListBox1));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListBox1);

  TempPaletteMenu = new QMenu("&TempPalette", this);
  const auto item = [this](const char* name, const char* text, void (TTempPalFrm::*method)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, GuardedSlot([this, method] { (this->*method)(); }));
    return action;
  };
  MixColors1 = item("MixColors1", "&Mix Colors", &TTempPalFrm::MixColors1Click);
  Delete1 = item("Delete1", "&Delete", &TTempPalFrm::Delete1Click);
  Add1 = item("Add1", "&Add", &TTempPalFrm::Add1Click);
  Clear1 = item("Clear1", "&Clear", &TTempPalFrm::Clear1Click);
  Close1 = item("Close1", "C&lose", &TTempPalFrm::Close1Click);
  PopupMenu = new QMenu(this);
  for (QMenu* menu : {TempPaletteMenu, PopupMenu}) {
    menu->addAction(MixColors1);
    menu->addSeparator();
    menu->addActions({Delete1, Add1, Clear1});
    menu->addSeparator();
    menu->addAction(Close1);
  }
  ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ListBox1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu->popup(ListBox1->viewport()->mapToGlobal(at)); });
  connect(frame_, &TMainForm::tempPaletteChanged, this, GuardedSlot([this] { Relist(); }));
  Relist();
}

void TTempPalFrm::closeEvent(QCloseEvent* event) {
  // The frame's item comes back as the window closes, before it is freed.
  QWidget::closeEvent(event);
  if (frame_->TempPaletteWindow == this) {
    frame_->TempPaletteWindow = nullptr;
    frame_->UpdateCommands();
  }
}

void TTempPalFrm::Relist() {
  ListBox1->clear();
  const TpunPal& palette = frame_->TempPalette;
  QStringList names;
  names.reserve(palette.Count());
  for (int32_t i = 0; i < palette.Count(); ++i) names << QString::fromLatin1(palette.GetName(i));
  ListBox1->addItems(names);
}

void TTempPalFrm::Changed() {
  emit frame_->tempPaletteChanged();
}

void TTempPalFrm::MixColors1Click() {
  {
    WaitCursor wait;
    frame_->TempPalette.MixColors();
  }
  Changed();
}

void TTempPalFrm::Delete1Click() {
  QListWidgetItem* selected = ListBox1->currentItem();
  if (!selected || !selected->isSelected()) return;
  int32_t index = -1;
  if (!frame_->TempPalette.IndexOfName(selected->text().toLatin1().toStdString(), index)) return;
  frame_->TempPalette.Delete(index);
  Changed();
}

void TTempPalFrm::Add1Click() {
  const TpunPal& main = frame_->MainPalette;
  TaddColorDlg dialog(main, this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  const int chosen = dialog.SelectedIndex();
  if (chosen < 0 || chosen >= main.Count()) return;
  const std::string name = main.GetName(chosen);
  int32_t present = -1;
  if (frame_->TempPalette.IndexOfName(name, present)) {
    Messages().Error("Color allready in palette !");
    return;
  }
  frame_->TempPalette.AddClr(main.GetClr(chosen), name);
  Changed();
}

void TTempPalFrm::Clear1Click() {
  frame_->TempPalette.Clear();
  Changed();
}

void TTempPalFrm::Close1Click() {
  // The MDI frame around the list is what closes; the list goes with it.
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->close();
  else
    close();
}
