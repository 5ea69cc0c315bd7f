#pragma once
// The window of one composition: its picture, its status line, its File, Tools and View
// menus (merged into the frame's menu bar while it is active) and the busy state that bars
// a second long operation while a worker changes the composition.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "composition/composition.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class PictureView;
class TMainForm;
class TupdatePictureThread;

// Posted by a document window to itself when it becomes active.
constexpr int UM_DOCACTIVATE = 1054;

class TMDIChild : public QWidget {
  Q_OBJECT

 public:
  explicit TMDIChild(TMainForm* frame);
  ~TMDIChild() override;

  TMainForm* Frame() const { return frame_; }

  // State read and written by the frame, the workers and the tools.
  bool Busy = false;
  uint32_t Searching = 0;
  bool UpdatingPicture = false;
  std::unique_ptr<TpunCompo> SearchComposition;
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

  // Menus and their items.
  QMenu *FileMenu, *ToolsMenu, *ViewMenu;
  QAction *New1, *Open1, *Save1, *SaveAs1, *Import1, *Export1, *Load1, *Save2,
      *Editcompositionnotes1, *Preference, *Print1, *FileExitItem;
  QAction *ColorTable1, *Rotateimage1, *Automaticcolorsearch1, *CancelSearch, *CreateModel1,
      *RemapPict, *BUSYflagoff;
  QAction *Stitchpattern1, *Flossreport1, *Colorusagereport1;

  QString Caption() const;
  void SetCaption(const QString& caption);
  bool IsActive() const;

  void SetDocumentCursor(Qt::CursorShape cursor);
  void SetBusy(bool busy);
  void SetSearching(uint32_t searching);
  void EnablePictureCommands(bool enabled);
  void EnableIdleCommands(bool enabled);
  void FitImage();
  void NewComposition(const TpunPal& palette);
  // Starts a picture update; a second one for this window waits until the first ends.
  void StartPictureUpdate(TpunCompo& composition, bool force);
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
  // Tools commands built here.
  void Rotateimage1Click();
  void RemapPictClick();
  void BUSYflagoffClick();
  void CancelSearchClick();

  // Runs the picture update that waited for the one that just ended, if any.
  void PictureUpdateEnded();
  // A worker, or work of this window's own, still holds the composition, even when
  // "Turn BUSY flag off" cleared Busy.
  bool WorkerRunning() const {
    return update_running_ || SearchComposition != nullptr || own_work_ > 0;
  }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Marks the document busy for work on its composition, however the work ends.
  class BusyWork;
  void CreateMenus();
  void DocActivate();
  // Save1Click for a closing window, its failure shown: false keeps the window open.
  bool SaveBeforeClosing();

  TMainForm* frame_;
  bool update_running_ = false;
  int own_work_ = 0;             // BusyWork under way
  bool pending_update_ = false;  // a picture update waits for the running one
  bool pending_force_ = false;
  TpunCompo* pending_composition_ = nullptr;
};
