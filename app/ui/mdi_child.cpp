#include "app/ui/mdi_child.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

#include "app/app_settings.h"
#include "app/ui/file_names.h"
#include "app/ui/later_commands.h"
#include "app/ui/main_form.h"
#include "app/ui/note_dlg.h"
#include "app/ui/picture_view.h"
#include "app/ui/spin_button.h"
#include "app/ui/status_panel.h"
#include "app/ui/ui_seams.h"
#include "app/ui/ui_thread.h"
#include "base/latin1.h"
#include "base/message_seam.h"
#include "composition/bitmap_file.h"
#include "composition/ui/update_picture_thread.h"

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.c_str());
}

// The hourglass on the frame and the document while a file command works.
class Hourglass {
 public:
  explicit Hourglass(TMDIChild& window) : window_(window) {
    window_.Frame()->SetCursorAll(Qt::WaitCursor);
    window_.SetDocumentCursor(Qt::WaitCursor);
  }
  ~Hourglass() {
    window_.Frame()->SetCursorAll(Qt::ArrowCursor);
    window_.SetDocumentCursor(Qt::ArrowCursor);
  }

 private:
  TMDIChild& window_;
};

}  // namespace

class TMDIChild::BusyWork {
 public:
  explicit BusyWork(TMDIChild& window) : window_(window) {
    ++window_.own_work_;
    window_.SetBusy(true);
  }
  ~BusyWork() {
    --window_.own_work_;
    window_.SetBusy(false);
  }
  BusyWork(const BusyWork&) = delete;
  BusyWork& operator=(const BusyWork&) = delete;

 private:
  TMDIChild& window_;
};

TMDIChild::TMDIChild(TMainForm* frame) : QWidget(nullptr), frame_(frame) {
  setAttribute(Qt::WA_DeleteOnClose);
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setAlignment(Qt::AlignCenter);
  image1 = new PictureView;
  image1->resize(0, 0);
  ScrollBox1->setWidget(image1);
  connect(image1, &PictureView::MouseMoved, this, [this](int x, int y) {
    MouseX = x;
    MouseY = y;
  });

  auto* status = new StatusPanel(this, 90);
  statuspanel = status;
  msgpanel = status->msgpanel;
  meter = status->meter;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(statuspanel);

  CreateMenus();
  SetCaption("New Composition.dmc");
  resize(261, 309);
  SetBusy(false);
  SetSearching(0);
  Composition = std::make_unique<TpunCompo>();
  UpdatingPicture = false;
}

TMDIChild::~TMDIChild() = default;

