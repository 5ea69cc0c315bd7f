// File "P&rint": "Print Pattern", its page count, the printer and the PDF file, and the
// document's state on every way out.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <regex>

#include "app/ui/print_dlg.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

// The page objects of a PDF file (not its page tree's "/Type /Pages").
int PdfPages(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  static const std::regex page(R"(/Type\s*/Page(?![a-zA-Z]))");
  return int(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                           std::sregex_iterator()));
}

class PrintCommand : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    TPrintDlg::Remembered() = TPrintDlg::DefaultChoices();
    TPrintDlg::Remembered().plan.paper = PaperOf(PaperSize::A4);
  }

  // A mapped picture of width x height stitches in four greys, and `symbols` symbols.
  void Open(uint16_t width, uint16_t height, int symbols = 4) {
    Start();
    document = Import(width, height);
    ASSERT_TRUE(document);
    TpunPal& palette = document->Composition->Palette();
    palette.Clear();
    std::vector<std::string> table;
    for (int i = 0; i < 4; ++i) {
      const uint8_t grey = uint8_t(i * 80);
      palette.AddClr(MakeColor(grey, grey, grey), std::to_string(310 + i));
      if (i < symbols) table.push_back("DejaVu Sans," + std::to_string(65 + i));
    }
    frame->SymbolTable = ::SymbolTable(table);
    frame->Symbols.TableChanged();
    document->StartPictureUpdate(true);
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  }

  // Triggers "P&rint" and runs `drive` on "Print Pattern" once it is up; whether it came.
  // A dialog left open is closed after a while: the test fails rather than hangs.
  bool Print(const std::function<void(TPrintDlg&)>& drive) {
    bool came = false;
    QTimer poll, watchdog;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<TPrintDlg*>(QApplication::activeModalWidget());
      if (!dialog || came) return;
      came = true;
      drive(*dialog);
    });
    QObject::connect(&watchdog, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<TPrintDlg*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "\"Print Pattern\" stayed open";
        dialog->done(QDialog::Rejected);
      }
    });
    poll.start(5);
    watchdog.start(30000);
    frame->Action(Command::Print)->trigger();
    EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
    return came;
  }

  // Idle, its status line cleared, nothing said.
  void ExpectIdleAndQuiet() {
    EXPECT_EQ(document->State().Work(), DocWork::Idle);
    EXPECT_TRUE(document->msgpanel->text().isEmpty()) << document->msgpanel->text().toStdString();
    EXPECT_EQ(document->meter->value(), 0);
    EXPECT_FALSE(frame->Action(Command::CancelSearch)->isEnabled());
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
  }

  ScriptedMessages messages;
  ScriptedPrintDialog printing;
  TMDIChild* document = nullptr;
};

TEST_F(PrintCommand, TheDialogComesAfterTheColorCheckCountsItsPagesAndKeepsItsChoices) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(TPrintDlg::DefaultChoices().plan.paper.width_mm, PaperOf(PaperSize::Letter).width_mm);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(TPrintDlg::DefaultChoices().plan.paper.width_mm, PaperOf(PaperSize::A4).width_mm);
  QLocale::setDefault(before);

  Open(120, 100, 3);
  EXPECT_FALSE(Print([](TPrintDlg& dialog) { dialog.reject(); }));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Too many colors !"});
  messages.shown.clear();
  frame->SymbolTable = ::SymbolTable(std::vector<std::string>(4, "DejaVu Sans,65"));
  frame->Symbols.TableChanged();
  ASSERT_TRUE(Print([](TPrintDlg& dialog) {
    EXPECT_EQ(dialog.PaperBox->currentText(), "A4");
    EXPECT_TRUE(dialog.PortraitButton->isChecked());
    EXPECT_EQ(dialog.CellSizeEdit->value(), 3.0);
    EXPECT_EQ(dialog.OverlapEdit->value(), 2);
    // A4 at 3 mm holds 50 x 80 stitches: 3 x 2 pages of each chart.
    EXPECT_EQ(dialog.CountLine->text().toStdString(), "14 pages: cover, key, 2 × 6 chart pages");
    for (QCheckBox* part :
         {dialog.CoverBox, dialog.KeyBox, dialog.BwChartBox, dialog.ColorChartBox})
      part->setChecked(false);
    EXPECT_EQ(dialog.CountLine->text().toStdString(), "Choose at least one part to print");
    EXPECT_FALSE(dialog.PrintButton->isEnabled() || dialog.SavePdfButton->isEnabled());
    dialog.ColorChartBox->setChecked(true);
    dialog.LandscapeButton->setChecked(true);  // 80 x 50 stitches a page: 2 x 2
    EXPECT_TRUE(dialog.CountLine->text().startsWith("4 pages"))
        << dialog.CountLine->text().toStdString();
    EXPECT_TRUE(dialog.SavePdfButton->isEnabled());
    dialog.CellSizeEdit->setValue(4.5);
    dialog.CancelButton->click();
  }));
  ASSERT_TRUE(Print([](TPrintDlg& dialog) {
    EXPECT_TRUE(dialog.LandscapeButton->isChecked());
    EXPECT_EQ(dialog.CellSizeEdit->value(), 4.5);
    EXPECT_FALSE(dialog.CoverBox->isChecked());
    dialog.reject();
  }));
  EXPECT_EQ(printing.asked, 0);
  EXPECT_EQ(dialogs.requests.size(), 1u);  // the import's
  ExpectIdleAndQuiet();
}

