#pragma once
// The window of one composition: its picture, its status line, its File, Tools and View
// menus (merged into the frame's menu bar while it is active; their items are the frame's
// commands), its state, and the worker that runs its long operations.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/document_state.h"
#include "app/ui/palette_undo.h"
#include "composition/color_search.h"
#include "composition/composition.h"
#include "composition/ui/worker_job.h"

class DocumentJobs;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class PictureView;
struct PrintChoices;
struct PrintedPattern;
class TMainForm;

// Posted by a document window to itself when it becomes active.
constexpr int UM_DOCACTIVATE = 1054;

class TMDIChild : public QWidget {
  Q_OBJECT

 public:
  explicit TMDIChild(TMainForm* frame);
  ~TMDIChild() override;  // cancels and joins its worker

  TMainForm* Frame() const { return frame_; }

  // The state: one value, and its views.
  const DocumentState& State() const { return state_; }
  bool Busy() const { return state_.Busy(); }
  bool Searching() const { return state_.Searching(); }
  bool UpdatingPicture() const { return state_.UpdatingPicture(); }
  // Work still runs on the composition, even when "Turn BUSY flag off" cleared Busy.
  bool Working() const { return state_.Working(); }
  // The picture is not mapped on the working palette: "Remap Picture" has work to do.
  bool RemapWanted() const { return remap_wanted_; }

  std::unique_ptr<TpunCompo> Composition;
  int32_t MouseX = 0, MouseY = 0;
  bool GridOpen = false, DesignOpen = false;
  QPointer<QWidget> GridWindow, DesignWindow;
  std::string FileName;

  // Controls (named after their roles).
  QScrollArea* ScrollBox1;
  PictureView* image1;
  QWidget* statuspanel;
  QLabel* msgpanel;
  QProgressBar* meter;

  // Menus, and their items: the frame's commands under the names they have here.
  QMenu *FileMenu, *ToolsMenu, *ViewMenu;
  QAction *New1, *Open1, *Save1, *SaveAs1, *Import1, *Export1, *Load1, *Save2,
      *Editcompositionnotes1, *Preference, *Print1, *ExportOxs1, *FileExitItem;
  QAction *ColorTable1, *Rotateimage1, *Automaticcolorsearch1, *CancelSearch, *CreateModel1,
      *RemapPict, *BUSYflagoff, *UndoPalette1;
  QAction *Stitchpattern1, *Flossreport1, *Colorusagereport1;
  QAction *Turnright1, *Turnleft1, *Resizepicture1;

  QString Caption() const;
  void SetCaption(const QString& caption);
  bool IsActive() const;

  void SetDocumentCursor(Qt::CursorShape cursor);
  // Work on the UI thread or a job's start and end: the one place the state changes.
  void SetWork(DocWork work);
  // A new window's size, and the smallest FitImage makes it.
  static constexpr QSize kMinimumSize{261, 309};
  void FitImage();
  // Once a child window: two thirds of the frame's area, not under the smallest size.
  void TakeTwoThirds();
  void NewComposition(const TpunPal& palette);
  // A job on this document's worker; it waits for the running one. `work` is the state
  // while it runs; the window is idle again once its result is applied.
  void RunJob(DocWork work, std::function<WorkerJob()> make);
  DocumentJobs& Jobs() { return *jobs_; }
  // Starts a picture update; a second one for this window waits until the first ends.
  void StartPictureUpdate(bool force);
  void StartColorSearch(const TSearchOptions& options);
  // Shows a report in the status line (worker reports arrive here already throttled).
  void ShowProgress(const std::string& text, uint16_t percent);
  bool AskSaveChanges();
  // Shows a screen bitmap of the mapped picture (made by CreateScreenBitmap).
  void ShowPicture(const class QImage& picture);

  // Called by the frame when this window becomes, or stops being, the active one.
  void Activated();
  void Deactivated();