void TMDIChild::CreateMenus() {
  auto item = [this](QMenu* menu, const QString& text, const QKeySequence& key = {}) {
    QAction* action = menu->addAction(text);
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
  };
  FileMenu = new QMenu("&File", this);
  New1 = item(FileMenu, "&New", Qt::Key_F10);
  Open1 = item(FileMenu, "&Open", Qt::Key_F2);
  Save1 = item(FileMenu, "&Save", Qt::Key_F3);
  SaveAs1 = item(FileMenu, "Save &As...");
  FileMenu->addSeparator();
  QMenu* images = FileMenu->addMenu("&Images");
  Import1 = item(images, "&Import", QKeySequence("Ctrl+I"));
  Export1 = item(images, "&Export", QKeySequence("Ctrl+E"));
  QMenu* colors = FileMenu->addMenu("&Colors");
  Load1 = item(colors, "&Load", QKeySequence("Ctrl+L"));
  Save2 = item(colors, "&Save", QKeySequence("Ctrl+S"));
  FileMenu->addSeparator();
  Editcompositionnotes1 = item(FileMenu, "&Edit composition notes");
  Preference = item(FileMenu, "&Preferences", QKeySequence("Ctrl+P"));
  FileMenu->addSeparator();
  Print1 = item(FileMenu, "P&rint", QKeySequence("Ctrl+F7"));
  FileMenu->addSeparator();
  FileExitItem = item(FileMenu, "E&xit", QKeySequence("Ctrl+F4"));

  ToolsMenu = new QMenu("&Tools", this);
  ColorTable1 = item(ToolsMenu, "&Color Table", Qt::Key_F5);
  Rotateimage1 = item(ToolsMenu, "&Rotate image");
  ToolsMenu->addSeparator();
  Automaticcolorsearch1 = item(ToolsMenu, "&Automatic color search");
  CancelSearch = item(ToolsMenu, "&Cancel color search");
  ToolsMenu->addSeparator();
  CreateModel1 = item(ToolsMenu, "&Create Design");
  ToolsMenu->addSeparator();
  RemapPict = item(ToolsMenu, "&Remap Picture");
  BUSYflagoff = item(ToolsMenu, "&Turn BUSY flag off");

  ViewMenu = new QMenu("&View", this);
  Stitchpattern1 = item(ViewMenu, "&Stitch pattern", Qt::Key_F8);
  ViewMenu->addSeparator();
  Flossreport1 = item(ViewMenu, "&Floss report", Qt::Key_F9);
  // F10 belongs to File "&New" too, which comes first and takes the key: shown, not bound.
  Colorusagereport1 = item(ViewMenu, "&Color usage report\tF10");

  for (QObject* later :
       {static_cast<QObject*>(ColorTable1), static_cast<QObject*>(Automaticcolorsearch1),
        static_cast<QObject*>(CreateModel1), static_cast<QObject*>(Stitchpattern1),
        static_cast<QObject*>(Flossreport1), static_cast<QObject*>(Colorusagereport1)})
    MarkUnbuilt(later);

  connect(New1, &QAction::triggered, frame_, &TMainForm::NewDocument);
  connect(Open1, &QAction::triggered, frame_, &TMainForm::OpenCompositions);
  connect(Preference, &QAction::triggered, frame_, &TMainForm::Preferences);
  connect(FileExitItem, &QAction::triggered, frame_, &TMainForm::Exit);
  connect(Save1, &QAction::triggered, this, &TMDIChild::Save1Click);
  connect(SaveAs1, &QAction::triggered, this, &TMDIChild::SaveAs1Click);
  connect(Import1, &QAction::triggered, this, &TMDIChild::Import1Click);
  connect(Export1, &QAction::triggered, this, &TMDIChild::Export1Click);
  connect(Load1, &QAction::triggered, this, &TMDIChild::Load1Click);
  connect(Save2, &QAction::triggered, this, &TMDIChild::Save2Click);
  connect(Editcompositionnotes1, &QAction::triggered, this, &TMDIChild::Editcompositionnotes1Click);
  connect(Print1, &QAction::triggered, this, &TMDIChild::Print1Click);
  connect(Rotateimage1, &QAction::triggered, this, &TMDIChild::Rotateimage1Click);
  connect(RemapPict, &QAction::triggered, this, &TMDIChild::RemapPictClick);
  connect(BUSYflagoff, &QAction::triggered, this, &TMDIChild::BUSYflagoffClick);
  connect(CancelSearch, &QAction::triggered, this, &TMDIChild::CancelSearchClick);
}

QString TMDIChild::Caption() const {
  return windowTitle();
}

void TMDIChild::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  if (parentWidget()) parentWidget()->setWindowTitle(caption);
}

bool TMDIChild::IsActive() const {
  return frame_->ActiveDocument() == this;
}

void TMDIChild::SetDocumentCursor(Qt::CursorShape cursor) {
  setCursor(cursor);
  image1->setCursor(cursor);
  ScrollBox1->setCursor(cursor);
  ScrollBox1->viewport()->setCursor(cursor);
}

void TMDIChild::SetBusy(bool busy) {
  Busy = busy;
  if (IsActive()) {
    BUSYflagoff->setEnabled(busy);
    EnableIdleCommands(!busy);
  }
  frame_->BtnExit->setEnabled(!busy);
  frame_->EnableCloseCommand(!busy);
  FileExitItem->setEnabled(!busy);
}

void TMDIChild::SetSearching(uint32_t searching) {
  Searching = searching;
  CancelSearch->setEnabled(searching != 0);
  SetBusy(searching != 0);
}

