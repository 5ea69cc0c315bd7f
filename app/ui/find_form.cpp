#include "app/ui/find_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/named.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_edit.h"
#include "app/ui/ui_seams.h"
#include "base/int_parse.h"
#include "base/message_seam.h"

namespace {

constexpr int kLeastFloss = 10;
constexpr int kMostDots = 100;
constexpr int kMostLight = 99;
constexpr int kMostIncrement = 10;

SpinEdit* NumberField(QWidget* parent, const char* name, int low, int high, int digits,
                      const QString& text) {
  auto* field = Named(new SpinEdit(low, high, digits, parent), name);
  field->Edit()->setObjectName(name);
  field->SetText(text);
  field->setFixedWidth(56);
  return field;
}

void Hint(SpinEdit* field, const QString& hint) {
  SetHint(field, hint);
  SetHint(field->Edit(), hint);
}

}  // namespace

TFindForm::TFindForm(int palette_count, QWidget* parent)
    : QDialog(parent), palette_count_(palette_count) {
  SetHelpTopic(this, help_ids::kColorSearch);
  setObjectName("FindForm");
  setWindowTitle("Automatic Color Search");
  auto* column = new QVBoxLayout(this);
  column->addWidget(CreateOptions());
  column->addWidget(CreateButtons());
  setFixedSize(sizeHint());
  // The number of floss is what a user comes to change: it takes the keys first, selected.
  threads->Edit()->setFocus();
  threads->Edit()->selectAll();
}

QWidget* TFindForm::CreateOptions() {
  auto* page = new QWidget(this);
  RadioButton1 = Named(new QRadioButton("Min", page), "RadioButton1");
  RadioButton2 = Named(new QRadioButton("Med", page), "RadioButton2");
  RadioButton3 = Named(new QRadioButton("Maxi", page), "RadioButton3");
  SetHint(RadioButton1, "|Minimum color configuration");
  SetHint(RadioButton2, "|Medium color configuration");
  SetHint(RadioButton3, "|Maximum color configuration");
  RadioButton2->setChecked(true);
  for (auto [button, floss] :
       {std::pair{RadioButton1, "25"}, {RadioButton2, "50"}, {RadioButton3, "100"}})
    connect(button, &QRadioButton::toggled, this, [this, floss = QString(floss)](bool on) {
      if (on) threads->SetText(floss);
    });

  keep = Named(new QCheckBox("Keep original palette", page), "keep");
  SetHint(keep, "|Check this if you want to keep the current palette");
  Label1 = Named(new QLabel(QString("Max floss (10 to %1)").arg(palette_count_), page), "Label1");
  threads = NumberField(page, "threads", kLeastFloss, palette_count_, 3, "50");
  removelonely = Named(new QCheckBox("Delete palette entries mapping", page), "removelonely");
  removelonely->setChecked(true);
  numdots = NumberField(page, "numdots", 1, kMostDots, 3, "1");
  Hint(numdots, "How dots or less must a palette entry match to be removed");
  Label6 =
      Named(new QLabel("Min level of light the entry must have to be removed :", page), "Label6");
  light = NumberField(page, "light", 0, kMostLight, 2, "75");
  light->SetStep(5);
  Hint(light, "|Level of light to match (everything above is protected)");
  Label3 = Named(new QLabel("Similarity increment : ", page), "Label3");
  increment = NumberField(page, "increment", 1, kMostIncrement, 2, "1");
  Hint(increment,
       "|This value specify of how much similarity will be increased every time similat "
       "function is called");
  Label5 = Named(new QLabel("Similarity increment is the value the automatic color search will "
                            "add to the similarity value before running a remove similar colors  "
                            "function.",
                            page),
                 "Label5");
  Label5->setWordWrap(true);
  Label1->setBuddy(threads);
  Label6->setBuddy(light);
  Label3->setBuddy(increment);

  auto* radios = new QHBoxLayout;
  for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3}) radios->addWidget(button);
  radios->addStretch();
  auto* dots = new QHBoxLayout;
  dots->addSpacing(20);
  dots->addWidget(numdots);
  dots->addWidget(new QLabel("or less dot(s)", page));
  dots->addStretch();

  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  int row = 0;
  grid->addLayout(radios, row++, 0, 1, 2);
  grid->addWidget(keep, row++, 0, 1, 2);
  grid->addWidget(Label1, row, 0);
  grid->addWidget(threads, row++, 1);
  grid->addWidget(removelonely, row++, 0, 1, 2);
  grid->addLayout(dots, row++, 0, 1, 2);
  grid->addWidget(Label6, row, 0);
  grid->addWidget(light, row++, 1);
  grid->addWidget(Label3, row, 0);
  grid->addWidget(increment, row++, 1);
  grid->addWidget(Label5, row++, 0, 1, 2);
  Label5->setMaximumWidth(360);
  return page;
}

QWidget* TFindForm::CreateButtons() {
  auto* panel = new QWidget(this);
  Button1 = Named(new QPushButton("&Ok", panel), "Button1");
  Button1->setDefault(true);
  Button2 = Named(new QPushButton("&Cancel", panel), "Button2");
  HelpButton = Named(new QPushButton("&Help", panel), "HelpButton");
  connect(Button1, &QPushButton::clicked, this, GuardedSlot([this] { Button1Click(); }));
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this,
          GuardedSlot([] { ShowHelp(help_ids::kColorSearch); }));
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch();
  for (QPushButton* button : {Button1, Button2, HelpButton}) row->addWidget(button);
  return panel;
}

void TFindForm::showEvent(QShowEvent* event) {
  // Centred on the screen, whoever opened it.
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
}

bool TFindForm::Check(SpinEdit* field, int low, int high, const std::string& message) {
  const std::optional<int32_t> value = TryStrToInt(field->Text().toStdString());
  if (value && *value >= low && *value <= high) return true;
  Messages().Error(message);
  field->setFocus();
  field->Edit()->selectAll();
  return false;
}

void TFindForm::Button1Click() {
  const std::string floss = "Invalid value ! (10-" + std::to_string(palette_count_) + ")";
  if (!Check(threads, kLeastFloss, palette_count_, floss) ||
      !Check(increment, 1, kMostIncrement, "Invalid value ! (1-10)") ||
      !Check(numdots, 1, kMostDots, "Invalid value ! (1-100)") ||
      !Check(light, 0, kMostLight, "Invalid value ! (0-99)"))
    return;
  accept();
}

TSearchOptions TFindForm::Options() const {
  const auto read = [](const SpinEdit* field) { return StrToInt(field->Text().toStdString()); };
  TSearchOptions options;
  options.KeepOriginalPalette = keep->isChecked();
  options.MaxFloss = uint16_t(read(threads));
  options.Increment = uint8_t(read(increment));
  options.RemoveLonely = removelonely->isChecked();
  options.Dots = uint8_t(read(numdots));
  options.LightThreshold = uint8_t(read(light));
  return options;
}
