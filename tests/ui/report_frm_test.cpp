// The report window on its own (lines, swatches, Find, Find Next, Remove, copy) and the two
// report commands of a document window around it.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "composition/composition.h"
#include "pattern/report_lines.h"
#include "pattern/ui/report_frm.h"
#include "pattern/ui/report_item_delegate.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using D = ReportItemDelegate;

Lines Shown(const Treportfrm& report) {
  Lines lines;
  for (int row = 0; row < report.ListBox1->count(); ++row)
    lines.push_back(report.ListBox1->item(row)->text().toStdString());
  return lines;
}

int Selected(const Treportfrm& report) {
  const QList<QListWidgetItem*> items = report.ListBox1->selectedItems();
  return items.isEmpty() ? -1 : report.ListBox1->row(items.front());
}

// A color usage report on a palette with a name holding a blank and a name used twice;
// entry k is used by kCounts[k] pixels.
class ReportWindow : public ::testing::Test {
 protected:
  static constexpr uint32_t kCounts[] = {1, 11, 0, 21, 5};
  void SetUp() override {
    const std::pair<const char*, TColor> entries[] = {{"blanc", MakeColor(255, 255, 255)},
                                                      {"light blue", MakeColor(90, 140, 250)},
                                                      {"blanc", MakeColor(250, 250, 235)},
                                                      {"310", MakeColor(0, 0, 0)},
                                                      {"666", MakeColor(220, 20, 40)}};
    std::vector<TColor> pixels;
    for (size_t k = 0; k < std::size(entries); ++k) {
      compo.Palette().AddClr(entries[k].second, entries[k].first);
      pixels.insert(pixels.end(), kCounts[k], entries[k].second);
    }
    const auto width = uint16_t(pixels.size());
    PictureBlock block(PictureBytes(width, 1), 0);
    for (uint16_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, 1, x, 0), pixels[x]);
    compo.SetPicture(TPicture(width, 1, std::move(block)));
    report.ReportKind = Treportfrm::kColorUsageReport;
    report.Panel1->show();
    report.AddUsageLines(ColorUsageReport(compo, compo.Palette(), nullptr));
    report.show();
    report.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&report));
  }
  QColor PixelOf(int row, int x, int y) {
    const QRect item = report.ListBox1->visualItemRect(report.ListBox1->item(row));
    return report.ListBox1->viewport()->grab().toImage().pixelColor(item.left() + x,
                                                                    item.top() + y);
  }
  QColor Swatch(int row) { return PixelOf(row, D::kSwatchLeft + 5, D::kSwatchTop + 5); }
  int32_t Count() const { return compo.Palette().Count(); }

  TpunCompo compo;
  Treportfrm report{compo.Palette()};
};

TEST_F(ReportWindow, LinesAreTheModelsAndEachSwatchShowsItsOwnEntry) {
  EXPECT_EQ(Shown(report), ColorUsageLines(compo, compo.Palette()));
  EXPECT_FALSE(report.FabricLabel->isVisible());
  for (int row = 0; row < Count(); ++row) {
    const TColor color = compo.Palette().GetClr(row);
    EXPECT_EQ(Swatch(row), QColor(RedOf(color), GreenOf(color), BlueOf(color))) << row;
    EXPECT_EQ(report.ListBox1->visualItemRect(report.ListBox1->item(row)).height(), D::kItemHeight);
  }
  // A one-pixel black outline from (l + 2, t + 2) up to (l + 27, t + 20), not included.
  EXPECT_EQ(PixelOf(0, D::kSwatchLeft, D::kSwatchTop), QColor(Qt::black));
  EXPECT_EQ(PixelOf(0, D::kSwatchRight - 1, D::kSwatchBottom - 1), QColor(Qt::black));
  EXPECT_EQ(PixelOf(0, D::kSwatchLeft + 1, D::kSwatchTop + 1), QColor(Qt::white));
  const QColor base = report.ListBox1->palette().color(QPalette::Base);
  EXPECT_EQ(PixelOf(0, D::kSwatchRight, D::kSwatchBottom), base);
  EXPECT_EQ(PixelOf(0, D::kSwatchLeft - 1, D::kSwatchTop), base);
  // The selected line on the selection color.
  report.btnfind->click();
  EXPECT_EQ(PixelOf(0, 0, 0), report.ListBox1->palette().color(QPalette::Highlight));
}

