#include "app/ui/resize_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_edit.h"
#include "base/int_parse.h"
#include "base/message_seam.h"
#include "composition/embroidery_size.h"
#include "composition/resample.h"

namespace {

constexpr char kBadSize[] = "Invalid value ! (1-65535)";

std::optional<uint16_t> SizeIn(const SpinEdit* field) {
  const std::optional<int32_t> value = TryStrToInt(field->Text().toStdString());
  if (!value || *value < 1 || *value > TResizeDlg::kLargest) return std::nullopt;
  return uint16_t(*value);
}

SpinEdit* SizeField(QWidget* parent, const char* name, int value) {
  auto* field = new SpinEdit(1, TResizeDlg::kLargest, 5, parent);
  field->setObjectName(name);
  field->Edit()->setObjectName(name);
  field->SetValue(value);
  field->setFixedWidth(80);
  return field;
}

// Centimetres, millimetres or inches; a count of stitches is what the fields show already.
LengthUnit ShownUnit(uint8_t unit) {
  const auto shown = LengthUnit(unit);
  return shown == LengthUnit::Millimetres || shown == LengthUnit::Inches ? shown
                                                                         : LengthUnit::Centimetres;
}

}  // namespace

TResizeDlg::TResizeDlg(uint16_t source_width, uint16_t source_height, uint16_t fabric_count,
                       uint8_t unit, QWidget* parent)
    : QDialog(parent),
      source_width_(source_width),
      source_height_(source_height),
      fabric_count_(fabric_count),
      unit_(unit) {
  SetHelpTopic(this, help_ids::kResize);
  setObjectName("ResizeDlg");
  setWindowTitle("Resize picture");
  WidthEdit = SizeField(this, "WidthEdit", source_width);
  HeightEdit = SizeField(this, "HeightEdit", source_height);
  KeepProportions = new QCheckBox("Keep proportions", this);
  KeepProportions->setObjectName("KeepProportions");
  KeepProportions->setChecked(true);
  FinishedSize = new QLabel(this);
  FinishedSize->setObjectName("FinishedSize");

  auto* fields = new QFormLayout;
  fields->addRow(new QLabel(
      QString("Picture : %1 \u00D7 %2 stitches").arg(source_width).arg(source_height), this));
  fields->addRow("&Width (stitches) :", WidthEdit);
  fields->addRow("&Height (stitches) :", HeightEdit);
  fields->addRow(KeepProportions);
  fields->addRow(FinishedSize);

  auto* buttons = new QDialogButtonBox(this);
  OkButton = buttons->addButton("&Ok", QDialogButtonBox::AcceptRole);
  CancelButton = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
  OkButton->setDefault(true);
  // Ok checks first; the box's own accept would close at once.
  connect(OkButton, &QPushButton::clicked, this, GuardedSlot([this] { OkClick(); }));
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* column = new QVBoxLayout(this);
  column->addLayout(fields);
  column->addWidget(buttons);

  connect(WidthEdit, &SpinEdit::textChanged, this, GuardedSlot([this] { WidthEdited(); }));
  connect(HeightEdit, &SpinEdit::textChanged, this, GuardedSlot([this] { HeightEdited(); }));
  connect(KeepProportions, &QCheckBox::toggled, this, GuardedSlot([this] {
            if (KeepProportions->isChecked()) WidthEdited();
          }));
  ShowFinishedSize();
  WidthEdit->Edit()->selectAll();
  WidthEdit->Edit()->setFocus();
}

void TResizeDlg::SetWidth(int width) {
  WidthEdit->SetValue(width);
}

std::optional<uint16_t> TResizeDlg::NewWidth() const {
  return SizeIn(WidthEdit);
}

std::optional<uint16_t> TResizeDlg::NewHeight() const {
  return SizeIn(HeightEdit);
}

void TResizeDlg::WidthEdited() {
  Follow(WidthEdit, HeightEdit, ProportionalHeight);
}

void TResizeDlg::HeightEdited() {
  Follow(HeightEdit, WidthEdit, ProportionalWidth);
}

void TResizeDlg::Follow(const SpinEdit* edited, SpinEdit* other,
                        uint16_t (*proportional)(uint32_t, uint32_t, uint32_t)) {
  if (following_) return;
  const std::optional<uint16_t> size = SizeIn(edited);
  if (size && KeepProportions->isChecked()) {
    following_ = true;
    other->SetValue(proportional(source_width_, source_height_, *size));
    following_ = false;
  }
  ShowFinishedSize();
}

void TResizeDlg::ShowFinishedSize() {
  const std::optional<uint16_t> width = NewWidth(), height = NewHeight();
  if (!width || !height || fabric_count_ == 0) {
    FinishedSize->setText("Finished size : ?");
    return;
  }
  static const char* const kUnitNames[] = {"cm", "mm", "inches"};
  const LengthUnit unit = ShownUnit(unit_);
  const auto length = [&](uint16_t stitches) {
    return QString::number(EmbroideryLength(stitches, fabric_count_, uint8_t(unit)), 'f', 1);
  };
  FinishedSize->setText(QString("Finished size : %1 \u00D7 %2 %3 on %4 count")
                            .arg(length(*width), length(*height), kUnitNames[uint8_t(unit)])
                            .arg(fabric_count_));
}

void TResizeDlg::OkClick() {
  for (SpinEdit* field : {WidthEdit, HeightEdit}) {
    if (SizeIn(field)) continue;
    Messages().Error(kBadSize);
    field->Edit()->setFocus();
    field->Edit()->selectAll();
    return;
  }
  accept();
}
