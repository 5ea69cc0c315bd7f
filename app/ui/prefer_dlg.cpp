#include "app/ui/prefer_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/file_names.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/slot_guard.h"
#include "app/ui/spin_button.h"
#include "app/ui/spin_edit.h"
#include "app/ui/ui_seams.h"
#include "base/exceptions.h"
#include "base/int_parse.h"
#include "base/message_seam.h"

namespace {

constexpr int kMinCellSize = 15;
constexpr int kMaxCellSize = 25;
constexpr int kButtonPanelWidth = 86;
// Wider than the classic 394x189 so that a Linux path fits in its field.
const QSize kDialogSize(520, 189);

// Folders in the settings end with the separator, so a file name can be appended.
std::string WithSeparator(const QString& folder) {
  std::string bytes = LocalPath(folder);
  if (bytes.empty() || bytes.back() != '/') bytes += '/';
  return bytes;
}

uint16_t IntegerField(const QLineEdit* edit) {
  // Out-of-range values keep their low 16 bits, as the settings fields do.
  return uint16_t(StrToInt(edit->text().toStdString()));
}

QLineEdit* NamedEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

// An hour or minute field. Five characters, so that any value the settings file holds
// shows unchanged; the arrows keep to the clock.
SpinEdit* TimeField(QWidget* parent, const char* name, int high, QLineEdit*& edit) {
  auto* field = new SpinEdit(0, high, 5, parent);
  edit = field->Edit();
  edit->setObjectName(name);
  field->setFixedWidth(64);
  return field;
}

QComboBox* NamedList(QWidget* parent, const char* name, const QStringList& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  return list;
}

}  // namespace

TPreferDlg::TPreferDlg(QWidget* parent, std::function<void()> stored)
    : QDialog(parent), stored_(std::move(stored)) {
  SetHelpTopic(this, help_ids::kPreferences);
  setObjectName("PreferDlg");
  setWindowTitle("Preferences");

  Notebook = new QTabWidget(this);
  Notebook->setObjectName("Notebook");
  Notebook->tabBar()->setObjectName("TabSet");
  Notebook->setTabPosition(QTabWidget::South);
  Notebook->setDocumentMode(false);
  Notebook->addTab(CreateGeneralPage(), "General");
  Notebook->addTab(CreatePathsPage(), "Paths");
  Notebook->addTab(CreatePrintingPage(), "Printing");
  // F1 opens the section of the page in front, from its fields, the tabs or the buttons.
  static constexpr const char* kSections[] = {
      help_ids::kPreferencesGeneral, help_ids::kPreferencesPaths, help_ids::kPreferencesPrinting};
  for (int page = 0; page < 3; ++page) SetHelpTopic(Notebook->widget(page), kSections[page]);
  const auto follow = [this](int page) {
    if (page >= 0 && page < 3) SetHelpTopic(this, kSections[page]);
  };
  connect(Notebook, &QTabWidget::currentChanged, this, follow);
  follow(Notebook->currentIndex());

  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->setSpacing(6);
  columns->addWidget(Notebook, 1);
  columns->addWidget(CreateButtonPanel());

  setFixedSize(kDialogSize.expandedTo(minimumSizeHint()));
}