void TMDIChild::EnableIdleCommands(bool enabled) {
  if (!IsActive()) return;
  SetDocumentCursor(enabled ? Qt::ArrowCursor : Qt::WaitCursor);
  for (QToolButton* button :
       {frame_->BtnImport, frame_->BtnViewStitch, frame_->BtnColorTable, frame_->BtnLoadColors,
        frame_->BtnFlossReport, frame_->BtnColorSearch, frame_->BtnDesign, frame_->BtnPrint})
    EnableCommand(button, enabled);
  for (QAction* action : {Rotateimage1, Import1, Stitchpattern1, ColorTable1, Load1, Flossreport1,
                          CreateModel1, Automaticcolorsearch1, Print1, Colorusagereport1})
    EnableCommand(action, enabled);
}

void TMDIChild::EnablePictureCommands(bool enabled) {
  if (!IsActive()) return;
  for (QToolButton* button : {frame_->BtnSave, frame_->BtnViewStitch, frame_->BtnColorTable,
                              frame_->BtnLoadColors, frame_->BtnFlossReport, frame_->BtnColorSearch,
                              frame_->BtnDesign, frame_->BtnPrint, frame_->BtnNotes})
    EnableCommand(button, enabled);
  for (QAction* action :
       {Export1, Rotateimage1, Save1, Stitchpattern1, ColorTable1, Load1, Flossreport1,
        Automaticcolorsearch1, CreateModel1, Print1, Editcompositionnotes1, Colorusagereport1})
    EnableCommand(action, enabled);
  frame_->ZoomSpin->setEnabled(enabled);
  if (!enabled) frame_->ZoomPanel->clear();
}

void TMDIChild::Activated() {
  frame_->setWindowTitle(QString(TMainForm::kCaption) + " [" + Caption() + "]");
  QCoreApplication::postEvent(this, new QEvent(QEvent::Type(UM_DOCACTIVATE)));
}

void TMDIChild::Deactivated() {
  frame_->setWindowTitle(TMainForm::kCaption);
  frame_->ClearDocumentInfo();
}

bool TMDIChild::event(QEvent* event) {
  if (event->type() == QEvent::Type(UM_DOCACTIVATE)) {
    DocActivate();
    return true;
  }
  return QWidget::event(event);
}

void TMDIChild::DocActivate() {
  if (!Composition || !IsActive()) return;
  frame_->CottonSpin->setEnabled(true);
  EnableCommand(frame_->BtnImport, true);
  EnableCommand(Import1, true);
  EnablePictureCommands(Composition->HasPicture());
  if (Busy) EnableIdleCommands(false);
  frame_->ShowDocumentInfo(this);
}

void TMDIChild::FitImage() {
  if (!Composition) return;
  const int z = Composition->Zoom() + 1;
  image1->resize(Composition->Width() * z, Composition->Height() * z);
  if (!Settings().FinInWindow) return;
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub || sub->isMaximized() || !sub->mdiArea()) return;
  const QSize decoration = sub->size() - size();
  const QSize area = sub->mdiArea()->viewport()->size();
  const int status = statuspanel->isVisible() ? statuspanel->height() : 0;
  const int available_width = area.width() - sub->x() - decoration.width();
  const int available_height = area.height() - sub->y() - decoration.height() - status;
  if (image1->width() < available_width && image1->height() < available_height)
    sub->resize(QSize(image1->width() + 1, image1->height() + status) + decoration);
}

void TMDIChild::NewComposition(const TpunPal& palette) {
  SetDocumentCursor(Qt::WaitCursor);
  Composition = std::make_unique<TpunCompo>(&palette);
  Composition->SetOnProgress(
      [this](const std::string& text, uint16_t percent) { ShowProgress(text, percent); });
  Composition->SetCottonSize(1);
  GridWindow = nullptr;
  GridOpen = false;
  DesignOpen = false;
  if (Settings().AutoRemap) RemapPict->setEnabled(false);
  SetDocumentCursor(Qt::ArrowCursor);
}

