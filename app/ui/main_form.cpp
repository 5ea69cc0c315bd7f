#include "app/ui/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ini_file.h"
#include "app/program_folders.h"
#include "app/ui/about_dlg.h"
#include "app/ui/file_names.h"
#include "app/ui/glyphs.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/prefer_dlg.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_button.h"
#include "app/ui/status_panel.h"
#include "app/ui/temp_pal_frm.h"
#include "app/ui/ui_progress.h"
#include "app/ui/ui_seams.h"
#include "base/exceptions.h"
#include "base/message_seam.h"
#include "composition/composition_errors.h"
#include "composition/embroidery_size.h"
#include "design/ui/design_frm.h"

namespace {

QString Text(const std::string& text) {
  return QString::fromLatin1(text.c_str());
}

// The size on the fabric of `pixels` stitches, in the unit of the settings.
QString EmbroiderySize(uint32_t pixels, uint16_t fabric_count, uint8_t unit) {
  if (fabric_count == 0) return "?";
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", EmbroideryLength(pixels, fabric_count, unit));
  return text;
}

// "rose.dmc" as "rose (recovered).dmc".
QString RecoveredName(const QString& name) {
  const int dot = name.lastIndexOf('.');
  return (dot < 0 ? name : name.left(dot)) + " (recovered)" + (dot < 0 ? QString() : name.mid(dot));
}

}  // namespace

TMainForm::TMainForm() {
  mdi = new QMdiArea(this);
  mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateCommands();
  CreateToolbar();
  CreateStatusPanel();
  layout->addWidget(Panel1);
  layout->addWidget(mdi, 1);
  layout->addWidget(statuspanel);
  setCentralWidget(central);
  CreateMenus();
  ConnectCommands();
  connect(mdi, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* window) { Guarded([&] { SubWindowActivated(window); }); });
  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, GuardedSlot([this] { TimerTick(); }));
  Timer1->start();
  StartUp();
}

