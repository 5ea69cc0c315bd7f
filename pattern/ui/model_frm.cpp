#include "pattern/ui/model_frm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/file_names.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_edit.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/int_parse.h"
#include "base/message_seam.h"
#include "palette/floss_palette.h"
#include "pattern/draw/design_chart.h"
#include "pattern/ui/chart_view.h"

namespace {

constexpr char kWrongValue[] = "Wrong value entered !";
constexpr qint64 kProgressInterval = 100;  // milliseconds

// Thrown through a drawing step when its window went while events ran.
struct StepAbandoned {};

// Work started meanwhile (after "Turn BUSY flag off") keeps its state.
void LeaveDesigning(TMDIChild* document) {
  if (document && document->State().Work() == DocWork::Designing) document->SetWork(DocWork::Idle);
}

QScrollArea* ScrollBox(QWidget* parent, QWidget* view) {
  auto* box = new QScrollArea(parent);
  box->setWidget(view);
  box->setWidgetResizable(false);
  box->setBackgroundRole(QPalette::Base);
  return box;
}

}  // namespace

TModelFrm::TModelFrm(TMDIChild* document, const QImage& picture)
    : QWidget(nullptr),
      document_(document),
      frame_(document->Frame()),
      picture_(picture),
      document_caption_(document->Caption()) {
  SetHelpTopic(this, help_ids::kColorChart);
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("ModelFrm");
  CreateControls();
  setWindowTitle("Make Design : " + document_caption_);
  resize(std::max(507, sizeHint().width()), 349);
  legend_font_ = font();
  OnProgress = FrameProgress();
  connect(frame_->mdi, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* window) { Guarded([&] { SubWindowActivated(window); }); });
}

TModelFrm::~TModelFrm() {
  if (!document_) return;
  // A step whose window went leaves its document idle, once the deletion is over: the
  // frame's list of child windows still holds this half-destroyed one meanwhile.
  if (busy_) {
    TMDIChild* document = document_;
    QMetaObject::invokeMethod(
        document, [document] { LeaveDesigning(document); }, Qt::QueuedConnection);
  }
  if (document_->DesignWindow == this || !document_->DesignWindow) {
    document_->DesignOpen = false;
    document_->DesignWindow = nullptr;
  }
}

QPushButton* TModelFrm::Button(const char* name, const char* caption, const char* hint,
                               bool enabled) {
  auto* button = new QPushButton(caption, Panel2);
  button->setObjectName(name);
  SetHint(button, hint);
  button->setEnabled(enabled);
  button->setAutoDefault(false);
  // Captions stay whole: the window grows rather than the buttons shrinking.
  button->setMinimumWidth(button->sizeHint().width());
  Panel2->layout()->addWidget(button);
  return button;
}

void TModelFrm::CreateControls() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(54);
  Label1 = new QLabel("Cell size :", Panel1);
  SpinEdit1 = new SpinEdit(kSmallestDesignCell, kLargestDesignCell, 3, Panel1);
  SpinEdit1->setObjectName("SpinEdit1");
  SetHint(SpinEdit1, "|Size of one cell of the design in pixels");
  SetHint(SpinEdit1->Edit(), "|Size of one cell of the design in pixels");
  SpinEdit1->SetText(QString::number(kDefaultDesignCell));
  // Room for its three digits and the frame, not a line edit's default width.
  SpinEdit1->Edit()->setFixedWidth(
      SpinEdit1->Edit()->fontMetrics().horizontalAdvance(QString(4, QChar('0'))) + 12);
  SpinEdit1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* panel2 = new QFrame(Panel1);
  panel2->setFrameShape(QFrame::Panel);
  panel2->setFrameShadow(QFrame::Sunken);
  Panel2 = panel2;
  Panel2->setObjectName("Panel2");
  new QHBoxLayout(Panel2);
  Panel2->layout()->setContentsMargins(4, 2, 4, 2);
  BtnReset = Button("BtnReset", "&Reset", "|Reset design by clearing picture", true);
  drawgrd = Button("drawgrd", "&Draw Grid", "|Draw the design grid", true);
  mapimg = Button("mapimg", "&Map Image", "|Draw the image in the grid", false);
  colors = Button("colors", "&Colors", "|Draw the color list", false);
  btnfont = Button("btnfont", "&Font", "|Choose the font for the color list", true);
  btnsave = Button("btnsave", "&Save", "|Save the design to BMP files", true);
  auto* top = new QHBoxLayout(Panel1);
  top->addWidget(Label1);
  top->addWidget(SpinEdit1);
  top->addSpacing(8);
  top->addWidget(Panel2);
  top->addStretch(1);

  Image1 = new ChartView(&chart_);
  Image1->setObjectName("Image1");
  ScrollBox2 = ScrollBox(this, Image1);
  ScrollBox2->setObjectName("ScrollBox2");
  Image2 = new ChartView(&legend_);
  Image2->setObjectName("Image2");
  ScrollBox1 = ScrollBox(this, Image2);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setFixedHeight(85);
  ScrollBox1->hide();

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(Panel1);
  column->addWidget(ScrollBox2, 1);
  column->addWidget(ScrollBox1);

  connect(SpinEdit1, &SpinEdit::textChanged, this, GuardedSlot([this] { Reset(); }));
  connect(BtnReset, &QPushButton::clicked, this, GuardedSlot([this] { Reset(); }));
  connect(drawgrd, &QPushButton::clicked, this, GuardedSlot([this] { DrawGridClick(); }));
  connect(mapimg, &QPushButton::clicked, this, GuardedSlot([this] { MapImageClick(); }));
  connect(colors, &QPushButton::clicked, this, GuardedSlot([this] { ColorsClick(); }));
  connect(btnfont, &QPushButton::clicked, this, GuardedSlot([this] { FontClick(); }));
  connect(btnsave, &QPushButton::clicked, this, GuardedSlot([this] { SaveClick(); }));
}