QWidget* TPreferDlg::CreateGeneralPage() {
  auto* page = new QWidget;
  page->setObjectName("GeneralPage");
  page->setProperty("helpContext", 1);

  Cellsize = new QLabel("17", page);
  Cellsize->setObjectName("Cellsize");
  Cellsize->setAlignment(Qt::AlignCenter);
  Cellsize->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Cellsize->setAutoFillBackground(true);
  QPalette white = Cellsize->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  Cellsize->setPalette(white);
  Cellsize->setFixedWidth(40);
  SpinButton1 = new SpinButton(page);
  SpinButton1->setObjectName("SpinButton1");
  connect(SpinButton1, &SpinButton::Up, this, GuardedSlot([this] { SpinButton1Up(); }));
  connect(SpinButton1, &SpinButton::Down, this, GuardedSlot([this] { SpinButton1Down(); }));

  PaletteFile = NamedEdit(page, "PaletteFile");
  PaletteFile->setMaxLength(255);
  SpeedButton1 = new QToolButton(page);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setText("...");
  connect(SpeedButton1, &QToolButton::clicked, this, GuardedSlot([this] { SpeedButton1Click(); }));

  unitcombo = NamedList(page, "unitcombo", {"Centimeters", "Millimeters", "Inches", "Stitches"});
  SetHint(unitcombo, "|Select the unit used to display sizes in the main window");
  ColorMatchBox = new QCheckBox("Perceptual color matching (CIEDE2000)", page);
  ColorMatchBox->setObjectName("ColorMatchBox");
  SetHint(ColorMatchBox,
          "|Match pixels to the floss that looks nearest instead of the nearest "
          "red, green and blue");

  auto* cell = new QHBoxLayout;
  cell->setSpacing(2);
  cell->addWidget(Cellsize);
  cell->addWidget(SpinButton1);
  cell->addStretch();
  Cellsize->setFixedHeight(SpinButton1->sizeHint().height());
  auto* palette = new QHBoxLayout;
  palette->setSpacing(2);
  palette->addWidget(PaletteFile, 1);
  palette->addWidget(SpeedButton1);
  auto* unit = new QHBoxLayout;
  unit->addWidget(unitcombo);
  unit->addStretch();

  auto* grid = new QGridLayout(page);
  grid->addWidget(new QLabel("Cell Size :", page), 0, 0);
  grid->addLayout(cell, 0, 1);
  grid->addWidget(new QLabel("Main palette :", page), 1, 0);
  grid->addLayout(palette, 1, 1);
  grid->addWidget(new QLabel("Unit :", page), 2, 0);
  grid->addLayout(unit, 2, 1);
  grid->addWidget(ColorMatchBox, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* TPreferDlg::CreatePathsPage() {
  auto* page = new QWidget;
  page->setObjectName("PathsPage");
  page->setProperty("helpContext", 2);
  edit1 = NamedEdit(page, "edit1");
  SetHint(edit1, "|Path of PUNTEL.EXE and its related files");
  edit2 = NamedEdit(page, "edit2");
  edit3 = NamedEdit(page, "edit3");
  edit4 = NamedEdit(page, "edit4");
  // A hint without a bar is both the tooltip and the status line text.
  SetHint(edit2, "Path where .DMC files can be found");
  SetHint(edit3, "Path where BMP files can be found");
  SetHint(edit4, "Paths where .CLR files can be found");
  auto* grid = new QGridLayout(page);
  int row = 0;
  for (auto [label, edit] : {std::pair{"Program location", edit1},
                             {"Composition files path", edit2},
                             {"Image files path", edit3},
                             {"Color files path", edit4}}) {
    grid->addWidget(new QLabel(label, page), row, 0);
    grid->addWidget(edit, row++, 1);
  }
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row, 1);
  return page;
}

QWidget* TPreferDlg::CreatePrintingPage() {
  auto* page = new QWidget;
  page->setObjectName("PrintingPage");
  Spin7 = TimeField(page, "Edit7", 23, Edit7);
  Spin8 = TimeField(page, "Edit8", 59, Edit8);
  Spin9 = TimeField(page, "Edit9", 23, Edit9);
  Spin10 = TimeField(page, "Edit10", 59, Edit10);
  language = NamedList(page, "language", {"French", "English"});
  SetHint(language, "|Sets the language the Print spooler will use");

  auto* grid = new QGridLayout(page);
  grid->addWidget(new QLabel("Hour", page), 0, 1);
  grid->addWidget(new QLabel("Minutes", page), 0, 2);
  grid->addWidget(new QLabel("Start printing at :", page), 1, 0);
  grid->addWidget(Spin7, 1, 1);
  grid->addWidget(Spin8, 1, 2);
  grid->addWidget(new QLabel("End printing at :", page), 2, 0);
  grid->addWidget(Spin9, 2, 1);
  grid->addWidget(Spin10, 2, 2);
  grid->addWidget(new QLabel("Language to use", page), 3, 0);
  grid->addWidget(language, 3, 1, 1, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* TPreferDlg::CreateButtonPanel() {
  ButtonPanel = new QWidget(this);
  ButtonPanel->setObjectName("ButtonPanel");
  ButtonPanel->setFixedWidth(kButtonPanelWidth);
  okbtn = new QPushButton("&Ok", ButtonPanel);
  okbtn->setObjectName("okbtn");
  okbtn->setDefault(true);
  cancelbtn = new QPushButton("&Cancel", ButtonPanel);
  cancelbtn->setObjectName("cancelbtn");
  connect(okbtn, &QPushButton::clicked, this, GuardedSlot([this] { okbtnClick(); }));
  connect(cancelbtn, &QPushButton::clicked, this, &QDialog::reject);
  auto* column = new QVBoxLayout(ButtonPanel);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(okbtn);
  column->addWidget(cancelbtn);
  column->addStretch();
  return ButtonPanel;
}

bool TPreferDlg::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FillFields();
  return QDialog::event(event);
}

void TPreferDlg::showEvent(QShowEvent* event) {
  // Filled before the first paint, also where the platform never activates windows.
  FillFields();
  QDialog::showEvent(event);
}

void TPreferDlg::FillFields() {
  if (Filled) return;
  const TSettings& s = Settings();
  edit1->setText(ShownPath(s.progpath));
  edit2->setText(ShownPath(s.Compopath));
  edit3->setText(ShownPath(s.Imagepath));
  edit4->setText(ShownPath(s.ColorPath));
  Cellsize->setText(QString::number(s.CellSize));
  Edit7->setText(QString::number(s.startprinthour));
  Edit8->setText(QString::number(s.startprintmin));
  Edit9->setText(QString::number(s.endprinthour));
  Edit10->setText(QString::number(s.endprintmin));
  // An index outside the list selects nothing.
  language->setCurrentIndex(s.language < language->count() ? s.language : -1);
  unitcombo->setCurrentIndex(s.Unit < unitcombo->count() ? s.Unit : -1);
  PaletteFile->setText(ShownPath(s.PalFile));
  ColorMatchBox->setChecked(s.ColorMatch == 1);
  // Show where each path starts rather than its last characters.
  for (QLineEdit* edit : {edit1, edit2, edit3, edit4, PaletteFile}) edit->setCursorPosition(0);
  Filled = true;
}

void TPreferDlg::SpinButton1Up() {
  int size = Cellsize->text().toInt();
  if (size < kMaxCellSize) Cellsize->setText(QString::number(size + 1));
}

void TPreferDlg::SpinButton1Down() {
  int size = Cellsize->text().toInt();
  if (size > kMinCellSize) Cellsize->setText(QString::number(size - 1));
}

void TPreferDlg::SpeedButton1Click() {
  FileDialogRequest request;
  request.title = "Open";
  request.folder = ShownPath(Settings().progpath);
  request.filter = "DMC Colors (*.clr)|*.clr";
  QStringList chosen = FileDialogs().Open(this, request);
  if (!chosen.isEmpty()) PaletteFile->setText(chosen.first());
  // The palette in memory stays as it is: the file named here is loaded at the next start.
  Messages().Info("You must restart PunTel for\r\npalette changes to take effect !");
}

void TPreferDlg::StoreFields() {
  TSettings& s = Settings();
  s.CellSize = uint16_t(Cellsize->text().toInt());
  s.progpath = WithSeparator(edit1->text());
  s.Compopath = WithSeparator(edit2->text());
  s.Imagepath = WithSeparator(edit3->text());
  s.ColorPath = WithSeparator(edit4->text());
  s.PalFile = LocalPath(PaletteFile->text());
  // A field that is not a number stops here; the fields before it stay stored.
  s.startprinthour = IntegerField(Edit7);
  s.startprintmin = IntegerField(Edit8);
  s.endprinthour = IntegerField(Edit9);
  s.endprintmin = IntegerField(Edit10);
  if (language->currentIndex() >= 0) s.language = uint16_t(language->currentIndex());
  if (unitcombo->currentIndex() >= 0) s.Unit = uint8_t(unitcombo->currentIndex());
  s.ColorMatch = ColorMatchBox->isChecked() ? 1 : 0;
}

void TPreferDlg::okbtnClick() {
  // The dialog closes in every case; the user opens it again to correct a field.
  for (const QLineEdit* folder : {edit1, edit2, edit3, edit4}) {
    if (folder->text().isEmpty()) {
      Messages().Error("All fields required !");
      accept();
      return;
    }
  }
  try {
    StoreFields();
    WriteAllSettings();
  } catch (const Exception& failure) {
    Messages().Error(failure.Message());
    accept();
    return;
  }
  if (stored_) stored_();
  accept();
}