TMainForm::~TMainForm() {
  // The child windows go before the frame; their going must not reach a half-freed frame.
  disconnect(mdi, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
}

void TMainForm::CreateToolbar() {
  Panel1 = new QFrame(this);
  Panel1->setFixedHeight(67);
  static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
  Panel4 = new QWidget(Panel1);
  Panel4->setFixedWidth(263);
  // Each button shows its command's action: enabling the action enables both.
  auto button = [this](Command command, int left, int top) {
    const CommandInfo& info = InfoOf(command);
    QAction* action = Action(command);
    action->setIcon(ToolbarGlyph(info.button));
    action->setIconVisibleInMenu(false);
    SetHint(action, info.hint);
    auto* b = new QToolButton(Panel4);
    b->setObjectName(info.button);
    b->setDefaultAction(action);
    b->setGeometry(left, top, 28, 28);
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    SetHint(b, info.hint);
    return b;
  };
  BtnOpen = button(Command::Open, 4, 4);
  BtnSave = button(Command::Save, 32, 4);
  BtnNewWin = button(Command::New, 60, 4);
  BtnCharTbl = button(Command::CharTable, 92, 4);
  BtnColorTable = button(Command::ColorTable, 120, 4);
  BtnLoadColors = button(Command::LoadColors, 148, 4);
  BtnColorSearch = button(Command::ColorSearch, 176, 4);
  BtnDesign = button(Command::CreateDesign, 204, 4);
  BtnExit = button(Command::Exit, 4, 32);
  BtnPref = button(Command::Preferences, 32, 32);
  BtnImport = button(Command::Import, 60, 32);
  BtnViewStitch = button(Command::StitchPattern, 92, 32);
  BtnFileViewer = button(Command::Viewer, 120, 32);
  BtnFlossReport = button(Command::FlossReport, 148, 32);
  BtnPrint = button(Command::Print, 176, 32);
  BtnNotes = button(Command::Notes, 204, 32);
  BtnResize = button(Command::Resize, 232, 4);

  StatusLine = new QWidget(Panel1);
  auto info = [this](const QString& hint) {
    auto* label = new QLabel(StatusLine);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(80);
    SetHint(label, hint);
    return label;
  };
  imagesizepanel = info("|Size of the BITMAP Image");
  stitchsizepanel = info("|Size of the finished embroydery");
  numcolorpanel = info("|Number of Floss / Number of colors");
  auto white = [this](const QString& hint) {
    auto* label = new QLabel(StatusLine);
    label->setAutoFillBackground(true);
    QPalette colors = label->palette();
    colors.setColor(QPalette::Window, Qt::white);
    colors.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colors);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(34, 18);
    SetHint(label, hint);
    return label;
  };
  ZoomPanel = white("Zoom|Indicate the image zoom level");
  CottonPanel = white("Cotton|Indicate the cotton size");
  ZoomSpin = new SpinButton(StatusLine);
  SetHint(ZoomSpin, "Zoom|Change the image zoom level");
  CottonSpin = new SpinButton(StatusLine);
  SetHint(CottonSpin, "Cotton|Change the cotton size");
  ZoomSpin->setEnabled(false);
  CottonSpin->setEnabled(false);
  connect(ZoomSpin, &SpinButton::Up, this, GuardedSlot([this] { ZoomUp(); }));
  connect(ZoomSpin, &SpinButton::Down, this, GuardedSlot([this] { ZoomDown(); }));
  connect(CottonSpin, &SpinButton::Up, this, GuardedSlot([this] { CottonUp(); }));
  connect(CottonSpin, &SpinButton::Down, this, GuardedSlot([this] { CottonDown(); }));

  auto* grid = new QGridLayout(StatusLine);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(1);
  grid->addWidget(new QLabel("Image size :"), 0, 0);
  grid->addWidget(imagesizepanel, 0, 1);
  grid->addWidget(new QLabel("Embroydery :"), 1, 0);
  grid->addWidget(stitchsizepanel, 1, 1);
  grid->addWidget(new QLabel("Floss/Colors :"), 2, 0);
  grid->addWidget(numcolorpanel, 2, 1);
  auto* zoom = new QHBoxLayout;
  zoom->addWidget(ZoomPanel);
  zoom->addWidget(ZoomSpin);
  auto* cotton = new QHBoxLayout;
  cotton->addWidget(CottonPanel);
  cotton->addWidget(CottonSpin);
  grid->addWidget(new QLabel("Zoom :"), 0, 2);
  grid->addLayout(zoom, 1, 2);
  grid->addWidget(new QLabel("Cotton :"), 0, 3);
  grid->addLayout(cotton, 1, 3);
  for (QLabel* label : StatusLine->findChildren<QLabel*>()) {
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    label->setFont(small);
  }

  Panel5 = new QWidget(Panel1);
  Image1 = new QLabel(Panel5);
  Image1->setPixmap(LogoPixmap());
  Image1->setFixedSize(118, 42);
  Image1->setScaledContents(true);
  Panel5->installEventFilter(this);

  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(Panel4);
  row->addWidget(StatusLine);
  row->addWidget(Panel5, 1);
}

void TMainForm::CreateStatusPanel() {
  auto* status = new StatusPanel(this, 150);
  statuspanel = status;
  msgpanel = status->msgpanel;
  meter = status->meter;
}

void TMainForm::CreateCommands() {
  for (const CommandInfo& info : AllCommands()) {
    auto* action = new QAction(info.text, this);
    action->setObjectName(info.name);
    if (*info.key) action->setShortcut(QKeySequence(info.key));
    action->setCheckable(info.checkable);
    // Menu items keep no hint of their own; the Window menu's items have theirs.
    if (info.hint && !info.button) action->setStatusTip(QString(info.hint).section('|', 1));
    addAction(action);  // its key works whichever menus the menu bar shows
    actions_[size_t(info.command)] = action;
  }
  FileNewItem = Action(Command::New);
  FileOpenItem = Action(Command::Open);
  FilePrefItem = Action(Command::Preferences);
  FileExitItem = Action(Command::Exit);
  CharTableItem = Action(Command::CharTable);
  ViewerItem = Action(Command::Viewer);
  DesignEditorItem = Action(Command::DesignEditor);
  TempPaletteItem = Action(Command::TempPalette);
  AutoRemap = Action(Command::AutoRemap);
  Fitinwindows1 = Action(Command::FitInWindow);
  PerceptualMatch = Action(Command::PerceptualMatch);
  CascadeItem = Action(Command::Cascade);
  TileItem = Action(Command::Tile);
  ArrangeItem = Action(Command::Arrange);
  MinimizeItem = Action(Command::MinimizeAll);
  HelpContentsItem = Action(Command::HelpContents);
  AboutItem = Action(Command::About);
}