// How often the frame's status line shows a step's reports and events run, counted from
// the start of the step.
struct TModelFrm::ProgressPace {
  QElapsedTimer shown, events;
};

ProgressHandler TModelFrm::FrameProgress() {
  pace_ = std::make_shared<ProgressPace>();
  pace_->shown.start();
  pace_->events.start();
  // Shared by the handler's copies, which outlive the window while a step unwinds.
  std::shared_ptr<ProgressPace> pace = pace_;
  QPointer<TModelFrm> self(this);
  return [self, pace](const std::string& text, uint16_t percent) {
    if (!self) return;
    // Repainting the status line for every column would slow the step down: a report
    // shows when the last one is old enough, a clearing one when there is text to clear.
    const bool show =
        text.empty() ? !self->StatusLineClear() : pace->shown.elapsed() >= kProgressInterval;
    if (show && self->frame_) self->frame_->ShowMainProgress(text, percent);
    if (show) pace->shown.restart();
    // Often enough to stay responsive. The one place a step lets events run: the window
    // may go meanwhile.
    if (pace->events.elapsed() < kProgressInterval) return;
    self->Image1->update();
    QCoreApplication::processEvents();
    pace->events.restart();
  };
}

bool TModelFrm::StatusLineClear() const {
  return !frame_ || (frame_->msgpanel->text().isEmpty() && frame_->meter->value() == 0);
}

void TModelFrm::SetWorking(bool working) {
  busy_ = working;
  const Qt::CursorShape cursor = working ? Qt::WaitCursor : Qt::ArrowCursor;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           ScrollBox1, ScrollBox2, ScrollBox1->viewport(), ScrollBox2->viewport(), Image1, Image2,
           Panel1, Panel2, SpinEdit1, SpinEdit1->Edit()})
    widget->setCursor(cursor);
  Panel2->setEnabled(!working);
  if (!document_) return;
  if (working)
    document_->SetWork(DocWork::Designing);
  else
    LeaveDesigning(document_);
}

bool TModelFrm::MayStart() const {
  return !busy_ && document_ && document_->Composition && !document_->Working();
}

bool TModelFrm::RunStep(const std::function<void(const ProgressHandler&)>& draw) {
  QPointer<TModelFrm> self(this);
  const ProgressHandler observer = OnProgress;
  const ProgressHandler progress = [self, observer](const std::string& text, uint16_t percent) {
    if (observer) observer(text, percent);
    if (!self) throw StepAbandoned{};
  };
  pace_->shown.restart();
  pace_->events.restart();
  SetWorking(true);
  try {
    draw(progress);
  } catch (const StepAbandoned&) {
    return false;
  } catch (...) {
    // A failed step leaves the cell size free to change, so the chart can be started anew.
    if (self) {
      SetWorking(false);
      SpinEdit1->setEnabled(true);
    }
    throw;
  }
  SetWorking(false);
  return true;
}