TEST_F(PrintCommand, SavePdfWritesThePlansPagesOrSaysWhyNot) {
  Open(120, 100);
  const std::string path = files.File("chart.pdf"), missing = files.File("missing/chart.pdf");
  dialogs.AnswerSave(QString::fromStdString(path));
  ASSERT_TRUE(Print([](TPrintDlg& dialog) { dialog.SavePdfButton->click(); }));
  const FileDialogRequest asked = dialogs.requests.back();
  EXPECT_EQ(asked.title.toStdString(), "Save pattern as PDF");
  EXPECT_EQ(asked.filter.toStdString(), "PDF files (*.pdf)|*.pdf");
  EXPECT_EQ(asked.fileName.toStdString(), "p.pdf");
  EXPECT_EQ(std::filesystem::path(asked.folder.toStdString()), std::filesystem::path(files.Path()));
  EXPECT_EQ(PdfPages(path), 14);
  ExpectIdleAndQuiet();

  dialogs.AnswerSave(QString::fromStdString(missing));
  ASSERT_TRUE(Print([](TPrintDlg& dialog) { dialog.SavePdfButton->click(); }));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Cannot create file " + missing});
  EXPECT_FALSE(std::filesystem::exists(files.File("missing")));
  messages.shown.clear();
  ExpectIdleAndQuiet();
}

TEST_F(PrintCommand, ThePrinterStartsOnThePlansPaperAndItsOwnPaperAndRangeWin) {
  Open(120, 100);
  const auto to_file = [&](const std::string& path, std::function<void(QPrinter&)> more = {}) {
    printing.answer = [path, more](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(path));
      if (more) more(printer);
      return true;
    };
  };
  const auto print = [&](TPrintDlg& dialog) { dialog.PrintButton->click(); };
  ASSERT_TRUE(Print([&](TPrintDlg& dialog) {
    dialog.PrintButton->click();  // the print dialog cancelled: nothing printed, still open
    EXPECT_TRUE(dialog.isVisible() && !dialog.Running());
    dialog.CancelButton->click();
  }));
  EXPECT_EQ(printing.asked_pages, 14);
  EXPECT_TRUE(printing.asked_full_page);
  EXPECT_EQ(printing.asked_layout.pageSize().id(), QPageSize::A4);
  EXPECT_EQ(printing.asked_layout.orientation(), QPageLayout::Portrait);

  const std::string all = files.File("all.pdf"), a3 = files.File("a3.pdf"),
                    two = files.File("two.pdf");
  to_file(all);
  ASSERT_TRUE(Print(print));
  EXPECT_EQ(PdfPages(all), 14);
  // A3 across holds 120 x 80 stitches: two pages of each chart.
  to_file(a3, [](QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A3));
    printer.setPageOrientation(QPageLayout::Landscape);
  });
  ASSERT_TRUE(Print(print));
  EXPECT_EQ(PdfPages(a3), 6);
  to_file(two, [](QPrinter& printer) {
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
  });
  ASSERT_TRUE(Print(print));
  EXPECT_EQ(PdfPages(two), 2);
  ExpectIdleAndQuiet();
}

// Many pages, so that the work still runs when the cancel comes.
TEST_F(PrintCommand, ACancelStopsThePagesAndLeavesNoPartialFile) {
  Open(500, 500);
  TPrintDlg::Remembered().plan.cell_mm = 2.0;
  const std::string kept = files.File("kept.pdf"), printed = files.File("printed.pdf");
  WriteFileBytes(kept, "the chart of before");
  const std::string before = ListFolder(files.Path());
  const auto cancel_when_running = [&](TPrintDlg& dialog, const std::function<void()>& cancel) {
    ASSERT_TRUE(WaitFor([&] { return dialog.ProgressLine->text().startsWith("Printing page "); }));
    EXPECT_TRUE(document->Busy());
    EXPECT_TRUE(document->msgpanel->text().startsWith("Printing page "));
    ASSERT_TRUE(frame->Action(Command::CancelSearch)->isEnabled());
    cancel();
  };
  dialogs.AnswerSave(QString::fromStdString(kept));
  ASSERT_TRUE(Print([&](TPrintDlg& dialog) {
    dialog.SavePdfButton->click();
    cancel_when_running(dialog, [&] { frame->Action(Command::CancelSearch)->trigger(); });
  }));
  EXPECT_EQ(ReadFileBytes(kept), "the chart of before");
  EXPECT_EQ(ListFolder(files.Path()), before);
  ExpectIdleAndQuiet();

  printing.answer = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed));
    return true;
  };
  ASSERT_TRUE(Print([&](TPrintDlg& dialog) {
    dialog.PrintButton->click();
    cancel_when_running(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_TRUE(dialog.isVisible());  // until the pages stop
  }));
  EXPECT_FALSE(std::filesystem::exists(printed));
  ExpectIdleAndQuiet();
}

}  // namespace
