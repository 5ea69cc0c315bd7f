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

#include <cstdio>
#include <utility>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/commands.h"
#include "app/ui/file_names.h"
#include "app/ui/find_form.h"
#include "app/ui/help_topic.h"
#include "app/ui/main_form.h"
#include "app/ui/note_dlg.h"
#include "app/ui/picture_view.h"
#include "app/ui/resize_dlg.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_button.h"
#include "app/ui/status_panel.h"
#include "app/ui/ui_seams.h"
#include "base/exceptions.h"
#include "base/latin1.h"
#include "base/message_seam.h"
#include "composition/bitmap_file.h"
#include "composition/embroidery_size.h"
#include "composition/search_result.h"
#include "composition/ui/color_search_job.h"
#include "composition/ui/document_jobs.h"
#include "composition/ui/picture_jobs.h"
#include "palette/palette_errors.h"

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

TMDIChild::TMDIChild(TMainForm* frame) : QWidget(nullptr), frame_(frame) {
  SetHelpTopic(this, help_ids::kDocumentWindow);
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
  connect(image1, &PictureView::Clicked, this,
          [this](int x, int y) { Guarded([&] { PictureClicked(x, y); }); });

  auto* status = new StatusPanel(this, 90);
  statuspanel = status;
  msgpanel = status->msgpanel;
  meter = status->meter;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(statuspanel);

  jobs_ = std::make_unique<DocumentJobs>();
  connect(jobs_.get(), &DocumentJobs::ProgressShown, this,
          [this](const QString& text, int percent) {
            ShowProgress(text.toLatin1().toStdString(), uint16_t(percent));
          });
  connect(jobs_.get(), &DocumentJobs::JobEnded, this,
          [this](bool more_waiting) { Guarded([&] { JobEnded(more_waiting); }); });
  CreateMenus();
  SetCaption("New Composition.dmc");
  resize(kMinimumSize);
  Composition = std::make_unique<TpunCompo>();
}

TMDIChild::~TMDIChild() {
  // The worker may hold the composition: it stops and ends before the composition goes.
  jobs_->Join();
}

void TMDIChild::CreateMenus() {
  const auto item = [this](QMenu* menu, Command command) {
    QAction* action = frame_->Action(command);
    menu->addAction(action);
    return action;
  };
  FileMenu = new QMenu("&File", this);
  New1 = item(FileMenu, Command::New);
  Open1 = item(FileMenu, Command::Open);
  Save1 = item(FileMenu, Command::Save);
  SaveAs1 = item(FileMenu, Command::SaveAs);
  FileMenu->addSeparator();
  QMenu* images = FileMenu->addMenu("&Images");
  Import1 = item(images, Command::Import);
  Export1 = item(images, Command::Export);
  QMenu* colors = FileMenu->addMenu("&Colors");
  Load1 = item(colors, Command::LoadColors);
  Save2 = item(colors, Command::SaveColors);
  FileMenu->addSeparator();
  Editcompositionnotes1 = item(FileMenu, Command::Notes);
  Preference = item(FileMenu, Command::Preferences);
  FileMenu->addSeparator();
  Print1 = item(FileMenu, Command::Print);
  ExportOxs1 = item(FileMenu, Command::ExportOxs);
  FileMenu->addSeparator();
  FileExitItem = item(FileMenu, Command::Exit);

  ToolsMenu = new QMenu("&Tools", this);
  ColorTable1 = item(ToolsMenu, Command::ColorTable);
  Rotateimage1 = item(ToolsMenu, Command::Rotate);
  Turnright1 = item(ToolsMenu, Command::TurnRight);
  Turnleft1 = item(ToolsMenu, Command::TurnLeft);
  Resizepicture1 = item(ToolsMenu, Command::Resize);
  ToolsMenu->addSeparator();
  Automaticcolorsearch1 = item(ToolsMenu, Command::ColorSearch);
  CancelSearch = item(ToolsMenu, Command::CancelSearch);
  ToolsMenu->addSeparator();
  CreateModel1 = item(ToolsMenu, Command::CreateDesign);
  ToolsMenu->addSeparator();
  RemapPict = item(ToolsMenu, Command::Remap);
  BUSYflagoff = item(ToolsMenu, Command::BusyOff);
  ToolsMenu->addSeparator();
  UndoPalette1 = item(ToolsMenu, Command::UndoPalette);

  ViewMenu = new QMenu("&View", this);
  Stitchpattern1 = item(ViewMenu, Command::StitchPattern);
  ViewMenu->addSeparator();
  Flossreport1 = item(ViewMenu, Command::FlossReport);
  Colorusagereport1 = item(ViewMenu, Command::ColorUsage);
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

void TMDIChild::SetWork(DocWork work) {
  const DocumentState before = state_;
  state_.SetWork(work);
  SetDocumentCursor(Busy() ? Qt::WaitCursor : Qt::ArrowCursor);
  if (!(state_ == before)) emit stateChanged();
  // What the work changed (sizes, floss counts) shows once it has ended.
  if (before.Working() && !Working() && IsActive()) frame_->ShowDocumentInfo(this);
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
    Guarded([this] { DocActivate(); });
    return true;
  }
  return QWidget::event(event);
}