void TMainForm::CreateMenus() {
  FileMenu = new QMenu("&File", this);
  FileMenu->menuAction()->setStatusTip("File related commands");
  FileMenu->addAction(FileNewItem);
  FileMenu->addAction(FileOpenItem);
  FileMenu->addSeparator();
  // A first import needs no document: it makes one.
  FileMenu->addMenu("&Images")->addAction(Action(Command::Import));
  FileMenu->addSeparator();
  FileMenu->addAction(FilePrefItem);
  FileMenu->addSeparator();
  FileMenu->addAction(FileExitItem);

  UtilsMenu = new QMenu("&Utils", this);
  UtilsMenu->addAction(CharTableItem);
  UtilsMenu->addSeparator();
  UtilsMenu->addAction(ViewerItem);
  UtilsMenu->addAction(DesignEditorItem);
  UtilsMenu->addSeparator();
  UtilsMenu->addAction(TempPaletteItem);

  OptionsMenu = new QMenu("&Options", this);
  OptionsMenu->addActions({AutoRemap, Fitinwindows1, PerceptualMatch});

  WindowMenu = new QMenu("&Window", this);
  WindowMenu->menuAction()->setStatusTip("Window related commands such as Tile and Cascade");
  WindowMenu->addActions({CascadeItem, TileItem, ArrangeItem, MinimizeItem});
  connect(WindowMenu, &QMenu::aboutToShow, this, [this] {
    // Below its own items, the Window menu lists the child windows.
    const QList<QAction*> actions = WindowMenu->actions();
    for (int i = 4; i < actions.size(); ++i)
      WindowMenu->removeAction(actions[i]), delete actions[i];
    const QList<QMdiSubWindow*> windows = mdi->subWindowList();
    if (!windows.isEmpty()) WindowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
      // A window's "[*]" is where Qt shows its modified mark.
      QString title = windows[i]->windowTitle();
      title.replace("[*]", windows[i]->isWindowModified() ? "*" : "");
      QAction* entry = WindowMenu->addAction(QString("&%1 %2").arg(i + 1).arg(title));
      entry->setCheckable(true);
      entry->setChecked(windows[i] == mdi->activeSubWindow());
      connect(entry, &QAction::triggered, this,
              [this, w = windows[i]] { mdi->setActiveSubWindow(w); });
    }
  });

  HelpMenu = new QMenu("&Help", this);
  HelpMenu->menuAction()->setStatusTip("Help topics");
  HelpMenu->addActions({HelpContentsItem, AboutItem});
  MergeMenus();
}

