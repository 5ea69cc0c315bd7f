#include "app/ui/transp_frm.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/main_form.h"
#include "app/ui/slot_guard.h"
#include "base/latin1.h"
#include "base/message_seam.h"

namespace {

QLabel* ValuePanel(QWidget* parent, const char* name) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setTextInteractionFlags(Qt::NoTextInteraction);
  panel->setMinimumWidth(150);
  return panel;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

TTranspFrm::TTranspFrm(TMainForm& frame, QWidget* parent) : QDialog(parent), frame_(frame) {
  SetHelpTopic(this, help_ids::kTransparency);
  setObjectName("TranspFrm");
  setWindowTitle("Transparency Feature");

  CheckBox1 = new QCheckBox("Set this color as Transparent color", this);
  CheckBox1->setObjectName("CheckBox1");
  SetHint(CheckBox1, "|Check this to make this color transparent");
  Label2 = Caption(this, "Label2", "Position :");
  Label3 = Caption(this, "Label3", "RGB Color Value :");
  Label4 = Caption(this, "Label4", "Color Palette Index :");
  Label5 = Caption(this, "Label5", "Color Name :");
  Panel2 = ValuePanel(this, "Panel2");
  Panel3 = ValuePanel(this, "Panel3");
  Panel4 = ValuePanel(this, "Panel4");
  Panel5 = ValuePanel(this, "Panel5");
  // The floss, not the photo's pixel, is what the dialog is about: no colour value shows.
  Label3->hide();
  Panel3->hide();

  Button1 = new QPushButton("&Ok", this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button2 = new QPushButton("&Add to Temporary Palette", this);
  Button2->setObjectName("Button2");
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, GuardedSlot([this] { AddToTempPalette(); }));

  auto* values = new QGridLayout;
  const std::pair<QLabel*, QLabel*> rows[] = {
      {Label2, Panel2}, {Label3, Panel3}, {Label4, Panel4}, {Label5, Panel5}};
  int row = 0;
  for (const auto& [label, panel] : rows) {
    values->addWidget(label, row, 0);
    values->addWidget(panel, row++, 1);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button2);
  buttons->addStretch();
  buttons->addWidget(Button1);
  auto* column = new QVBoxLayout(this);
  column->addWidget(CheckBox1);
  column->addLayout(values);
  column->addStretch();
  column->addLayout(buttons);

  setFixedSize(QSize(324, 169).expandedTo(minimumSizeHint()));
  CheckBox1->setFocus();
}

void TTranspFrm::Fill(int x, int y, TColor floss, int32_t index, const std::string& name) {
  floss_ = floss;
  name_ = name;
  Panel2->setText(QString("%1,%2").arg(x).arg(y));
  Panel3->setText(QString("%1,%2,%3").arg(RedOf(floss)).arg(GreenOf(floss)).arg(BlueOf(floss)));
  Panel4->setText(QString::number(index));
  Panel5->setText(QString::fromStdString(Latin1ToUtf8(name)));
}

void TTranspFrm::AddToTempPalette() {
  int32_t found = 0;
  if (frame_.TempPalette.IndexOfName(name_, found)) {
    Messages().Error("Color allready in palette !");
    return;
  }
  frame_.TempPalette.AddClr(floss_, name_);
  emit frame_.tempPaletteChanged();
}