void TMDIChild::DocActivate() {
  if (!Composition || !IsActive()) return;
  frame_->UpdateCommands();
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
  // Around its picture, as far as the area allows from where the window stands (beyond,
  // the picture scrolls), and never under the window's smallest size.
  const QSize available = area - QSize(sub->x(), sub->y()) - decoration;
  const QSize wanted(image1->width() + 1, image1->height() + status);
  const QSize client = wanted.boundedTo(available).expandedTo(kMinimumSize);
  sub->resize(client + decoration);
}

void TMDIChild::TakeTwoThirds() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub || !sub->mdiArea() || sub->isMaximized()) return;
  const QSize decoration = sub->size() - size();
  const QSize area = sub->mdiArea()->viewport()->size();
  const QSize two_thirds(area.width() * 2 / 3, area.height() * 2 / 3);
  sub->resize(two_thirds.expandedTo(kMinimumSize + decoration));
}

void TMDIChild::NewComposition(const TpunPal& palette) {
  SetDocumentCursor(Qt::WaitCursor);
  Composition = std::make_unique<TpunCompo>(&palette);
  Composition->SetOnProgress(
      [this](const std::string& text, uint16_t percent) { ReportFromUi(text, percent); });
  Composition->SetCottonSize(1);
  GridWindow = nullptr;
  GridOpen = false;
  DesignOpen = false;
  // A new composition fits its symbols afresh.
  frame_->Symbols.ResetFontCache();
  remap_wanted_ = !Settings().AutoRemap;
  SetDocumentCursor(Qt::ArrowCursor);
}

void TMDIChild::RunJob(DocWork work, std::function<WorkerJob()> make) {
  jobs_->Start([this, work, make = std::move(make)] {
    SetWork(work);
    return make();
  });
}

void TMDIChild::JobEnded(bool more_waiting) {
  if (more_waiting) return;  // the next job sets the state as it starts
  ShowProgress("", 0);
  SetWork(DocWork::Idle);
}

void TMDIChild::StartPictureUpdate(bool force) {
  RunJob(DocWork::UpdatingPicture, [this, force] {
    // Read here, where the preferences are changed, not while they may change.
    const bool remap = force || Settings().AutoRemap;
    WorkerJob job;
    job.body = UpdatePictureJob(*Composition, remap);
    job.apply = [this](std::any& result) {
      const auto update = std::any_cast<std::shared_ptr<PictureUpdateResult>>(result);
      remap_wanted_ = !update->mapped;
      if (update->mapped) {
        ReleaseLater({Composition->MappedPicture()});
        Composition->SetMappedPicture(std::move(*update->mapped));
      }
      ShowPicture(update->screen);
      if (GridOpen && GridWindow) {
        GridWindow->update();
        for (QWidget* child : GridWindow->findChildren<QWidget*>()) child->update();
      }
    };
    return job;
  });
}

void TMDIChild::ReleaseLater(std::vector<TPicture> pictures) {
  jobs_->Start([pictures = std::move(pictures)]() mutable {
    WorkerJob job;
    job.body = ReleasePicturesJob(std::move(pictures));
    return job;
  });
}