void TMainForm::ConnectCommands() {
  const auto on = [this](Command command, auto body) {
    connect(Action(command), &QAction::triggered, this, GuardedSlot(std::move(body)));
  };
  // Document commands go to the active document.
  const auto document = [&](Command command, auto method) {
    on(command, [this, method] {
      if (TMDIChild* active = ActiveDocument()) (active->*method)();
    });
  };
  on(Command::New, [this] { NewDocument(); });
  on(Command::Open, [this] { OpenCompositions(); });
  on(Command::Preferences, [this] { Preferences(); });
  on(Command::Exit, [this] { Exit(); });
  on(Command::About, [this] { About(); });
  on(Command::HelpContents, [] { ShowHelp(help_ids::kContents); });
  on(Command::AutoRemap, [this] { ToggleAutoRemap(); });
  on(Command::FitInWindow, [this] { ToggleFitInWindow(); });
  on(Command::PerceptualMatch, [this] { TogglePerceptualMatch(); });
  on(Command::Cascade, [this] { mdi->cascadeSubWindows(); });
  on(Command::Tile, [this] { mdi->tileSubWindows(); });
  on(Command::Arrange, [this] {
    // Minimized windows line up along the bottom of the client area.
    int left = 0;
    for (QMdiSubWindow* window : mdi->subWindowList())
      if (window->isMinimized()) {
        window->move(left, mdi->viewport()->height() - window->height());
        left += window->width();
      }
  });
  on(Command::MinimizeAll, [this] {
    const QList<QMdiSubWindow*> windows = mdi->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->showMinimized();
  });
  document(Command::Save, &TMDIChild::Save1Click);
  document(Command::SaveAs, &TMDIChild::SaveAs1Click);
  on(Command::Import, [this] { ImportPicture(); });
  document(Command::Export, &TMDIChild::Export1Click);
  document(Command::LoadColors, &TMDIChild::Load1Click);
  document(Command::SaveColors, &TMDIChild::Save2Click);
  document(Command::Notes, &TMDIChild::Editcompositionnotes1Click);
  document(Command::Print, &TMDIChild::Print1Click);
  document(Command::ExportOxs, &TMDIChild::ExportOxs1Click);
  document(Command::UndoPalette, &TMDIChild::UndoPalette1Click);
  document(Command::ColorTable, &TMDIChild::ColorTable1Click);
  document(Command::Rotate, &TMDIChild::Rotateimage1Click);
  document(Command::TurnRight, &TMDIChild::TurnRightClick);
  document(Command::TurnLeft, &TMDIChild::TurnLeftClick);
  document(Command::Resize, &TMDIChild::ResizepictureClick);
  document(Command::Remap, &TMDIChild::RemapPictClick);
  document(Command::BusyOff, &TMDIChild::BUSYflagoffClick);
  document(Command::ColorSearch, &TMDIChild::Automaticcolorsearch1Click);
  document(Command::CancelSearch, &TMDIChild::CancelSearchClick);
  document(Command::StitchPattern, &TMDIChild::Stitchpattern1Click);
  document(Command::CreateDesign, &TMDIChild::CreateModel1Click);
  document(Command::FlossReport, &TMDIChild::Flossreport1Click);
  document(Command::ColorUsage, &TMDIChild::Colorusagereport1Click);
  on(Command::CharTable, [this] { CharTable(); });
  on(Command::TempPalette, [this] { TempPaletteClick(); });
  on(Command::Viewer, [this] { ViewerClick(); });
  on(Command::DesignEditor, [this] { DesignEditorClick(); });
  UpdateCommands();
}

CommandFacts TMainForm::Facts() const {
  CommandFacts facts;
  facts.closing = closing_;
  facts.temp_pal = bool(TempPaletteWindow);
  for (TMDIChild* document : Documents()) facts.any_busy = facts.any_busy || document->Busy();
  TMDIChild* active = ActiveDocument();
  if (!active || !active->Composition) return facts;
  facts.document = true;
  facts.picture = active->Composition->HasPicture();
  facts.busy = active->Busy();
  facts.searching = active->Searching();
  facts.printing = active->State().Work() == DocWork::Printing;
  facts.unmapped = active->RemapWanted();
  facts.palette_undo = active->CanUndoPalette();
  return facts;
}

void TMainForm::UpdateCommands() {
  const CommandFacts facts = Facts();
  for (const CommandInfo& info : AllCommands())
    Action(info.command)->setEnabled(CommandEnabled(info.command, facts));
  CottonSpin->setEnabled(facts.document);
  ZoomSpin->setEnabled(facts.picture);
  if (!facts.picture) ZoomPanel->clear();
}

