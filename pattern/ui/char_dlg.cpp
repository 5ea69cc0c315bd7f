#include "pattern/ui/char_dlg.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/program_folders.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/named.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/exceptions.h"
#include "base/message_seam.h"
#include "pattern/draw/symbol_drawing.h"
#include "pattern/draw/symbol_face.h"
#include "pattern/symbol_table.h"
#include "pattern/ui/cell_grid.h"

namespace {

constexpr const char* kGridHint =
    "|Double click removes the character (Right button for  popup menu)";
constexpr const char* kPickerHint =
    "|Double click adds the character to the table (Right button for  popup menu)";

// The number a picker cell stands for; a double-click stores it as it is (up to 291).
int PickerNumber(int column, int row) {
  return row * TCharDlg::kPickerColumns + column + 32;
}

// Every code the picker shows, once, in the order of its cells: 32 to 255, then 0 to 31.
std::vector<int> PickerCodesOnce() {
  std::vector<int> codes;
  std::vector<bool> seen(256, false);
  for (int row = 0; row < TCharDlg::kPickerRows; ++row)
    for (int column = 0; column < TCharDlg::kPickerColumns; ++column) {
      const int code = PickerNumber(column, row) % 256;
      if (!seen[size_t(code)]) codes.push_back(code);
      seen[size_t(code)] = true;
    }
  return codes;
}

QFont FaceFont(const SymbolFace& face, const QFont& base) {
  QFont font = base;
  font.setFamily(face.family);
  font.setStyleStrategy(QFont::NoFontMerging);
  return font;
}

QString TextOf(char32_t character) {
  return QString::fromUcs4(&character, 1);
}

// Whether the character `code` of the font shows as a symbol: the font has it and it has ink.
bool DrawsInk(const std::string& family, int code) {
  const SymbolFace face = FaceFor(family, code);
  if (!face.parsed || !face.character) return false;
  const QFont font = FaceFont(face, QFont());
  if (!QFontMetrics(font).inFontUcs4(face.character)) return false;
  QPainterPath path;
  path.addText(0, 0, font, TextOf(face.character));
  return !path.boundingRect().isEmpty();
}

}  // namespace

TCharDlg::TCharDlg(::SymbolTable& table, SymbolDrawing& symbols, QWidget* parent)
    : QDialog(parent), table_(table), symbols_(symbols) {
  SetHelpTopic(this, help_ids::kCharacterTable);
  setObjectName("CharDlg");
  setWindowTitle("Character Table");
  CreateControls();
  CreateMenu();
  setFixedSize(sizeHint().expandedTo(QSize(557, 394)));
}

void TCharDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  Panel1 = Named(new QWidget(this), "Panel1");
  outer->addWidget(Panel1);
  SetHint(Panel1, "Click right button for a popup menu");

  Label2 = Named(new QLabel("Number of characters in table :", Panel1), "Label2");
  label1 = Named(new QLabel(Panel1), "label1");
  label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label1->setMinimumWidth(60);
  label1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  label1->setAlignment(Qt::AlignCenter);
  MissingFonts = Named(new QLabel(Panel1), "MissingFonts");
  MissingFonts->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  DrawGrid1 = Named(new CellGrid(kTableColumns, kCellEdge, 8, Panel1), "DrawGrid1");
  DrawGrid1->SetCellPainter(
      [this](QPainter& p, int c, int r, const QRect& cell) { DrawTableCell(p, c, r, cell); });
  SetHint(DrawGrid1, kGridHint);
  StringGrid1 = Named(new CellGrid(kPickerColumns, kCellEdge, 6, Panel1), "StringGrid1");
  StringGrid1->SetCellPainter(
      [this](QPainter& p, int c, int r, const QRect& cell) { DrawPickerCell(p, c, r, cell); });
  SetHint(StringGrid1, kPickerHint);
  ListBox1 = Named(new QListWidget(Panel1), "ListBox1");
  // Wide enough for a usual entry beside the table grid; a longer family name scrolls.
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ListBox1->setFixedWidth(ListBox1->fontMetrics().horizontalAdvance("MS Sans Serif,255") +
                          ListBox1->verticalScrollBar()->sizeHint().width() +
                          2 * ListBox1->frameWidth() + 8);
  SetHint(ListBox1, kGridHint);

  connect(DrawGrid1, &CellGrid::cellClicked, this,
          [this](int c, int r) { Guarded([&] { DrawGrid1Click(c, r); }); });
  connect(DrawGrid1, &CellGrid::cellDoubleClicked, this,
          [this](int c, int r) { Guarded([&] { DrawGrid1DblClick(c, r); }); });
  connect(StringGrid1, &CellGrid::cellDoubleClicked, this,
          [this](int c, int r) { Guarded([&] { StringGrid1DblClick(c, r); }); });
  connect(ListBox1, &QListWidget::itemDoubleClicked, this,
          GuardedSlot([this] { ListBox1DblClick(); }));

  auto* count = new QHBoxLayout;
  count->addWidget(Label2);
  count->addWidget(label1);
  count->addStretch();
  auto* grid = new QGridLayout(Panel1);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->addLayout(count, 0, 0, 1, 2);
  grid->addWidget(MissingFonts, 1, 0, 1, 2);
  grid->addWidget(DrawGrid1, 2, 0, 1, 2);
  grid->addWidget(StringGrid1, 3, 0);
  grid->addWidget(ListBox1, 0, 2, 4, 1);
  grid->setColumnStretch(1, 1);
}