void TMDIChild::StartColorSearch(const TSearchOptions& options) {
  RunJob(DocWork::Searching, [this, options] {
    ShowProgress("Automatic color search, initializing...", 0);
    WorkerJob job;
    job.body = ColorSearchJob(*Composition, options);
    job.apply = [this](std::any& result) {
      const auto search = std::any_cast<std::shared_ptr<ColorSearchResult>>(result);
      // A cancel pressed while the window still showed the search wins, even when the
      // worker had passed its last check.
      if (!search->finished || jobs_->CancelRequested()) return;
      PaletteUndo::Snapshot before = PaletteUndo::Take(*Composition);
      if (!ApplySearchResult(*Composition, *search->palette)) {
        Messages().Error(kEmptySearchResult);
        return;
      }
      RecordPaletteChange(std::move(before));
      if (IsActive()) frame_->ShowDocumentInfo(this);
      StartPictureUpdate(false);
    };
    return job;
  });
}

void TMDIChild::ShowProgress(const std::string& text, uint16_t percent) {
  msgpanel->setText(Latin1(text));
  meter->setValue(percent);
}

void TMDIChild::ReportFromUi(const std::string& text, uint16_t percent) {
  // Long work on the interface's own thread reports here: let the windows repaint and the
  // user reach them, but not more often than a screen shows.
  jobs_->Progress().Report(text, percent, [this](const std::string& shown, uint16_t p) {
    ShowProgress(shown, p);
    statuspanel->repaint();
    QCoreApplication::processEvents();
  });
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
  // What fails while closing keeps the window open.
  if (!Guarded([&] { CloseDocument(event); })) event->ignore();
}

void TMDIChild::CloseDocument(QCloseEvent* event) {
  // Closing frees the composition: never while work still runs on it.
  if (Working()) {
    Messages().Error("Cannot close, \"" + Caption().toStdString() + "\" is busy !");
    event->ignore();
    return;
  }
  // A save that fails or is cancelled keeps the window, and the composition with it, and
  // its pattern and design windows too.
  if (AskSaveChanges() && !SaveBeforeClosing()) {
    event->ignore();
    return;
  }
  CloseChildWindows();
  jobs_->Join();
  Composition.reset();
  if (frame_->Documents().size() <= 1) frame_->ClearDocumentInfo();
  event->accept();
}

void TMDIChild::CloseChildWindows() {
  if (GridOpen && GridWindow) GridWindow->close();
  if (DesignOpen && DesignWindow) DesignWindow->close();
}

bool TMDIChild::SaveBeforeClosing() {
  bool saved = false;
  Guarded([&] { saved = Save1Click(); });
  return saved;
}

std::optional<TMDIChild::FileStamp> TMDIChild::StampOf(const std::string& path) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  return FileStamp{time, size};
}

void TMDIChild::RememberFileStamp() {
  stamp_path_ = FileName;
  stamp_ = StampOf(FileName);
}

bool TMDIChild::MayOverwrite(const std::string& path) {
  if (!stamp_ || path != stamp_path_) return true;
  const std::optional<FileStamp> now = StampOf(path);
  if (!now || *now == *stamp_) return true;
  return Messages().Confirm(
      FormatMessage("\"%s\" was changed by another program. Overwrite it ?", path));
}

bool TMDIChild::Save1Click() {
  if (!Composition) return false;
  if (LowerAscii(FileName).find(".dmc") == std::string::npos) return SaveAs1Click();
  if (!MayOverwrite(FileName)) return false;
  Hourglass hourglass(*this);
  Composition->SaveToFile(FileName);
  RememberFileStamp();
  return true;
}

bool TMDIChild::SaveAs1Click() {
  if (!Composition) return false;
  const QString path =
      FileDialogs().Save(this, {"Save Composition", ShownPath(Settings().Compopath),
                                "PunTel Files (*.dmc)|*.dmc", Caption(), "dmc"});
  if (path.isEmpty()) return false;
  if (!MayOverwrite(LocalPath(path))) return false;
  {
    Hourglass hourglass(*this);
    FileName = LocalPath(path);
    Composition->SaveToFile(FileName);
    RememberFileStamp();
  }
  SetCaption(NameOfPath(path));
  Activated();
  return true;
}