void TModelFrm::Reset() {
  if (busy_) return;
  const QString text = SpinEdit1->Text();
  if (text.isEmpty()) return;
  const std::optional<int32_t> value = TryStrToInt(text.toStdString());
  if (!value || *value > kLargestDesignCell) {
    Messages().Error(kWrongValue);
    return;
  }
  // A smaller number may be the first digit of a size still being typed.
  if (*value < kSmallestDesignCell) return;
  const ChartGeometry chart = ChartOf(picture_, *value);
  if (chart.TooLarge()) {
    const QSignalBlocker quiet(SpinEdit1);
    SpinEdit1->SetText(QString::number(cell_size_));
    throw EDesignTooLarge();
  }
  cell_size_ = uint16_t(*value);
  WaitCursor hourglass;
  chart_ = BlankChart(chart);
  legend_ = BlankImage(LegendImageWidth(chart.Width()), ScrollBox1->height());
  legend_drawn_ = false;
  Image1->Follow();
  Image2->Follow();
  mapimg->setEnabled(false);
  colors->setEnabled(false);
  drawgrd->setEnabled(true);
  ScrollBox1->hide();
}

void TModelFrm::DrawGridClick() {
  if (!drawgrd->isEnabled() || chart_.isNull() || !MayStart()) return;
  drawgrd->setEnabled(false);
  SpinEdit1->setEnabled(false);
  const ChartGeometry chart = ChartOf(picture_, cell_size_);
  if (!RunStep([&](const ProgressHandler& progress) { DrawChartGrid(chart_, chart, progress); }))
    return;
  Image1->update();
  mapimg->setEnabled(true);
  SpinEdit1->setEnabled(true);
}

void TModelFrm::MapImageClick() {
  if (!mapimg->isEnabled() || !MayStart()) return;
  SpinEdit1->setEnabled(false);
  mapimg->setEnabled(false);
  const ChartGeometry chart = ChartOf(picture_, cell_size_);
  const QImage picture = picture_;
  if (!RunStep([&](const ProgressHandler& progress) {
        DrawChartPicture(chart_, chart, picture, progress);
      }))
    return;
  Image1->update();
  colors->setEnabled(true);
  SpinEdit1->setEnabled(true);
}

void TModelFrm::ColorsClick() {
  if (!colors->isEnabled() || !MayStart()) return;
  SpinEdit1->setEnabled(false);
  ScrollBox1->show();
  // A copy: the document's palette may change while the step lets events run.
  TpunPal palette;
  palette.Assign(document_->Composition->Palette());
  const QFont font = legend_font_;
  const int64_t width = LegendImageWidth(chart_.width());
  if (!RunStep([&](const ProgressHandler& progress) {
        const LegendGeometry legend = LegendLayoutOf(font, width, palette.Count());
        legend_ = DrawLegend(legend, font, palette, progress);
      }))
    return;
  Image2->Follow();
  legend_drawn_ = true;
  colors->setEnabled(false);
  SpinEdit1->setEnabled(true);
}

void TModelFrm::FontClick() {
  if (busy_) return;
  if (const std::optional<QFont> chosen = AskFont(this, legend_font_)) legend_font_ = *chosen;
}

void TModelFrm::SaveClick() {
  if (busy_ || chart_.isNull()) return;
  const QString path = FileDialogs().Save(
      this, {"Save design", ShownPath(Settings().Imagepath), "Bitmap Files (*.bmp)|*.bmp",
             WithExtension(document_caption_, ".bmp"), "bmp"});
  if (path.isEmpty()) return;
  const std::string chart_file = LocalPath(path);
  const std::string legend_file = LegendFileName(chart_file);
  // Both files or neither: every refusal and the question come before anything is written.
  RefuseUnwritable(chart_file);
  if (legend_drawn_) RefuseUnwritable(legend_file);
  std::error_code error;
  if (legend_drawn_ && std::filesystem::exists(legend_file, error) &&
      !Messages().Confirm(FormatMessage("\"%s\" already exists. Replace it ?", legend_file)))
    return;
  WaitCursor hourglass;
  SaveDesignBitmap(chart_file, chart_);
  if (legend_drawn_) SaveDesignBitmap(legend_file, legend_);
}

void TModelFrm::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  event->accept();
  // Closed on its own (by its document): its frame in the MDI area goes too.
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
}

void TModelFrm::SubWindowActivated(QMdiSubWindow* window) {
  // Leaving the program or a message box and coming back is no activation.
  if (!window) return;
  const bool was_active = last_active_ && last_active_->widget() == this;
  last_active_ = window;
  if (window->widget() == this && !was_active && !busy_) Reset();
}
