#pragma once
// "Character Table": the symbol table shown as symbols (DrawGrid1) and as lines (ListBox1),
// with a picker of one font's characters (StringGrid1). Every edit is committed at once:
// the lines are written to the user's table file, then they become the table.

#include <QDialog>
#include <QFont>
#include <optional>
#include <string>
#include <vector>

class CellGrid;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class SymbolDrawing;
class SymbolTable;

class TCharDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kCellEdge = 20;       // the symbols' edge in this dialog
  static constexpr int kTableColumns = 20;   // DrawGrid1
  static constexpr int kPickerColumns = 10;  // StringGrid1
  static constexpr int kPickerRows = 255 / kPickerColumns + 1;

  TCharDlg(::SymbolTable& table, SymbolDrawing& symbols, QWidget* parent = nullptr);

  QWidget* Panel1;
  QLabel *Label2, *label1;
  QLabel* MissingFonts;  // the table's fonts that are not installed, and their stand-ins
  CellGrid *DrawGrid1, *StringGrid1;
  QListWidget* ListBox1;
  QMenu* PopupMenu1;
  QAction *Sorttable1, *Clearthetable1, *LoadFont1, *AddAllCharacters1, *Help1, *Close1;

  // The picker's font, none before "&Load Font".
  const std::optional<QFont>& PickerFont() const { return picker_font_; }

  void Sorttable1Click();
  void Clearthetable1Click();
  void LoadFont1Click();
  void AddAllCharacters1Click();
  void StringGrid1DblClick(int column, int row);
  void DrawGrid1Click(int column, int row);
  void DrawGrid1DblClick(int column, int row);
  void ListBox1DblClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void CreateControls();
  void CreateMenu();
  void PopupAt(QWidget* widget, const QPoint& point);
  void FormActivate();
  std::vector<std::string> Lines() const;
  void FillList();
  void AppendLine(const std::string& line);
  void DeleteSelectedLine();
  // Writes the lines to the table file, then makes them the table; on a failed write shows
  // "Cannot create file ..." and leaves the table as it was. False then.
  bool Commit(bool keep_sizes = false);
  void Rows();
  void ShowCount();
  void DrawTableCell(QPainter& painter, int column, int row, const QRect& cell);
  void DrawPickerCell(QPainter& painter, int column, int row, const QRect& cell);

  ::SymbolTable& table_;
  SymbolDrawing& symbols_;
  std::optional<QFont> picker_font_;
  bool activated_ = false;
};