  // File menu commands.
  // Both say whether the composition was written; they raise when writing fails.
  bool Save1Click();
  bool SaveAs1Click();
  void Import1Click();
  void Export1Click();
  void Load1Click();
  void Save2Click();
  void Editcompositionnotes1Click();
  void Print1Click();
  // The pattern as an open cross-stitch (OXS) file, for other pattern programs and apps.
  void ExportOxs1Click();
  // Tools commands built here.
  void Rotateimage1Click();
  void TurnRightClick();
  void TurnLeftClick();
  void ResizepictureClick();
  // An import wider or higher than this asks whether to resize, offering this width.
  static constexpr uint16_t kLargestWithoutQuestion = 500;
  static constexpr uint16_t kOfferedWidth = 200;
  // Asks for the options, then starts the search with them.
  void Automaticcolorsearch1Click();
  void RemapPictClick();
  void BUSYflagoffClick();
  void CancelSearchClick();
  // View commands and "&Create Design": each opens its window (mdi_child_<window>.cpp).
  void Stitchpattern1Click();
  void CreateModel1Click();
  void Flossreport1Click();
  void Colorusagereport1Click();
  // "&Color Table": the palette editor on a copy of the composition (mdi_child_color_table.cpp).
  void ColorTable1Click();
  // The picture of `work` (the colour table's working copy) shown here; its mapped picture
  // goes into `work`, so taking `work` over later needs no second update.
  void StartPreviewUpdate(TpunCompo& work);

  // Tools "&Undo palette change": the palette and transparency from before the last
  // replacement (colour table Ok, search result, usage-report removal, Colors Load).
  void UndoPalette1Click();
  bool CanUndoPalette() const { return palette_undo_.CanUndo(); }
  static constexpr size_t kPaletteUndoLevels = 20;

  // A click on the picture at control position (x, y): the floss there, made transparent or
  // not in the dialog it opens (mdi_child_transparency.cpp).
  void PictureClicked(int x, int y);

  // The file on disk as this window last read or wrote it, to see another program's change.
  void RememberFileStamp();

 signals:
  void stateChanged();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CloseDocument(QCloseEvent* event);
  struct FileStamp {
    std::filesystem::file_time_type time;
    uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static std::optional<FileStamp> StampOf(const std::string& path);
  // False when the file changed on disk since and the user does not want it overwritten.
  bool MayOverwrite(const std::string& path);
  // True, said to the user, when a bitmap or palette would go over the composition's file.
  bool IsCompositionFile(const QString& path) const;
  void CreateMenus();
  void DocActivate();
  void JobEnded(bool more_waiting);
  // Pictures the composition let go of are freed on the worker, after the running job.
  void ReleaseLater(std::vector<TPicture> pictures);
  void ApplyImport(std::any& result, const QString& path);
  // After a large import: whether the user wants another size.
  bool OfferResize() const;
  // The resize dialog (at `width` when given, else the picture's own size); on Ok the
  // resize job is started and true returned.
  bool AskNewSize(std::optional<uint16_t> width);
  // A picture, and no work on it: what the picture commands need.
  bool PictureIdle() const;
  void TurnPicture(QuarterTurn turn);
  // A job making a new source picture (a RotationResult), installed as Rotate's is.
  void RunPictureJob(DocWork work, std::function<WorkerJob::Body()> make_body);
  // An open grid window takes the new picture's counts (mdi_child_grid.cpp).
  void RefreshGrid();
  // The pattern and design windows of this document, which read its composition.
  void CloseChildWindows();
  // Save1Click for a closing window, its failure shown: false keeps the window open.
  bool SaveBeforeClosing();
  // The printed pattern's pages on the worker, through the printer or into a PDF file
  // (mdi_child_print.cpp); true when the job started.
  bool PrintPattern(const std::shared_ptr<const PrintedPattern>& pattern,
                    const PrintChoices& choices, QWidget* parent);
  bool SavePatternPdf(const std::shared_ptr<const PrintedPattern>& pattern,
                      const PrintChoices& choices, QWidget* parent);
  // `paint` on the worker, the document printing meanwhile; it returns false when cancelled.
  bool RunPrintJob(std::function<bool(const ProgressHandler&, const CancelToken&)> paint);
  // Reports of work on the UI thread: throttled, and the windows kept alive meanwhile.
  void ReportFromUi(const std::string& text, uint16_t percent);

  TMainForm* frame_;
  DocumentState state_;
  bool remap_wanted_ = false;
  std::optional<FileStamp> stamp_;
  std::string stamp_path_;
  std::unique_ptr<DocumentJobs> jobs_;
  PaletteUndo palette_undo_{kPaletteUndoLevels};
  // Keeps `before` as an undo step when the palette or transparency changed since.
  void RecordPaletteChange(PaletteUndo::Snapshot before);
};
