#pragma once
// The stitch design window: a composition's picture as an enlarged colour chart, one cell
// per pixel between one-pixel grid lines, and a legend of its floss, built in three steps
// (grid, image, colour list) at a cell size the user picks, and saved as bitmaps.

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/progress.h"
#include "pattern/design_geometry.h"

class ChartView;
class QLabel;
class QMdiSubWindow;
class QPushButton;
class QScrollArea;
class SpinEdit;
class TMDIChild;
class TMainForm;

class TModelFrm : public QWidget {
  Q_OBJECT

 public:
  // The picture is the document's displayed one, copied; the document's caption is kept.
  TModelFrm(TMDIChild* document, const QImage& picture);
  ~TModelFrm() override;  // tells the document its design window is gone

  bool Busy() const { return busy_; }
  uint16_t CellSize() const { return cell_size_; }
  const QImage& Chart() const { return chart_; }
  const QImage& Legend() const { return legend_; }
  const QFont& LegendFont() const { return legend_font_; }
  QString DocumentCaption() const { return document_caption_; }

  // Where the steps report; by default the frame's status line, letting events run (at
  // most every few milliseconds). Replaceable, to watch the steps.
  ProgressHandler OnProgress;

  // Controls (named after their roles).
  QWidget *Panel1, *Panel2;
  QLabel* Label1;
  SpinEdit* SpinEdit1;
  QPushButton *BtnReset, *drawgrd, *mapimg, *colors, *btnfont, *btnsave;
  QScrollArea *ScrollBox1, *ScrollBox2;
  ChartView *Image1, *Image2;

  // The commands of the buttons and the spin.
  void Reset();
  void DrawGridClick();
  void MapImageClick();
  void ColorsClick();
  void FontClick();
  void SaveClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  QPushButton* Button(const char* name, const char* caption, const char* hint, bool enabled);
  ProgressHandler FrameProgress();
  // Runs one drawing step in the working state; false when the window went meanwhile.
  bool RunStep(const std::function<void(const ProgressHandler&)>& draw);
  // A step may start: the window and its document are idle.
  bool MayStart() const;
  // The frame's status line shows no text and no progress.
  bool StatusLineClear() const;
  void SetWorking(bool working);
  void SubWindowActivated(QMdiSubWindow* window);

  QPointer<TMDIChild> document_;
  QPointer<TMainForm> frame_;
  QImage picture_, chart_, legend_;
  QFont legend_font_;
  QString document_caption_;
  uint16_t cell_size_ = kDefaultDesignCell;
  bool busy_ = false;
  bool legend_drawn_ = false;
  QPointer<QMdiSubWindow> last_active_;
  struct ProgressPace;
  std::shared_ptr<ProgressPace> pace_;
};
