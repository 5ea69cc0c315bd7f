#pragma once
// The report window: the lines of the floss report, or of the color usage report with a
// swatch of each line's color and a panel to find lines and remove their colors from the
// composition's working palette. Modal; its owner shows it and acts on ColorsRemoved.

#include <QColor>
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pattern/report_lines.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TpunPal;

class Treportfrm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int32_t kFlossReport = 0, kColorUsageReport = 1;
  static constexpr const char* kUnknownFabric = "Unknown fabric: lengths not computed";

  // `palette`: the composition's working palette, which Remove deletes from.
  explicit Treportfrm(TpunPal& palette, QWidget* parent = nullptr);

  int32_t ReportKind = kFlossReport;
  bool ColorsRemoved = false;
  // Told the palette index of every entry Remove deletes, at once, so that what refers to
  // the palette by index (the transparent colour) follows it while the window is open.
  std::function<void(int32_t index)> OnColorRemoved;

  QLabel* FabricLabel;  // kUnknownFabric, shown above the lines when it applies
  QListWidget* ListBox1;
  QWidget *Panel1, *Panel2;
  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton *btnfind, *btnfindnext, *btnRemove;

  // The floss report's lines, in order.
  void AddLines(const std::vector<std::string>& lines);
  // The color usage report's lines; each keeps the palette entry it counts.
  void AddUsageLines(std::vector<UsageLine> lines);
  void ShowUnknownFabric();

  void Edit1Change();
  void btnfindClick();
  void btnfindnextClick();
  void btnRemoveClick();
  // The selected line to the clipboard (Ctrl+C in the list).
  void CopyLine();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* CreatePanel();
  void AddItem(const std::string& line);
  int SelectedRow() const;
  void Select(int row);
  // The first line from `from` on that holds Edit1's text, -1 for none.
  int FindFrom(int from) const;
  std::optional<QColor> SwatchOf(int row) const;

  TpunPal& palette_;
  std::vector<UsageLine> usage_;
};