TEST_F(ReportWindow, FindAndFindNextStopAtEveryCountEndingInOne) {
  EXPECT_EQ(report.Edit1->text(), "1 Dot");
  EXPECT_EQ(report.Edit1->maxLength(), 11);
  EXPECT_TRUE(report.btnfind->isDefault());
  EXPECT_FALSE(report.btnfindnext->isEnabled());
  EXPECT_FALSE(report.btnRemove->isEnabled());
  QTest::keyClick(report.Edit1, Qt::Key_Return);  // Enter finds
  EXPECT_EQ(Selected(report), 0);
  EXPECT_FALSE(report.btnfind->isEnabled());
  EXPECT_TRUE(report.btnfindnext->isEnabled());
  EXPECT_TRUE(report.btnRemove->isEnabled());
  report.btnfindnext->click();
  EXPECT_EQ(Selected(report), 1);
  report.btnfindnext->click();
  EXPECT_EQ(Selected(report), 3);
  report.btnfindnext->click();  // none after: Find again
  EXPECT_EQ(Selected(report), 3);
  EXPECT_FALSE(report.btnfindnext->isEnabled());
  EXPECT_TRUE(report.btnfind->isEnabled());
  // At the last line Find Next does nothing.
  report.ListBox1->setCurrentRow(4);
  report.btnfindnext->setEnabled(true);
  report.btnfindnext->click();
  EXPECT_EQ(Selected(report), 4);
  EXPECT_TRUE(report.btnfindnext->isEnabled());
  // Letter case matters; no match changes nothing.
  report.Edit1->setText("1 dot");
  EXPECT_FALSE(report.btnfindnext->isEnabled());
  report.btnfind->click();
  EXPECT_EQ(Selected(report), 4);
  EXPECT_TRUE(report.btnfind->isEnabled());
  report.Edit1->clear();
  EXPECT_FALSE(report.btnfind->isEnabled());
}

TEST_F(ReportWindow, RemoveDeletesTheLinesOwnEntryAndTheSwatchesFollow) {
  report.Edit1->setText("  0 Dot");  // the second "blanc"
  report.btnfind->click();
  ASSERT_EQ(Selected(report), 2);
  QTest::keyClick(report.Edit1, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(WaitFor([&] { return report.ColorsRemoved; }, 2000));  // an animated click
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(compo.Palette().GetClr(0), MakeColor(255, 255, 255));
  EXPECT_EQ(compo.Palette().GetName(2), "310");
  EXPECT_FALSE(report.btnRemove->isEnabled());
  EXPECT_EQ(Selected(report), -1);
  EXPECT_EQ(Swatch(2), QColor(Qt::black));  // "310" moved up with its entry
  // A name with a blank: its first word names no entry, the line still finds its own.
  report.Edit1->setText("11 Dot");
  report.btnfind->click();
  report.btnRemove->click();
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(compo.Palette().GetName(1), "310");
  EXPECT_EQ(Shown(report), (Lines{"     blanc ->      1 Dot(s)", "       310 ->     21 Dot(s)",
                                  "       666 ->      5 Dot(s)"}));
  // Without a selected line nothing goes.
  report.ListBox1->clearSelection();
  report.btnRemove->setEnabled(true);
  report.btnRemove->click();
  EXPECT_EQ(Count(), 3);
}

TEST_F(ReportWindow, TheLastColorCannotBeRemoved) {
  while (Count() > 1) {
    report.ListBox1->setCurrentRow(0);
    report.btnRemoveClick();
  }
  report.Edit1->setText("Dot");
  report.btnfind->click();
  EXPECT_EQ(Selected(report), 0);
  EXPECT_FALSE(report.btnRemove->isEnabled());
  report.btnRemoveClick();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(report.ListBox1->count(), 1);
}

TEST_F(ReportWindow, CtrlCCopiesTheSelectedLine) {
  report.btnfind->click();
  report.btnfindnext->click();
  QApplication::clipboard()->clear();
  QTest::keyClick(report.ListBox1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "light blue ->     11 Dot(s)");
}

TEST_F(ReportWindow, TheFlossReportHasNoSwatchesAndNoPanel) {
  TpunPal palette;
  Treportfrm floss(palette);
  floss.AddLines({"       310 ->    200 Dot(s),  1 Coil(s) (92.00 cm)"});
  floss.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&floss));
  EXPECT_FALSE(floss.Panel1->isVisible());
  EXPECT_FALSE(floss.windowFlags() & Qt::WindowContextHelpButtonHint);
  const QImage image = floss.ListBox1->viewport()->grab().toImage();
  const QRect item = floss.ListBox1->visualItemRect(floss.ListBox1->item(0));
  EXPECT_NE(image.pixelColor(item.left() + D::kSwatchLeft, item.top() + D::kSwatchTop),
            QColor(Qt::black));
}

