#include "pattern/ui/report_frm.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/named.h"
#include "app/ui/slot_guard.h"
#include "palette/floss_palette.h"
#include "pattern/ui/report_item_delegate.h"

namespace {

constexpr int kPanelHeight = 65;
constexpr int kLongestSearch = 11;

// The lines are blank-padded columns: a fixed-width face keeps them aligned.
QFont ListFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  font.setPixelSize(16);
  return font;
}

QColor ColorOf(TColor color) {
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

}  // namespace

Treportfrm::Treportfrm(TpunPal& palette, QWidget* parent) : QDialog(parent), palette_(palette) {
  SetHelpTopic(this, help_ids::kFlossReport);
  setObjectName("reportfrm");
  setWindowTitle("Floss report");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  FabricLabel = Named(new QLabel(kUnknownFabric, this), "FabricLabel");
  FabricLabel->setContentsMargins(5, 3, 5, 3);
  FabricLabel->hide();
  column->addWidget(FabricLabel);
  ListBox1 = Named(new QListWidget(this), "ListBox1");
  ListBox1->setFont(ListFont());
  ListBox1->setUniformItemSizes(true);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setItemDelegate(
      new ReportItemDelegate([this](int row) { return SwatchOf(row); }, ListBox1));
  ListBox1->installEventFilter(this);
  column->addWidget(ListBox1, 1);
  column->addWidget(CreatePanel());
  resize(600, 281);
}

QWidget* Treportfrm::CreatePanel() {
  Panel1 = Named(new QWidget(this), "Panel1");
  Panel1->setFixedHeight(kPanelHeight);
  Panel1->hide();
  auto* row = new QHBoxLayout(Panel1);
  row->addStretch(1);
  Panel2 = Named(new QWidget(Panel1), "Panel2");
  row->addWidget(Panel2);
  auto* grid = new QGridLayout(Panel2);
  grid->setContentsMargins(0, 0, 0, 0);
  Label1 = Named(new QLabel("Text to search for :", Panel2), "Label1");
  Edit1 = Named(new QLineEdit("1 Dot", Panel2), "Edit1");
  Edit1->setMaxLength(kLongestSearch);
  Label1->setBuddy(Edit1);
  btnfind = Named(new QPushButton("&Find", Panel2), "btnfind");
  btnfindnext = Named(new QPushButton("Find &Next", Panel2), "btnfindnext");
  btnRemove = Named(new QPushButton("&Remove", Panel2), "btnRemove");
  // Enter finds; Esc only closes the window. Remove has its button and Alt+R, nothing else.
  for (QPushButton* button : {btnfind, btnfindnext, btnRemove}) button->setAutoDefault(false);
  btnfind->setDefault(true);
  btnfindnext->setEnabled(false);
  btnRemove->setEnabled(false);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Edit1, 1, 0);
  grid->addWidget(btnfind, 1, 1);
  grid->addWidget(btnfindnext, 1, 2);
  grid->addWidget(btnRemove, 1, 3);
  connect(Edit1, &QLineEdit::textChanged, this, GuardedSlot([this] { Edit1Change(); }));
  connect(btnfind, &QPushButton::clicked, this, GuardedSlot([this] { btnfindClick(); }));
  connect(btnfindnext, &QPushButton::clicked, this, GuardedSlot([this] { btnfindnextClick(); }));
  connect(btnRemove, &QPushButton::clicked, this, GuardedSlot([this] { btnRemoveClick(); }));
  return Panel1;
}

void Treportfrm::AddItem(const std::string& line) {
  ListBox1->addItem(QString::fromLatin1(line.data(), qsizetype(line.size())));
}

void Treportfrm::AddLines(const std::vector<std::string>& lines) {
  ListBox1->setUpdatesEnabled(false);
  for (const std::string& line : lines) AddItem(line);
  ListBox1->setUpdatesEnabled(true);
}

void Treportfrm::AddUsageLines(std::vector<UsageLine> lines) {
  ListBox1->setUpdatesEnabled(false);
  for (const UsageLine& line : lines) AddItem(line.text);
  ListBox1->setUpdatesEnabled(true);
  usage_.insert(usage_.end(), std::make_move_iterator(lines.begin()),
                std::make_move_iterator(lines.end()));
}

void Treportfrm::ShowUnknownFabric() {
  FabricLabel->show();
}

std::optional<QColor> Treportfrm::SwatchOf(int row) const {
  if (ReportKind != kColorUsageReport) return std::nullopt;
  // Drawn without a color rather than raising while painting, should a line lose its entry.
  if (row < 0 || size_t(row) >= usage_.size()) return QColor(Qt::white);
  const int32_t index = usage_[size_t(row)].index;
  if (index < 0 || index >= palette_.Count()) return QColor(Qt::white);
  return ColorOf(palette_.GetClr(index));
}

int Treportfrm::SelectedRow() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.front());
}

void Treportfrm::Select(int row) {
  ListBox1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

int Treportfrm::FindFrom(int from) const {
  const QString text = Edit1->text();
  for (int row = std::max(from, 0); row < ListBox1->count(); ++row)
    if (ListBox1->item(row)->text().contains(text, Qt::CaseSensitive)) return row;
  return -1;
}

void Treportfrm::Edit1Change() {
  btnfind->setEnabled(!Edit1->text().isEmpty());
  btnfindnext->setEnabled(false);
}

void Treportfrm::btnfindClick() {
  const int row = FindFrom(0);
  if (row < 0) return;
  Select(row);
  btnfind->setEnabled(false);
  btnfindnext->setEnabled(true);
  btnRemove->setEnabled(MayRemoveColor(palette_));
}

void Treportfrm::btnfindnextClick() {
  const int selected = SelectedRow();
  if (selected == ListBox1->count() - 1) return;
  const int row = FindFrom(selected + 1);
  if (row >= 0) {
    Select(row);
    btnRemove->setEnabled(MayRemoveColor(palette_));
  } else {
    btnfindnext->setEnabled(false);
    btnfind->setEnabled(true);
  }
}

void Treportfrm::btnRemoveClick() {
  const int row = SelectedRow();
  const int32_t index = row >= 0 && size_t(row) < usage_.size() ? usage_[size_t(row)].index : -1;
  if (ReportKind == kColorUsageReport && row >= 0 &&
      RemoveUsageColor(palette_, usage_, size_t(row))) {
    if (OnColorRemoved) OnColorRemoved(index);
    delete ListBox1->takeItem(row);
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(-1);
    ColorsRemoved = true;
  }
  btnRemove->setEnabled(false);
}

void Treportfrm::CopyLine() {
  const int row = SelectedRow();
  if (row >= 0) QGuiApplication::clipboard()->setText(ListBox1->item(row)->text());
}

bool Treportfrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) Guarded([this] { CopyLine(); });
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void Treportfrm::showEvent(QShowEvent* event) {
  // Centred on the screen, whoever opened it.
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
}