void TMDIChild::StartPictureUpdate(TpunCompo& composition, bool force) {
  if (update_running_) {
    // Two workers never work on one composition: this one starts when the first ends.
    pending_update_ = true;
    pending_force_ = pending_force_ || force;
    pending_composition_ = &composition;
    return;
  }
  update_running_ = true;
  (new TupdatePictureThread(*this, composition, force))->start();
}

void TMDIChild::PictureUpdateEnded() {
  update_running_ = false;
  if (!pending_update_) return;
  pending_update_ = false;
  const bool force = pending_force_;
  pending_force_ = false;
  TpunCompo* composition = pending_composition_;
  pending_composition_ = nullptr;
  if (composition) StartPictureUpdate(*composition, force);
}

void TMDIChild::ShowProgress(const std::string& text, uint16_t percent) {
  msgpanel->setText(Latin1(text));
  meter->setValue(percent);
  // Long work on the interface's own thread reports here: let the windows repaint and the
  // user reach them, but not more often than a screen shows.
  static QElapsedTimer since_events;
  if (text.empty() || !since_events.isValid() || since_events.elapsed() >= 30) {
    statuspanel->repaint();
    QCoreApplication::processEvents();
    since_events.restart();
  }
}

void TMDIChild::ShowPicture(const QImage& picture) {
  image1->SetPicture(picture);
  image1->show();
}