void TMainForm::StartUp() {
  LoadAppCursors();
  qApp->installEventFilter(this);               // status tips reach msgpanel: the hint handler
  qApp->installEventFilter(new HelpKey(this));  // F1 in every window, dialogs included
  QApplication::setApplicationDisplayName(kCaption);
  setWindowTitle(kCaption);
  // The settings file is written when the frame first closes: before, this is a first start.
  const bool first_start = !IsRegularFile(SettingsFilePath());
  LoadSettings();
  AutoRemap->setChecked(Settings().AutoRemap);
  Fitinwindows1->setChecked(Settings().FinInWindow);
  // Before any palette is loaded or document made: every one follows the saved rule.
  ColorMatch rule = ColorMatch::ExactRgb;
  ColorMatchFromNumber(Settings().ColorMatch, rule);
  ApplyColorMatch(rule);
  const WindowGeometry geometry = ReadGeometry(IniFile(SettingsFilePath()));
  move(geometry.xpos, geometry.ypos);
  resize(geometry.xsiz, geometry.ysiz);
  if (geometry.state) setWindowState(windowState() | Qt::WindowMaximized);
  CheckPaletteFile();
  LoadSymbolTable();
  if (first_start) msgpanel->setText(kFirstStartHint);
}

void TMainForm::CheckPaletteFile() {
  while (!IsRegularFile(Settings().PalFile)) {
    Messages().Error(
        "DMC colors definitions file not found !\r\nPlease select the palette file in "
        "the\r\nPreferences dialog box.");
    Preferences();
  }
  try {
    MainPalette.LoadFromFile(Settings().PalFile);
  } catch (const std::exception&) {
    // Start-up goes on whatever the load reports; the palette shows what was read.
  }
}

std::string TMainForm::SymbolTablePath() const {
  return SymbolTableFile(Settings().progpath);
}

void TMainForm::LoadSymbolTable() {
  const std::string path = SymbolTablePath();
  try {
    SymbolTable.LoadFromFile(path);
    if (const auto error = Symbols.TableChanged()) Messages().Error(*error);
    return;
  } catch (const std::exception&) {
  }
  Messages().Error(
      "Character Symbol table file :\r\n\"" + path +
      "\"\r\nNot found !\r\n\r\nIf this is the first time you run Puntel,\r\n"
      "Open the \"Character Table\" dialog and\r\ndefine the symbols you want to use.");
}

TMDIChild* TMainForm::CreateDocument() {
  try {
    SetCursorAll(Qt::WaitCursor);
    auto* window = new TMDIChild(this);
    msgpanel->setText("Initializing composition...");
    msgpanel->repaint();
    connect(window, &TMDIChild::stateChanged, this, &TMainForm::UpdateCommands);
    // Closing: once the window is gone from the list of documents.
    connect(window, &QObject::destroyed, this, &TMainForm::UpdateCommands, Qt::QueuedConnection);
    window->NewComposition(MainPalette);
    window->Composition->SetModified(false);
    SetCursorAll(Qt::ArrowCursor);
    msgpanel->setText(kCaption);
    msgpanel->repaint();
    return window;
  } catch (const std::exception&) {
    SetCursorAll(Qt::ArrowCursor);
    Messages().Error("Unable to create new form !");
    return nullptr;
  }
}

QMdiSubWindow* TMainForm::AddChild(QWidget* window) {
  // The window's own size, taken before the sub-window lays it out to its default.
  const QSize wanted = window->size();
  QMdiSubWindow* sub = mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(window->windowTitle());
  sub->setWindowIcon(AppIcon());
  window->show();
  sub->show();
  sub->resize(wanted + (sub->size() - sub->widget()->size()));
  mdi->setActiveSubWindow(sub);
  return sub;
}

void TMainForm::NewDocument() {
  if (TMDIChild* window = CreateDocument()) {
    AddChild(window);
    window->TakeTwoThirds();
    ShowDocumentInfo(window);
  }
}

void TMainForm::ImportPicture() {
  TMDIChild* document = ActiveDocument();
  if (!document) {
    // Kept, like one "New" makes, when the import is cancelled or refused.
    NewDocument();
    document = ActiveDocument();
  }
  if (document) document->Import1Click();
}

