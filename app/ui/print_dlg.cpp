#include "app/ui/print_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>
#include <cmath>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/slot_guard.h"

namespace {

// In the order of the paper box.
constexpr std::array<PaperSize, 3> kPapers = {PaperSize::A4, PaperSize::Letter, PaperSize::A3};

int PaperIndex(const Paper& paper) {
  for (size_t i = 0; i < kPapers.size(); ++i) {
    const Paper known = PaperOf(kPapers[i]);
    if (std::abs(known.width_mm - paper.width_mm) < 0.5 &&
        std::abs(known.height_mm - paper.height_mm) < 0.5)
      return int(i);
  }
  return 0;
}

QCheckBox* Part(const char* text, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

TPrintDlg::TPrintDlg(const PrintedPattern& pattern, Actions actions, QWidget* parent)
    : QDialog(parent), pattern_(pattern), actions_(std::move(actions)) {
  SetHelpTopic(this, help_ids::kPrint);
  setObjectName("PrintDlg");
  setWindowTitle("Print Pattern");
  PaperBox = new QComboBox(this);
  PaperBox->setObjectName("PaperBox");
  PaperBox->addItems({"A4", "Letter", "A3"});
  PortraitButton = new QRadioButton("P&ortrait", this);
  PortraitButton->setObjectName("PortraitButton");
  LandscapeButton = new QRadioButton("&Landscape", this);
  LandscapeButton->setObjectName("LandscapeButton");
  auto* orientation = new QButtonGroup(this);
  orientation->addButton(PortraitButton);
  orientation->addButton(LandscapeButton);
  // Tenths of a millimetre are what a ruler shows; the steps are half millimetres.
  CellSizeEdit = new QDoubleSpinBox(this);
  CellSizeEdit->setObjectName("CellSizeEdit");
  CellSizeEdit->setRange(kMinCellMm, kMaxCellMm);
  CellSizeEdit->setDecimals(1);
  CellSizeEdit->setSingleStep(0.5);
  CellSizeEdit->setSuffix(" mm");
  OverlapEdit = new QSpinBox(this);
  OverlapEdit->setObjectName("OverlapEdit");
  OverlapEdit->setRange(0, kMaxOverlap);
  OverlapEdit->setSuffix(" stitches");
  CoverBox = Part("Cover page", "CoverBox", this);
  KeyBox = Part("Floss key", "KeyBox", this);
  BwChartBox = Part("Black and white chart", "BwChartBox", this);
  ColorChartBox = Part("Color chart", "ColorChartBox", this);
  CountLine = new QLabel(this);
  CountLine->setObjectName("CountLine");
  ProgressLine = new QLabel(this);
  ProgressLine->setObjectName("ProgressLine");
  Meter = new QProgressBar(this);
  Meter->setObjectName("Meter");
  Meter->setRange(0, 100);

  auto* orientations = new QHBoxLayout;
  orientations->addWidget(PortraitButton);
  orientations->addWidget(LandscapeButton);
  orientations->addStretch();
  auto* fields = new QFormLayout;
  fields->addRow("&Paper :", PaperBox);
  fields->addRow("Orientation :", orientations);
  fields->addRow("C&ell size :", CellSizeEdit);
  fields->addRow("O&verlap :", OverlapEdit);
  auto* parts = new QVBoxLayout;
  for (QCheckBox* part : {CoverBox, KeyBox, BwChartBox, ColorChartBox}) parts->addWidget(part);

  auto* buttons = new QDialogButtonBox(this);
  PrintButton = buttons->addButton("Print...", QDialogButtonBox::ActionRole);
  SavePdfButton = buttons->addButton("Save PDF...", QDialogButtonBox::ActionRole);
  CancelButton = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  PrintButton->setObjectName("PrintButton");
  SavePdfButton->setObjectName("SavePdfButton");
  CancelButton->setObjectName("CancelButton");
  PrintButton->setDefault(true);
  connect(PrintButton, &QPushButton::clicked, this, GuardedSlot([this] { Start(actions_.print); }));
  connect(SavePdfButton, &QPushButton::clicked, this,
          GuardedSlot([this] { Start(actions_.save); }));
  connect(CancelButton, &QPushButton::clicked, this, &TPrintDlg::reject);

  auto* column = new QVBoxLayout(this);
  column->addLayout(fields);
  column->addLayout(parts);
  column->addWidget(CountLine);
  column->addWidget(ProgressLine);
  column->addWidget(Meter);
  column->addWidget(buttons);

  SetChoices(Remembered());
  SetRunning(false);
  const auto changed = GuardedSlot([this] { ShowCount(); });
  connect(PaperBox, &QComboBox::currentIndexChanged, this, changed);
  connect(LandscapeButton, &QRadioButton::toggled, this, changed);
  connect(CellSizeEdit, &QDoubleSpinBox::valueChanged, this, changed);
  connect(OverlapEdit, &QSpinBox::valueChanged, this, changed);
  for (QCheckBox* part : {CoverBox, KeyBox, BwChartBox, ColorChartBox})
    connect(part, &QCheckBox::toggled, this, changed);
  ShowCount();
}

PrintChoices TPrintDlg::DefaultChoices() {
  PrintChoices choices;
  // Britain measures in imperial units too, but prints on A4.
  const bool us = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  choices.plan.paper = PaperOf(us ? PaperSize::Letter : PaperSize::A4);
  return choices;
}

PrintChoices& TPrintDlg::Remembered() {
  static PrintChoices last = DefaultChoices();
  return last;
}

PrintChoices TPrintDlg::Choices() const {
  PrintChoices choices;
  choices.plan.paper = PaperOf(kPapers[size_t(std::max(0, PaperBox->currentIndex()))]);
  choices.plan.landscape = LandscapeButton->isChecked();
  choices.plan.cell_mm = CellSizeEdit->value();
  choices.plan.overlap = OverlapEdit->value();
  choices.cover = CoverBox->isChecked();
  choices.key = KeyBox->isChecked();
  choices.bw_chart = BwChartBox->isChecked();
  choices.color_chart = ColorChartBox->isChecked();
  return choices;
}

void TPrintDlg::SetChoices(const PrintChoices& choices) {
  PaperBox->setCurrentIndex(PaperIndex(choices.plan.paper));
  (choices.plan.landscape ? LandscapeButton : PortraitButton)->setChecked(true);
  CellSizeEdit->setValue(choices.plan.cell_mm);
  OverlapEdit->setValue(choices.plan.overlap);
  CoverBox->setChecked(choices.cover);
  KeyBox->setChecked(choices.key);
  BwChartBox->setChecked(choices.bw_chart);
  ColorChartBox->setChecked(choices.color_chart);
}

void TPrintDlg::ShowCount() {
  try {
    CountLine->setText(QString::fromStdString(PatternPrintout(pattern_, Choices()).CountLine()));
    plan_ok_ = true;
  } catch (const EPagePlanError& refused) {
    CountLine->setText(QString::fromStdString(refused.what()));
    plan_ok_ = false;
  }
  SetRunning(running_);
}

void TPrintDlg::Start(const std::function<bool(const PrintChoices&)>& action) {
  if (running_ || !plan_ok_ || !action) return;
  Remembered() = Choices();
  if (action(Choices())) SetRunning(true);
}

void TPrintDlg::SetRunning(bool running) {
  running_ = running;
  for (QWidget* choice :
       std::initializer_list<QWidget*>{PaperBox, PortraitButton, LandscapeButton, CellSizeEdit,
                                       OverlapEdit, CoverBox, KeyBox, BwChartBox, ColorChartBox})
    choice->setEnabled(!running);
  PrintButton->setEnabled(!running && plan_ok_);
  SavePdfButton->setEnabled(!running && plan_ok_);
  ProgressLine->setVisible(running);
  Meter->setVisible(running);
  if (!running) {
    ProgressLine->clear();
    Meter->setValue(0);
  }
}

void TPrintDlg::ShowProgress(const QString& text, int percent) {
  if (!running_) return;
  ProgressLine->setText(text);
  Meter->setValue(percent);
}

void TPrintDlg::Finished() {
  if (!running_) return;
  SetRunning(false);
  accept();
}

void TPrintDlg::reject() {
  if (!running_) {
    QDialog::reject();
    return;
  }
  if (actions_.cancel) actions_.cancel();
}

void TPrintDlg::done(int result) {
  Remembered() = Choices();
  QDialog::done(result);
}
