#pragma once
// The frame window: the toolbar, the information line of the active document, the status
// panel, the menus, the child windows, and the objects the whole program shares.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <string>

#include "app/ui/commands.h"
#include "palette/floss_palette.h"
#include "pattern/draw/symbol_drawing.h"
#include "pattern/symbol_table.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QTimer;
class QToolButton;
class SpinButton;
class TDesignFrm;
class TMDIChild;
class TTempPalFrm;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "PunTel 2.0a";
  static constexpr const char* kFirstStartHint =
      "Import a picture to begin (File > Images > Import, Ctrl+I).";

  // Runs the start-up: cursors, hints, caption, settings, geometry, palettes, the palette
  // file check and the symbol table.
  TMainForm();
  ~TMainForm() override;

  TpunPal MainPalette;
  TpunPal TempPalette;
  ::SymbolTable SymbolTable;
  // Draws SymbolTable's symbols; told of every change of the table (TableChanged).
  SymbolDrawing Symbols{SymbolTable};

  // The one action of a command: its menu item and its toolbar button.
  QAction* Action(Command command) const { return actions_[size_t(command)]; }
  // Every command's enabled state, from the active document's state and picture and the
  // frame's own; run on every state change, activation and close.
  void UpdateCommands();
  CommandFacts Facts() const;

  // The toolbar and its areas.
  QWidget *Panel1, *Panel4, *StatusLine, *Panel5;
  QToolButton *BtnOpen, *BtnSave, *BtnNewWin, *BtnCharTbl, *BtnColorTable, *BtnLoadColors,
      *BtnColorSearch, *BtnDesign, *BtnExit, *BtnPref, *BtnImport, *BtnViewStitch, *BtnFileViewer,
      *BtnFlossReport, *BtnPrint, *BtnNotes;
  QToolButton* BtnResize;  // the picture's size in stitches
  QLabel *imagesizepanel, *stitchsizepanel, *numcolorpanel, *ZoomPanel, *CottonPanel;
  SpinButton *ZoomSpin, *CottonSpin;
  QLabel* Image1;  // the logo
  QWidget* statuspanel;
  QLabel* msgpanel;
  QProgressBar* meter;
  QMdiArea* mdi;
  QTimer* Timer1;

  QMenu *FileMenu, *UtilsMenu, *OptionsMenu, *WindowMenu, *HelpMenu;
  QAction *FileNewItem, *FileOpenItem, *FilePrefItem, *FileExitItem, *CharTableItem, *ViewerItem,
      *DesignEditorItem, *TempPaletteItem, *AutoRemap, *Fitinwindows1, *CascadeItem, *TileItem,
      *ArrangeItem, *MinimizeItem, *HelpContentsItem, *AboutItem;
  QAction* PerceptualMatch;  // checked while colors match by CIEDE2000

  // Operations the document windows and dialogs call.
  TMDIChild* CreateDocument();
  void ShowDocumentInfo(TMDIChild* window);
  void ClearDocumentInfo();
  void SetCursorAll(Qt::CursorShape cursor);
  // A document window may be closed: none is busy.
  bool CloseCommandEnabled() const { return !Facts().any_busy; }
  void ShowCottonCount(uint8_t cotton_size);
  void ShowMainProgress(const std::string& text, uint16_t percent);
  // For work on the interface's own thread: its reports in the status line, throttled,
  // letting events run so "S&top" and the windows stay alive.
  ProgressHandler UiThreadMainProgress();
  void ShowAppHint(const QString& hint);
  // The table file loaded at start-up; LoadSymbolTable reads it and tells Symbols.
  std::string SymbolTablePath() const;
  void LoadSymbolTable();

  // The active child window when it is a document window, else none.
  TMDIChild* ActiveDocument() const;
  QList<TMDIChild*> Documents() const;
  // Makes a window an MDI child of the frame and shows it.
  QMdiSubWindow* AddChild(QWidget* window);
  // Puts the active document's menus into the menu bar in their merge-group order.
  void MergeMenus();

  // Commands.
  void NewDocument();
  void OpenCompositions();
  // Images "Import" into the active document, or into a new one when there is none.
  void ImportPicture();
  void Preferences();
  void Exit();
  void About();
  // Utils "C&haracter table": the character table dialog, with the hourglass meanwhile.
  void CharTable();
  void ToggleAutoRemap();
  void ToggleFitInWindow();
  void TogglePerceptualMatch();
  // Puts `rule` on the main and temporary palettes and on every document, whose pictures
  // are then updated, and sets the check mark; the setting is the caller's. Refused with a
  // message, changing nothing, while work runs on a document.
  bool ApplyColorMatch(ColorMatch rule);
  void ZoomUp();
  void ZoomDown();
  void CottonUp();
  void CottonDown();
  // The temporary palette's window while it is open.
  QPointer<QWidget> TempPaletteWindow;
  // Utils "&Temp Palette": opens that window at the right edge.
  void TempPaletteClick();
  // The current child window when it is the temporary palette's, else none.
  TTempPalFrm* ActiveTempPalette() const;
  // Utils "&Image file viewer": a new viewer each time.
  void ViewerClick();
  // Utils "&Design Editor": a new design editor each time.
  void DesignEditorClick();
  // The current child window when it is a design editor, else none.
  TDesignFrm* ActiveDesignEditor() const;

 signals:
  // TempPalette gained, lost or reordered entries: an open window lists them again.
  void tempPaletteChanged();
  // A progress report reached the status line (tests act at a chosen report).
  void progressShown(const QString& text, int percent);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CloseFrame(QCloseEvent* event);
  void CreateCommands();
  void ConnectCommands();
  void CreateToolbar();
  void CreateStatusPanel();
  void CreateMenus();
  void StartUp();
  void CheckPaletteFile();
  void TimerTick();
  void StepZoom(int step);
  void StepCotton(int step);
  void SubWindowActivated(QMdiSubWindow* window);
  bool CloseQuery();

  std::array<QAction*, kCommandCount> actions_{};
  bool closing_ = false;
  QPointer<TMDIChild> active_document_;
};