void TMainForm::OpenCompositions() {
  const QStringList files = FileDialogs().Open(this, {"Open composition",
                                                      ShownPath(Settings().Compopath),
                                                      "Puntel files (*.dmc)|*.dmc",
                                                      {},
                                                      {},
                                                      true});
  for (const QString& file : files) {
    TMDIChild* window = CreateDocument();
    if (!window) return;
    window->FileName = LocalPath(file);
    TLoadResult loaded;
    try {
      loaded = window->Composition->LoadFromFile(window->FileName);
    } catch (const Exception& error) {
      delete window;  // not yet a child window: closing it is freeing it
      if (dynamic_cast<const EOldComposition*>(&error))
        Messages().Info(error.Message());
      else if (!dynamic_cast<const ECompositionMissing*>(&error))
        Messages().Error(error.Message());
      return;
    }
    for (const std::string& warning : loaded.Warnings) Messages().Error(warning);
    // A load that reported an error opens on what could be read, but never saves over
    // the file it came from: it is named "(recovered)" and Save asks for a new name.
    const bool recovered = !loaded.Warnings.empty() || loaded.PaletteRecovered;
    if (recovered) {
      window->Composition->SetModified(true);
      window->FileName.clear();
    } else if (loaded.OlderVersion) {
      try {
        window->Composition->ConvertOlderFile(window->FileName);
      } catch (const Exception& error) {
        // The composition is read; only its file stays in the older version.
        Messages().Error(error.Message());
      }
    }
    window->SetDocumentCursor(Qt::WaitCursor);
    window->SetCaption(recovered ? RecoveredName(NameOfPath(file)) : NameOfPath(file));
    setWindowTitle(QString(kCaption) + " [" + window->Caption() + "]");
    AddChild(window);
    window->TakeTwoThirds();
    ShowDocumentInfo(window);
    window->RememberFileStamp();
    window->FitImage();
    window->StartPictureUpdate(false);
    QCoreApplication::processEvents();
  }
}

void TMainForm::ShowDocumentInfo(TMDIChild* window) {
  if (!window || !window->Composition) return;
  SetCursorAll(Qt::WaitCursor);
  TpunCompo& composition = *window->Composition;
  numcolorpanel->setText(QString("[%1],[%2]")
                             .arg(composition.Palette().ThreadCount())
                             .arg(composition.Palette().Count()));
  const uint16_t fabric = composition.FabricCount();
  stitchsizepanel->setText("[" + EmbroiderySize(composition.Width(), fabric, Settings().Unit) +
                           "],[" + EmbroiderySize(composition.Height(), fabric, Settings().Unit) +
                           "]");
  imagesizepanel->setText(QString("[%1],[%2]").arg(composition.Width()).arg(composition.Height()));
  ShowCottonCount(composition.CottonSize());
  if (ZoomSpin->isEnabled())
    ZoomPanel->setText(QString("%1:1").arg(composition.Zoom() + 1));
  else
    ZoomPanel->clear();
  SetCursorAll(Qt::ArrowCursor);
}

void TMainForm::ClearDocumentInfo() {
  CottonPanel->clear();
  numcolorpanel->clear();
  stitchsizepanel->clear();
  imagesizepanel->clear();
  update();
}

void TMainForm::SetCursorAll(Qt::CursorShape cursor) {
  setCursor(cursor);
  for (TMDIChild* document : Documents()) document->SetDocumentCursor(cursor);
}

void TMainForm::ShowCottonCount(uint8_t cotton_size) {
  static const char* const kCounts[] = {"11", "14", "18", "22"};
  if (cotton_size < 4) CottonPanel->setText(kCounts[cotton_size]);
}

void TMainForm::ShowMainProgress(const std::string& text, uint16_t percent) {
  msgpanel->setText(Text(text));
  meter->setValue(percent);
  statuspanel->repaint();
  emit progressShown(msgpanel->text(), percent);
}