bool TMDIChild::AskSaveChanges() {
  if (!Composition || !Composition->Modified() || !Composition->HasPicture()) return false;
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (sub && sub->isMinimized()) sub->showNormal();
  if (sub && sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
  repaint();
  return Messages().Confirm("Save changes to :\"" + Caption().toStdString() + "\" ?");
}

void TMDIChild::closeEvent(QCloseEvent* event) {
  // Closing frees the composition: never while a worker still works on it.
  if (Busy || WorkerRunning()) {
    Messages().Error("Cannot close, \"" + Caption().toStdString() + "\" is busy !");
    event->ignore();
    return;
  }
  if (GridOpen && GridWindow) GridWindow->close();
  // A save that fails or is cancelled keeps the window, and the composition with it.
  if (AskSaveChanges() && !SaveBeforeClosing()) {
    event->ignore();
    return;
  }
  Composition.reset();
  if (frame_->Documents().size() <= 1) frame_->ClearDocumentInfo();
  event->accept();
}

bool TMDIChild::SaveBeforeClosing() {
  try {
    return Save1Click();
  } catch (const std::exception& error) {
    Messages().Error(error.what());
    return false;
  }
}

bool TMDIChild::Save1Click() {
  if (!Composition) return false;
  if (LowerAscii(FileName).find(".dmc") == std::string::npos) return SaveAs1Click();
  Hourglass hourglass(*this);
  Composition->SaveToFile(FileName);
  return true;
}

bool TMDIChild::SaveAs1Click() {
  if (!Composition) return false;
  const QString path =
      FileDialogs().Save(this, {"Save Composition", ShownPath(Settings().Compopath),
                                "PunTel Files (*.dmc)|*.dmc", Caption(), "dmc"});
  if (path.isEmpty()) return false;
  {
    Hourglass hourglass(*this);
    FileName = LocalPath(path);
    Composition->SaveToFile(FileName);
  }
  SetCaption(NameOfPath(path));
  Activated();
  return true;
}

void TMDIChild::Import1Click() {
  if (GridOpen && GridWindow) GridWindow->close();
  GridOpen = false;
  if (AskSaveChanges()) Save1Click();
  const QStringList files = FileDialogs().Open(
      this,
      {"Import picture", ShownPath(Settings().Imagepath), "BMP files  (*.bmp)|*.bmp", {}, {}});
  if (files.isEmpty()) return;
  const QString path = files.first();
  {
    Hourglass hourglass(*this);
    // A photograph is tens of megabytes to read and copy: that happens beside the windows,
    // which stay alive meanwhile, with the document's commands barred.
    // Only the reading: the composition, which the windows may look at meanwhile, takes the
    // picture here.
    std::optional<ImportedPicture> picture;
    {
      BusyWork work(*this);
      try {
        RunBesideUi([&] { picture = ReadBitmapPicture(LocalPath(path)); });
      } catch (const EBitmapRefused& refused) {
        Messages().Error(refused.Message());
      }
    }
    if (!picture) {
      Messages().Error("Could not load file !");
      return;
    }
    Composition->TakePicture(std::move(*picture));
  }
  // The composition is named after the picture: its file name up to its last dot (the
  // whole name when it has none), then ".dmc".
  const QString picture_name = NameOfPath(path);
  const int dot = picture_name.lastIndexOf('.');
  const QString name = (dot < 0 ? picture_name : picture_name.left(dot)) + ".dmc";
  FileName = Settings().Compopath + LocalPath(name);
  SetCaption(name);
  Composition->SetTransparencyOn(false);
  frame_->ShowDocumentInfo(this);
  FitImage();
  if (IsActive()) Activated();
  StartPictureUpdate(*Composition, false);
  image1->show();
}

void TMDIChild::Export1Click() {
  if (!Composition || !Composition->HasPicture()) return;
  const QString path = FileDialogs().Save(this, {"Export Image", ShownPath(Settings().Imagepath),
                                                 "BMP files (*.bmp)|*.bmp", Caption(), "bmp"});
  if (path.isEmpty()) return;
  Hourglass hourglass(*this);
  Composition->ExportBitmap(LocalPath(path));
}

void TMDIChild::Load1Click() {
  if (Busy || WorkerRunning() || !Composition) return;
  const QStringList files = FileDialogs().Open(this, {"Load work colors",
                                                      ShownPath(Settings().ColorPath),
                                                      "Color Files (*.clr)|*.clr",
                                                      {},
                                                      "clr"});
  if (files.isEmpty()) return;
  // Read into a palette of its own first, so a file that is no palette leaves the
  // composition's colors as they were.
  TpunPal loaded;
  if (!loaded.LoadFromFile(LocalPath(files.first()))) {
    Messages().Error("\"" + files.first().toStdString() + "\" is not a palette file !");
    return;
  }
  Composition->Palette().Assign(loaded);
  Composition->SetTransparencyOn(false);
  frame_->ShowDocumentInfo(this);
  StartPictureUpdate(*Composition, false);
}

void TMDIChild::Save2Click() {
  if (!Composition) return;
  const QString path =
      FileDialogs().Save(this, {"Save work colors", ShownPath(Settings().ColorPath),
                                "Color Files (*.clr)|*.clr", Caption(), "clr"});
  if (path.isEmpty()) return;
  Hourglass hourglass(*this);
  Composition->Palette().SaveToFile(LocalPath(path));
}

void TMDIChild::Editcompositionnotes1Click() {
  if (!Composition) return;
  TNoteDlg dialog(this);
  dialog.SetText(Latin1(Composition->Notes()));
  dialog.setWindowTitle("Notes for : " + Caption());
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string notes = dialog.Text().toLatin1().toStdString();
  if (notes != Composition->Notes()) Composition->SetNotes(notes);
}

void TMDIChild::Print1Click() {
  if (!Composition) return;
  if (int64_t(frame_->SymbolTable.Count()) < Composition->Palette().Count()) {
    Messages().Error("Too many colors !");
    return;
  }
  // The pattern print-out itself comes with the pattern windows.
}

void TMDIChild::Rotateimage1Click() {
  if (Busy || WorkerRunning() || !Composition || !Composition->HasPicture()) return;
  {
    BusyWork work(*this);
    Composition->Rotate();
  }
  StartPictureUpdate(*Composition, true);
  FitImage();
}

void TMDIChild::RemapPictClick() {
  if (Busy || !Composition) return;
  StartPictureUpdate(*Composition, true);
}

void TMDIChild::BUSYflagoffClick() {
  if (Messages().Confirm("Turning BUSY flag off while a composition is\r\nworking can create "
                         "unexpected errors !\r\n\r\nContinue ?"))
    SetBusy(false);
}

void TMDIChild::CancelSearchClick() {
  if (Busy && Searching && SearchComposition) SearchComposition->SetCancelRequested(true);
}
