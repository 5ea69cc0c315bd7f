#pragma once
// The pattern grid window: a document's composition as a counted cross-stitch pattern, one
// cell per picture pixel showing the symbol of its floss. At most one per document.

#include <QPointer>
#include <QString>
#include <QWidget>

class PatternGridWidget;
class QLabel;
class QScrollArea;
class TMDIChild;

class TGridForm : public QWidget {
  Q_OBJECT

 public:
  // The cell edge is the CellSize setting, within 8 to 64.
  explicit TGridForm(TMDIChild* document);

  // Binds the window to its document: the counts of the composition's picture, the caption
  // after the document's, and the symbols' size cache emptied. Run again after the picture
  // was turned or resized.
  void SetUp(TMDIChild* document);

  // The line shown above the grid while the palette has more colours than the table has
  // symbols; empty otherwise.
  static QString SymbolShortageText(int symbols, int colors);

  PatternGridWidget* DrawGrid1;
  QScrollArea* ScrollBox;
  QLabel* ShortageLine;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowSymbolShortage();

  QPointer<TMDIChild> document_;
};
