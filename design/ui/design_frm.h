#pragma once
// "Design Editor": a small paint window for designs drawn in floss colours, one cell per
// stitch, saved and loaded as BMP or PNG pictures. An MDI child of the frame; its "&Design"
// menu joins the frame's menu bar while it is current.

#include <QString>
#include <QWidget>

#include "base/color.h"
#include "design/design_raster.h"
#include "design/ui/design_tool.h"

class ColorListBox;
class DesignGrid;
class DesignHistory;
class FileDialogSeam;
class MessageSeam;
class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;
class TpunPal;
struct TSettings;

// Where the editor's questions and file dialogs go; none: the seams installed at the time.
struct DesignSeams {
  MessageSeam* messages = nullptr;
  FileDialogSeam* dialogs = nullptr;
};

class TDesignFrm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 637, kHeight = 427, kPanelHeight = 77;

  TDesignFrm(const TpunPal& palette, const TSettings& settings, DesignSeams seams = {},
             QWidget* parent = nullptr);
  ~TDesignFrm() override;

  // The caption as shown, without Qt's modified mark.
  QString Caption() const;
  bool Modified() const;
  DesignHistory& History() { return *history_; }
  const DesignRaster& Design() const { return design_; }

  // The tool buttons in the order of the tools' codes.
  QToolButton *CtrlPaint, *CtrlLine, *CtrlPickup, *ctrlellipse, *ctrlrect, *ctrlfill, *ctrlfullrect,
      *ctrlfullellipse;
  QButtonGroup* Tools;
  QLabel *Label1, *Label2, *Label3, *Label6, *Label7, *Label8;
  QSpinBox *CtrlWidth, *CtrlHeight, *CtrlGridSize;
  ColorListBox *CtrlDmcNames, *CtrlForeColor, *CtrlBackColor;
  QToolButton *ctrladdfore, *ctrladdback;
  DesignGrid* DrawGrid1;
  QMenu* DesignMenu;
  QAction *Undo1, *Redo1, *Load1, *Save1, *Close1, *ZoomIn1, *ZoomOut1;

  TColor ForeColor = 0, BackColor = 0;

  DesignTool Tool() const;
  void ctrladdforeClick();
  void ctrladdbackClick();
  // "&Save": true when the design was written.
  bool Save1Click();
  void Load1Click();
  void Close1Click();

  // Leaving the size fields and the cell size field.
  void SizeFieldLeft();
  void GridSizeLeft();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreatePanel();
  QWidget* CreateToolPart();
  QWidget* CreateColorPart();
  void CreateMenu();
  void FillColorLists();
  MessageSeam& Messages() const;
  FileDialogSeam& Dialogs() const;

  // The mouse's work on the design.
  void CellReleased(DesignTool tool, Cell cell, Qt::MouseButton button);
  void DragFinished(DesignTool tool, Cell start, Cell end, Qt::MouseButton button);
  void PickUp(Cell cell, Qt::MouseButton button);
  TColor PaintColor(Qt::MouseButton button) const;
  // Paints with `rule`, whose cells all lie in `bounds`, as one step of the history.
  void PaintRecorded(const QString& text, const CellRect& bounds,
                     std::function<CellRect(DesignRaster&)> rule);
  void HistoryChanged(const CellRect& changed);

  void AddColor(ColorListBox* list, TColor& current);
  void ShowSize(int width, int height);
  bool AcceptableSide(int value, int current) const;
  QString StartFolder() const;
  bool SaveTo(QString path);
  // The question about unsaved changes: true when the caller may go on.
  bool SaveQuestion();
  void SetCaptionName(const QString& name);

  const TpunPal& palette_;
  const TSettings& settings_;
  DesignSeams seams_;
  DesignRaster design_;
  DesignHistory* history_;
  QString file_;                            // the design's file, none while untitled
  QString caption_name_ = " UNTITLED.BMP";  // between the caption's brackets
  int shown_width_ = 0, shown_height_ = 0;  // what the grid and the size fields show
  bool in_size_change_ = false;
  bool watching_area_ = false;
};