void TCharDlg::CreateMenu() {
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  const auto add = [this](const char* name, const char* text, const QKeySequence& key,
                          void (TCharDlg::*slot)()) {
    auto* action = Named(new QAction(text, this), name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, GuardedSlot([this, slot] { (this->*slot)(); }));
    addAction(action);  // the keys work anywhere in the dialog
    PopupMenu1->addAction(action);
    return action;
  };
  Sorttable1 = add("Sorttable1", "S&ort table", QKeySequence("Ctrl+O"), &TCharDlg::Sorttable1Click);
  Clearthetable1 = add("Clearthetable1", "&Clear the table", QKeySequence("Ctrl+C"),
                       &TCharDlg::Clearthetable1Click);
  PopupMenu1->addSeparator();
  LoadFont1 = add("LoadFont1", "&Load Font", QKeySequence("Ctrl+L"), &TCharDlg::LoadFont1Click);
  AddAllCharacters1 = add("AddAllCharacters1", "Add All Characters", QKeySequence("Ctrl+A"),
                          &TCharDlg::AddAllCharacters1Click);
  PopupMenu1->addSeparator();
  Help1 = Named(PopupMenu1->addAction("&Help"), "Help1");
  connect(Help1, &QAction::triggered, this,
          GuardedSlot([] { ShowHelp(help_ids::kCharacterTable); }));
  PopupMenu1->addSeparator();
  Close1 = Named(new QAction("&Close", this), "Close1");
  Close1->setShortcut(QKeySequence("Ctrl+F4"));
  connect(Close1, &QAction::triggered, this, &QDialog::reject);
  addAction(Close1);
  PopupMenu1->addAction(Close1);

  for (QWidget* widget :
       std::initializer_list<QWidget*>{Panel1, DrawGrid1, StringGrid1, ListBox1}) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
            [this, widget](const QPoint& point) { PopupAt(widget, point); });
  }
}

void TCharDlg::PopupAt(QWidget* widget, const QPoint& point) {
  // Scroll areas give the point in their viewport's coordinates.
  QWidget* origin = widget;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) origin = area->viewport();
  PopupMenu1->popup(origin->mapToGlobal(point));
}

void TCharDlg::showEvent(QShowEvent* event) {
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
  if (!activated_) FormActivate();
}

void TCharDlg::done(int result) {
  activated_ = false;  // shown again, it starts from the table of that time
  QDialog::done(result);
}

void TCharDlg::FormActivate() {
  activated_ = true;
  FillList();
  Rows();
  StringGrid1->SetRowCount(kPickerRows);
  symbols_.ResetFontCache();
}

std::vector<std::string> TCharDlg::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(size_t(ListBox1->count()));
  for (int i = 0; i < ListBox1->count(); ++i)
    lines.push_back(ListBox1->item(i)->text().toStdString());
  return lines;
}

void TCharDlg::FillList() {
  QStringList lines;
  lines.reserve(table_.Count());
  for (const std::string& entry : table_.Entries()) lines.push_back(QString::fromStdString(entry));
  ListBox1->clear();
  ListBox1->addItems(lines);
  ShowCount();
}

void TCharDlg::AppendLine(const std::string& line) {
  ListBox1->addItem(QString::fromStdString(line));
}

void TCharDlg::DeleteSelectedLine() {
  QListWidgetItem* item = ListBox1->currentItem();
  if (item && item->isSelected()) delete ListBox1->takeItem(ListBox1->row(item));
}