void TMDIChild::Import1Click() {
  if (!Composition) return;
  CloseChildWindows();
  GridOpen = false;
  if (AskSaveChanges()) Save1Click();
  const QStringList files = FileDialogs().Open(
      this,
      {"Import picture",
       ShownPath(Settings().Imagepath),
       "BMP files  (*.bmp)|*.bmp|PNG and JPEG pictures (*.png *.jpg *.jpeg)|*.png;*.jpg;*.jpeg",
       {},
       {}});
  if (files.isEmpty()) return;
  const QString path = files.first();
  // A photograph is tens of megabytes to read and map: that happens on the worker, the
  // windows stay alive meanwhile, and the document's commands are barred. Behind a job
  // still running (BUSY flag turned off) it waits its turn.
  RunJob(DocWork::Importing, [this, path] {
    WorkerJob job;
    job.body = ImportPictureJob(LocalPath(path));
    job.apply = [this, path](std::any& result) { ApplyImport(result, path); };
    return job;
  });
}

void TMDIChild::ApplyImport(std::any& result, const QString& path) {
  const auto import = std::any_cast<std::shared_ptr<ImportResult>>(result);
  if (!import->picture) {
    Messages().Error(import->refusal);
    // A bitmap of another kind is said once: "could not load" would add nothing to it.
    if (import->refusal != BitmapRefusalText(BitmapVerdict::NotTrueColor))
      Messages().Error("Could not load file !");
    return;
  }
  // The block changes hands by move; the pictures let go of are freed on the worker.
  ReleaseLater({Composition->SourcePicture(), Composition->MappedPicture()});
  Composition->TakePicture(std::move(*import->picture));
  // The composition is named after the picture: its file name up to its last dot (the
  // whole name when it has none), then ".dmc".
  const QString name = WithExtension(NameOfPath(path), ".dmc");
  FileName = Settings().Compopath + LocalPath(name);
  stamp_.reset();
  SetCaption(name);
  Composition->SetTransparencyOn(false);
  frame_->ShowDocumentInfo(this);
  FitImage();
  if (IsActive()) Activated();
  // A photograph is thousands of stitches wide: offer a size one could stitch before it is
  // mapped at all (the resize maps the picture it makes).
  if (!(OfferResize() && AskNewSize(kOfferedWidth))) StartPictureUpdate(false);
  image1->show();
}

bool TMDIChild::OfferResize() const {
  const uint16_t width = Composition->Width(), height = Composition->Height();
  if (width <= kLargestWithoutQuestion && height <= kLargestWithoutQuestion) return false;
  const uint16_t fabric = Composition->FabricCount();
  const auto cm = [fabric](uint16_t stitches) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", EmbroideryLength(stitches, fabric, 0));
    return std::string(text);
  };
  const std::string times = "\u00D7";
  return Messages().Confirm("The picture is " + std::to_string(width) + " " + times + " " +
                            std::to_string(height) + " stitches (" + cm(width) + " " + times + " " +
                            cm(height) + " cm on " + std::to_string(fabric) +
                            " count). Resize it ?");
}

void TMDIChild::Export1Click() {
  if (!Composition || !Composition->HasPicture()) return;
  const QString path = FileDialogs().Save(
      this, {"Export Image", ShownPath(Settings().Imagepath), "BMP files (*.bmp)|*.bmp",
             WithExtension(Caption(), ".bmp"), "bmp"});
  if (path.isEmpty() || IsCompositionFile(path)) return;
  Hourglass hourglass(*this);
  Composition->ExportBitmap(LocalPath(path));
}

void TMDIChild::Load1Click() {
  if (Busy() || Working() || !Composition) return;
  const QStringList files = FileDialogs().Open(this, {"Load work colors",
                                                      ShownPath(Settings().ColorPath),
                                                      "Color Files (*.clr)|*.clr",
                                                      {},
                                                      "clr"});
  if (files.isEmpty()) return;
  // Read into a palette of its own first, so a file that is no palette leaves the
  // composition's colors as they were.
  TpunPal loaded;
  try {
    loaded.LoadFromFile(LocalPath(files.first()));
  } catch (const ENotPaletteFile&) {
    Messages().Error("\"" + files.first().toStdString() + "\" is not a palette file !");
    return;
  }
  PaletteUndo::Snapshot before = PaletteUndo::Take(*Composition);
  Composition->Palette().Assign(loaded);
  Composition->SetTransparencyOn(false);
  RecordPaletteChange(std::move(before));
  frame_->ShowDocumentInfo(this);
  StartPictureUpdate(false);
}