ProgressHandler TMainForm::UiThreadMainProgress() {
  return UiThreadProgress(
      [this](const std::string& text, uint16_t percent) { ShowMainProgress(text, percent); });
}

void TMainForm::ShowAppHint(const QString& hint) {
  msgpanel->setText(hint);
}

TMDIChild* TMainForm::ActiveDocument() const {
  QMdiSubWindow* sub = mdi->activeSubWindow();
  return sub ? qobject_cast<TMDIChild*>(sub->widget()) : nullptr;
}

QList<TMDIChild*> TMainForm::Documents() const {
  QList<TMDIChild*> documents;
  for (QMdiSubWindow* sub : mdi->subWindowList())
    if (auto* document = qobject_cast<TMDIChild*>(sub->widget())) documents << document;
  return documents;
}

void TMainForm::MergeMenus() {
  QMenuBar* bar = menuBar();
  bar->clear();
  TMDIChild* document = ActiveDocument();
  bar->addMenu(document ? document->FileMenu : FileMenu);
  if (document) {
    bar->addMenu(document->ToolsMenu);
    bar->addMenu(document->ViewMenu);
  }
  if (TDesignFrm* editor = ActiveDesignEditor()) bar->addMenu(editor->DesignMenu);
  if (TTempPalFrm* temp = ActiveTempPalette()) bar->addMenu(temp->TempPaletteMenu);
  for (QMenu* menu : {UtilsMenu, OptionsMenu, WindowMenu, HelpMenu}) bar->addMenu(menu);
}

void TMainForm::SubWindowActivated(QMdiSubWindow* window) {
  TMDIChild* document = window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
  if (active_document_ && active_document_ != document) active_document_->Deactivated();
  active_document_ = document;
  MergeMenus();
  UpdateCommands();
  if (document) {
    document->Activated();
  } else {
    setWindowTitle(kCaption);
    ClearDocumentInfo();
  }
}

void TMainForm::ZoomDown() {
  StepZoom(-1);
}
void TMainForm::ZoomUp() {
  StepZoom(+1);
}
void TMainForm::CottonDown() {
  StepCotton(-1);
}
void TMainForm::CottonUp() {
  StepCotton(+1);
}

void TMainForm::StepZoom(int step) {
  TMDIChild* document = ActiveDocument();
  if (!document || !document->Composition) return;
  TpunCompo& composition = *document->Composition;
  const int zoom = composition.Zoom() + step;
  if (zoom >= 0 && zoom <= 10) composition.SetZoom(uint8_t(zoom));  // shown 1:1 to 11:1
  ZoomPanel->setText(QString("%1:1").arg(composition.Zoom() + 1));
  document->FitImage();
  document->update();
}

void TMainForm::StepCotton(int step) {
  TMDIChild* document = ActiveDocument();
  if (!document || !document->Composition) return;
  TpunCompo& composition = *document->Composition;
  const int cotton = composition.CottonSize() + step;
  if (cotton >= 0 && cotton <= 3) composition.SetCottonSize(uint8_t(cotton));
  ShowDocumentInfo(document);  // the embroidery's size follows the fabric count
}

void TMainForm::ToggleAutoRemap() {
  Settings().AutoRemap = !Settings().AutoRemap;
  AutoRemap->setChecked(Settings().AutoRemap);
  try {
    WriteAllSettings();
  } catch (const Exception& error) {
    Messages().Error(error.Message());
  }
  if (!Settings().AutoRemap) return;
  for (TMDIChild* document : Documents())
    if (document->RemapWanted() && !document->Busy() && document->Composition)
      document->StartPictureUpdate(false);
}

void TMainForm::TogglePerceptualMatch() {
  const uint8_t wanted = Settings().ColorMatch == 1 ? 0 : 1;
  if (!ApplyColorMatch(ColorMatch(wanted))) return;
  Settings().ColorMatch = wanted;
  try {
    WriteAllSettings();
  } catch (const Exception& error) {
    Messages().Error(error.Message());
  }
}