bool TCharDlg::Commit(bool keep_sizes) {
  std::vector<std::string> lines = Lines();
  const std::string path = UserSymbolTableFile();
  try {
    if (!EnsureFolderExists(UserDataFolder())) throw EInOutError(path);
    SaveSymbolTable(path, lines);
  } catch (const EInOutError&) {
    ShowCount();
    Messages().Error(FormatMessage("Cannot create file %s", path));
    return false;
  }
  table_.SetEntries(std::move(lines));
  const std::optional<std::string> error = symbols_.TableChanged(keep_sizes);
  ShowCount();
  DrawGrid1->Repaint();
  if (error) Messages().Error(*error);
  return true;
}

void TCharDlg::Rows() {
  DrawGrid1->SetRowCount(ListBox1->count() / kTableColumns + 1);
}

void TCharDlg::ShowCount() {
  label1->setText(QString::number(ListBox1->count()));
  QStringList missing;
  for (const auto& [name, family] : symbols_.MissingFonts())
    missing.push_back(QString("%1 \u2192 %2").arg(QString::fromStdString(name), family));
  const QString text = missing.isEmpty() ? QString() : "Not installed: " + missing.join(", ");
  // One line; the whole list is the line's tooltip.
  MissingFonts->setToolTip(text);
  MissingFonts->setText(
      MissingFonts->fontMetrics().elidedText(text, Qt::ElideRight, DrawGrid1->width()));
}

void TCharDlg::DrawTableCell(QPainter& painter, int column, int row, const QRect& cell) {
  symbols_.DrawSymbol(row * kTableColumns + column, cell.x(), cell.y(), kCellEdge, painter);
}

void TCharDlg::DrawPickerCell(QPainter& painter, int column, int row, const QRect& cell) {
  if (!picker_font_) return;
  const SymbolFace face = FaceFor(picker_font_->family().toStdString(), PickerNumber(column, row));
  if (!face.parsed || !face.character) return;
  painter.setFont(FaceFont(face, *picker_font_));
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(cell, Qt::AlignCenter, TextOf(face.character));
}

void TCharDlg::Sorttable1Click() {
  WaitCursor wait;
  QCoreApplication::processEvents();
  const std::vector<std::string> before = table_.Entries();
  symbols_.SortByInk(kCellEdge);
  FillList();
  DrawGrid1->SetRowCount(ListBox1->count() / 12 + 1);
  // The sorted order is written like any edit; a failed write leaves the table unsorted.
  if (!Commit(true)) {
    table_.SetEntries(before);
    symbols_.TableChanged(true);
    DrawGrid1->Repaint();
  }
}

void TCharDlg::Clearthetable1Click() {
  if (!Messages().Confirm("Clear the whole character table ?")) return;
  WaitCursor wait;
  ListBox1->clear();
  AppendLine(kDefaultSymbolEntry);
  Commit();
  Rows();
}

void TCharDlg::LoadFont1Click() {
  const std::optional<QFont> chosen = AskFont(this, picker_font_.value_or(font()));
  if (!chosen) return;
  if (chosen->family().contains(',')) {
    Messages().Error("The font \"" + chosen->family().toStdString() +
                     "\" has a comma in its name: the character table cannot hold it.");
    return;
  }
  WaitCursor wait;
  picker_font_ = *chosen;
  StringGrid1->setFont(*chosen);
  StringGrid1->viewport()->repaint();
}

void TCharDlg::AddAllCharacters1Click() {
  if (!picker_font_) return;
  WaitCursor wait;
  const std::string family = picker_font_->family().toStdString();
  for (int code : PickerCodesOnce())
    if (DrawsInk(family, code)) AppendLine(family + "," + std::to_string(code));
  Commit();
  Rows();
}

void TCharDlg::StringGrid1DblClick(int column, int row) {
  if (!picker_font_) return;
  AppendLine(picker_font_->family().toStdString() + "," +
             std::to_string(PickerNumber(column, row)));
  Commit();
  Rows();
}

void TCharDlg::DrawGrid1Click(int column, int row) {
  const int index = row * kTableColumns + column;
  if (index < ListBox1->count()) {
    ListBox1->setCurrentRow(index);
  } else {
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
  }
}

void TCharDlg::DrawGrid1DblClick(int column, int row) {
  WaitCursor wait;
  DrawGrid1Click(column, row);
  DeleteSelectedLine();
  Commit();
}

void TCharDlg::ListBox1DblClick() {
  DeleteSelectedLine();
  Commit();
}