// The commands on a document of the main palette.
class ReportCommand : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    document = Import(24, 16);
  }
  // Runs the command with `answer` acting in its window; the times the window showed.
  int Run(Command command, std::function<void(Treportfrm&)> answer) {
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (auto* report = qobject_cast<Treportfrm*>(QApplication::activeModalWidget())) {
        timer.stop();
        ++shown;
        // Busy for the whole time the window is shown, the status line cleared.
        EXPECT_EQ(document->State().Work(), DocWork::Reporting);
        EXPECT_TRUE(frame->msgpanel->text().isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is off
        answer(*report);
        if (report->isVisible()) report->reject();
      }
    });
    timer.start(5);
    frame->Action(command)->trigger();
    EXPECT_NE(document->State().Work(), DocWork::Reporting);
    return shown;
  }
  TpunCompo& Compo() { return *document->Composition; }
  TMDIChild* document = nullptr;
  ScriptedMessages messages;
};

TEST_F(ReportCommand, BothReportsShowTheModelsLines) {
  std::vector<std::string> threads;
  Compo().Palette().ListThreads(threads);
  const Lines floss = FlossReportLines(Compo(), threads, nullptr);
  EXPECT_EQ(Run(Command::FlossReport,
                [&](Treportfrm& report) {
                  EXPECT_EQ(report.windowTitle(), "Floss report");
                  EXPECT_EQ(report.ReportKind, Treportfrm::kFlossReport);
                  EXPECT_FALSE(report.Panel1->isVisible());
                  EXPECT_FALSE(report.FabricLabel->isVisible());
                  EXPECT_EQ(Shown(report), floss);
                }),
            1);
  const Lines usage = ColorUsageLines(Compo(), Compo().Palette(), nullptr);
  EXPECT_EQ(Run(Command::ColorUsage,
                [&](Treportfrm& report) {
                  EXPECT_EQ(report.windowTitle(), "Color usage report");
                  EXPECT_TRUE(report.Panel1->isVisible());
                  EXPECT_EQ(Shown(report), usage);
                }),
            1);
  EXPECT_FALSE(Compo().Modified());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReportCommand, AnUnknownFabricIsSaidAboveTheLines) {
  Compo().SetCottonSize(9);
  Run(Command::FlossReport, [](Treportfrm& report) {
    EXPECT_TRUE(report.FabricLabel->isVisible());
    EXPECT_EQ(report.FabricLabel->text(), "Unknown fabric: lengths not computed");
    EXPECT_NE(Shown(report).front().find("0 Coil(s) ( 0.00 cm)"), std::string::npos);
  });
}

TEST_F(ReportCommand, EscClosesAndRemovesNothing) {
  const int32_t count = Compo().Palette().Count();
  Run(Command::ColorUsage, [](Treportfrm& report) {
    report.Edit1->setText("Dot");
    report.btnfind->click();
    ASSERT_TRUE(report.btnRemove->isEnabled());
    QTest::keyClick(report.ListBox1, Qt::Key_Escape);
    EXPECT_FALSE(report.isVisible());
  });
  EXPECT_EQ(Compo().Palette().Count(), count);
  EXPECT_FALSE(Compo().Modified());
  EXPECT_FALSE(document->Working());
}

TEST_F(ReportCommand, TwoRemovalsUpdateThePictureOnceAfterTheWindowClosed) {
  const int32_t count = Compo().Palette().Count();
  int updates = 0;
  QObject::connect(document, &TMDIChild::stateChanged,
                   [&] { updates += document->State().Work() == DocWork::UpdatingPicture; });
  Run(Command::ColorUsage, [&](Treportfrm& report) {
    report.Edit1->setText("Dot");
    report.btnfind->click();
    report.btnRemove->click();
    report.btnfindnext->click();  // from the top again: no line is selected
    report.btnRemove->click();
    EXPECT_EQ(Compo().Palette().Count(), count - 2);
    EXPECT_EQ(updates, 0);
  });
  EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_EQ(updates, 1);
  EXPECT_TRUE(Compo().Modified());
  EXPECT_EQ(Compo().Palette().Count(), count - 2);
}

TEST_F(ReportCommand, ABusyDocumentRefusesSilently) {
  int shown = 0;
  QTimer timer;  // a window shown by mistake is counted and closed, not waited for
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* report = qobject_cast<Treportfrm*>(QApplication::activeModalWidget())) {
      ++shown;
      report->reject();
    }
  });
  timer.start(5);
  document->SetWork(DocWork::Printing);
  document->Flossreport1Click();
  document->Colorusagereport1Click();
  EXPECT_EQ(document->State().Work(), DocWork::Printing);
  EXPECT_EQ(shown, 0);
  EXPECT_TRUE(messages.shown.empty());
  document->SetWork(DocWork::Idle);
}

}  // namespace