void TMDIChild::Save2Click() {
  if (!Composition) return;
  const QString path = FileDialogs().Save(
      this, {"Save work colors", ShownPath(Settings().ColorPath), "Color Files (*.clr)|*.clr",
             WithExtension(Caption(), ".clr"), "clr"});
  if (path.isEmpty() || IsCompositionFile(path)) return;
  Hourglass hourglass(*this);
  Composition->Palette().SaveToFile(LocalPath(path));
}

bool TMDIChild::IsCompositionFile(const QString& path) const {
  if (!SameFile(LocalPath(path), FileName)) return false;
  Messages().Error("This is the composition file: choose another name !");
  return true;
}

void TMDIChild::Editcompositionnotes1Click() {
  if (!Composition) return;
  TNoteDlg dialog(this);
  dialog.SetText(Latin1(Composition->Notes()));
  dialog.setWindowTitle("Notes for : " + Caption());
  if (RunModal(dialog) != QDialog::Accepted) return;
  const std::string notes = dialog.Text().toLatin1().toStdString();
  if (notes != Composition->Notes()) Composition->SetNotes(notes);
}

bool TMDIChild::PictureIdle() const {
  return !Busy() && !Working() && Composition && Composition->HasPicture();
}

void TMDIChild::Rotateimage1Click() {
  if (!PictureIdle()) return;
  RunPictureJob(DocWork::Rotating, [this] { return RotatePictureJob(*Composition); });
}

void TMDIChild::TurnRightClick() {
  TurnPicture(QuarterTurn::Right);
}

void TMDIChild::TurnLeftClick() {
  TurnPicture(QuarterTurn::Left);
}

void TMDIChild::TurnPicture(QuarterTurn turn) {
  if (!PictureIdle()) return;
  RunPictureJob(DocWork::Rotating, [this, turn] { return TurnPictureJob(*Composition, turn); });
}

void TMDIChild::ResizepictureClick() {
  if (!PictureIdle()) return;
  AskNewSize(std::nullopt);
}

bool TMDIChild::AskNewSize(std::optional<uint16_t> width) {
  TResizeDlg dialog(Composition->Width(), Composition->Height(), Composition->FabricCount(),
                    Settings().Unit, this);
  if (width) dialog.SetWidth(*width);
  if (RunModal(dialog) != QDialog::Accepted) return false;
  const uint16_t new_width = *dialog.NewWidth(), new_height = *dialog.NewHeight();
  RunPictureJob(DocWork::Resizing, [this, new_width, new_height] {
    return ResizePictureJob(*Composition, new_width, new_height);
  });
  return true;
}

void TMDIChild::RunPictureJob(DocWork work, std::function<WorkerJob::Body()> make_body) {
  RunJob(work, [this, make_body = std::move(make_body)] {
    WorkerJob job;
    job.body = make_body();
    job.apply = [this](std::any& result) {
      const auto made = std::any_cast<std::shared_ptr<RotationResult>>(result);
      if (!*made) return;  // cancelled: the composition is as it was
      ReleaseLater({Composition->SourcePicture(), Composition->MappedPicture()});
      Composition->SetPicture(std::move(**made));
      Composition->SetModified(true);
      RefreshGrid();
      StartPictureUpdate(true);
      FitImage();
      if (IsActive()) frame_->ShowDocumentInfo(this);  // the sizes changed
    };
    return job;
  });
}

void TMDIChild::Automaticcolorsearch1Click() {
  if (!PictureIdle()) return;
  TFindForm dialog(frame_->MainPalette.Count(), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  // Every option is read before the window is marked searching: a field that cannot be
  // read leaves it idle.
  const TSearchOptions options = dialog.Options();
  StartColorSearch(options);
}

void TMDIChild::RemapPictClick() {
  if (Busy() || !Composition) return;
  StartPictureUpdate(true);
}

void TMDIChild::BUSYflagoffClick() {
  if (!Messages().Confirm("Turning BUSY flag off while a composition is\r\nworking can create "
                          "unexpected errors !\r\n\r\nContinue ?"))
    return;
  // A worker on the composition keeps the window busy until it ends, and clears it then:
  // nothing may change or free the composition under it. A search is asked to stop early.
  if (jobs_->Running()) {
    if (Searching()) jobs_->Cancel();
    return;
  }
  state_.TurnBusyFlagOff();
  SetDocumentCursor(Qt::ArrowCursor);
  emit stateChanged();
}

void TMDIChild::CancelSearchClick() {
  if (Searching() || state_.Work() == DocWork::Printing) jobs_->Cancel();
}