bool TMainForm::ApplyColorMatch(ColorMatch rule) {
  PerceptualMatch->setChecked(MainPalette.Match() == ColorMatch::Ciede2000);
  if (rule == MainPalette.Match()) return true;
  // A worker may be mapping with a document's palette ("Turn BUSY flag off" included).
  for (TMDIChild* document : Documents())
    if (document->Working()) {
      Messages().Error("Composition is busy, cannot change color matching !");
      return false;
    }
  MainPalette.SetColorMatch(rule);
  TempPalette.SetColorMatch(rule);
  PerceptualMatch->setChecked(rule == ColorMatch::Ciede2000);
  for (TMDIChild* document : Documents()) {
    if (!document->Composition) continue;
    document->Composition->SetColorMatch(rule);
    if (!document->Composition->HasPicture()) continue;
    // Without automatic remapping the picture shows unmapped rather than by the old rule.
    if (!Settings().AutoRemap) document->Composition->ResetMappedPicture();
    document->StartPictureUpdate(false);
  }
  return true;
}

void TMainForm::ToggleFitInWindow() {
  Settings().FinInWindow = Fitinwindows1->isChecked();
  TMDIChild* document = ActiveDocument();
  if (!Settings().FinInWindow || !document || !document->Composition ||
      !document->Composition->LoadedFromFile())
    return;
  document->FitImage();
}

void TMainForm::Preferences() {
  TPreferDlg dialog(this, [this] {
    ColorMatch rule = ColorMatch::ExactRgb;
    ColorMatchFromNumber(Settings().ColorMatch, rule);
    if (!ApplyColorMatch(rule)) {
      // The file keeps the rule in force.
      Settings().ColorMatch = uint8_t(MainPalette.Match());
      try {
        WriteAllSettings();
      } catch (const Exception& error) {
        Messages().Error(error.Message());
      }
    }
    if (TMDIChild* document = ActiveDocument()) ShowDocumentInfo(document);
  });
  // The rule remaps every document: it waits while one is at work.
  dialog.ColorMatchBox->setEnabled(!Facts().any_busy);
  RunModal(dialog);
}

void TMainForm::About() {
  TAboutDlg dialog(this);
  RunModal(dialog);
}

void TMainForm::Exit() {
  closing_ = true;
  UpdateCommands();
  close();
  closing_ = false;
  UpdateCommands();
}

void TMainForm::TimerTick() {
  UpdateCommands();
}

bool TMainForm::CloseQuery() {
  for (TMDIChild* document : Documents()) {
    if (!document->Working()) continue;
    Messages().Error("Composition is busy, cannot close !");
    auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget());
    if (sub && sub->isMinimized()) sub->showNormal();
    if (sub) mdi->setActiveSubWindow(sub);
    return false;
  }
  return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // What fails while closing keeps the window open.
  if (!Guarded([&] { CloseFrame(event); })) event->ignore();
}

void TMainForm::CloseFrame(QCloseEvent* event) {
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  // Each document window asks about its unsaved changes as it closes. A document closes
  // its own windows, so a window further down the list may be gone when its turn comes.
  QList<QPointer<QMdiSubWindow>> subs;
  for (QMdiSubWindow* sub : mdi->subWindowList()) subs << sub;
  for (const QPointer<QMdiSubWindow>& sub : subs) {
    QCoreApplication::processEvents();
    if (!sub) continue;
    if (!sub->close()) {
      event->ignore();
      return;
    }
    QCoreApplication::processEvents();
  }
  try {
    SaveGeometry(SettingsFilePath(), {x(), y(), width(), height(), false}, isMaximized());
  } catch (const Exception& error) {
    Messages().Error(error.Message());
  }
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowAppHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (watched == Panel5 && event->type() == QEvent::Resize) {
    // The logo stays centred in what is left of the toolbar.
    const int left =
        Panel5->width() - Image1->width() >= 3 ? (Panel5->width() - Image1->width()) / 2 : 1;
    Image1->move(left, (Panel5->height() - Image1->height()) / 2);
  }
  return QMainWindow::eventFilter(watched, event);
}
