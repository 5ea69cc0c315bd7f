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
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/picture_view.h"
#include "base/exceptions.h"
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

// A color usage report whose palette has a name with a blank and a name used twice; the
// picture uses entry k kCounts[k] times.
class ReportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<const char*, TColor> entries[] = {{"blanc", MakeColor(255, 255, 255)},
                                                      {"light blue", MakeColor(90, 140, 250)},
                                                      {"blanc", MakeColor(250, 250, 235)},
                                                      {"310", MakeColor(0, 0, 0)},
                                                      {"666", MakeColor(220, 20, 40)}};
    const uint32_t counts[] = {1, 11, 0, 21, 5};
    std::vector<TColor> pixels;
    for (size_t k = 0; k < std::size(entries); ++k) {
      compo.Palette().AddClr(entries[k].second, entries[k].first);
      pixels.insert(pixels.end(), counts[k], entries[k].second);
    }
    PictureBlock block(PictureBytes(uint16_t(pixels.size()), 1), 0);
    for (size_t x = 0; x < pixels.size(); ++x)
      PutPixelAt(block.data(), PixelOffset(uint16_t(pixels.size()), 1, uint32_t(x), 0), pixels[x]);
    compo.SetPicture(TPicture(uint16_t(pixels.size()), 1, std::move(block)));
    report.ReportKind = Treportfrm::kColorUsageReport;
    report.Panel1->show();
    report.AddUsageLines(ColorUsageReport(compo, compo.Palette(), nullptr));
    report.show();
    report.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&report));
  }
  // The pixel at (x, y) of a row's item.
  QColor PixelOf(int row, int x, int y) {
    const QRect item = report.ListBox1->visualItemRect(report.ListBox1->item(row));
    return report.ListBox1->viewport()->grab().toImage().pixelColor(item.topLeft() + QPoint(x, y));
  }
  QColor Swatch(int row) { return PixelOf(row, D::kSwatchLeft + 5, D::kSwatchTop + 5); }
  QColor Role(QPalette::ColorRole role) { return report.ListBox1->palette().color(role); }
  int32_t Count() const { return compo.Palette().Count(); }

  TpunCompo compo;
  Treportfrm report{compo.Palette()};
};

TEST_F(ReportWindow, LinesAreTheModelsAndEachSwatchShowsItsOwnEntry) {
  EXPECT_EQ(Shown(report), ColorUsageLines(compo, compo.Palette()));
  EXPECT_FALSE(report.windowFlags() & Qt::WindowContextHelpButtonHint);
  EXPECT_EQ(report.ListBox1->visualItemRect(report.ListBox1->item(1)).height(), D::kItemHeight);
  for (int row = 0; row < Count(); ++row) {
    const TColor color = compo.Palette().GetClr(row);
    EXPECT_EQ(Swatch(row), QColor(RedOf(color), GreenOf(color), BlueOf(color))) << row;
  }
  // A one-pixel black outline from (l + 2, t + 2) up to (l + 27, t + 20), not included.
  EXPECT_EQ(PixelOf(0, D::kSwatchLeft, D::kSwatchTop), QColor(Qt::black));
  EXPECT_EQ(PixelOf(0, D::kSwatchRight - 1, D::kSwatchBottom - 1), QColor(Qt::black));
  EXPECT_EQ(PixelOf(0, D::kSwatchLeft + 1, D::kSwatchTop + 1), QColor(Qt::white));
  EXPECT_EQ(PixelOf(0, D::kSwatchRight, D::kSwatchBottom), Role(QPalette::Base));
  EXPECT_EQ(PixelOf(1, 0, D::kItemHeight - 1), Role(QPalette::Base));
  report.btnfind->click();
  EXPECT_EQ(PixelOf(0, 0, D::kItemHeight - 1), Role(QPalette::Highlight));
}

TEST_F(ReportWindow, FindAndFindNextStopAtEveryCountEndingInOne) {
  EXPECT_EQ(report.Edit1->text(), "1 Dot");
  EXPECT_EQ(report.Edit1->maxLength(), 11);
  EXPECT_FALSE(report.btnfindnext->isEnabled() || report.btnRemove->isEnabled());
  QTest::keyClick(report.Edit1, Qt::Key_Return);  // Enter finds
  EXPECT_EQ(Selected(report), 0);
  EXPECT_FALSE(report.btnfind->isEnabled());
  EXPECT_TRUE(report.btnfindnext->isEnabled() && report.btnRemove->isEnabled());
  report.btnfindnext->click();
  EXPECT_EQ(Selected(report), 1);
  report.btnfindnext->click();
  EXPECT_EQ(Selected(report), 3);
  report.btnfindnext->click();  // none after: Find again
  EXPECT_EQ(Selected(report), 3);
  EXPECT_TRUE(report.btnfind->isEnabled() && !report.btnfindnext->isEnabled());
  report.ListBox1->setCurrentRow(4);  // at the last line Find Next does nothing
  report.btnfindnextClick();
  EXPECT_EQ(Selected(report), 4);
  report.Edit1->setText("1 dot");  // letter case matters; no match changes nothing
  report.btnfind->click();
  EXPECT_EQ(Selected(report), 4);
  report.Edit1->clear();
  EXPECT_FALSE(report.btnfind->isEnabled());
}

TEST_F(ReportWindow, RemoveTakesTheLinesOwnEntryAndCtrlCCopiesTheLine) {
  report.Edit1->setText("  0 Dot");  // the second "blanc"
  report.btnfind->click();
  QTest::keyClick(report.Edit1, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(WaitFor([&] { return report.ColorsRemoved; }, 2000));  // an animated click
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(compo.Palette().GetClr(0), MakeColor(255, 255, 255));
  EXPECT_FALSE(report.btnRemove->isEnabled());
  EXPECT_EQ(Selected(report), -1);
  EXPECT_EQ(Swatch(2), QColor(Qt::black));  // "310" moved up with its entry
  report.Edit1->setText("1 Dot");
  report.btnfind->click();
  QApplication::clipboard()->clear();
  QTest::keyClick(report.ListBox1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "     blanc ->      1 Dot(s)");
}

TEST_F(ReportWindow, TheLastColorCannotBeRemoved) {
  for (int removal = 0; removal < 4; ++removal) {
    report.ListBox1->setCurrentRow(0);
    report.btnRemoveClick();
  }
  report.btnfind->click();
  EXPECT_FALSE(report.btnRemove->isEnabled());
  report.btnRemoveClick();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(report.ListBox1->count(), 1);
}

TEST(ReportLongLine, ScrollingReachesTheEndOfALineBehindItsSwatch) {
  TpunCompo compo;
  compo.Palette().AddClr(MakeColor(1, 2, 3), "a");
  compo.Palette().AddClr(MakeColor(9, 2, 3), std::string(100, 'n'));
  compo.SetPicture(TPicture(1, 1, PictureBlock(PictureBytes(1, 1), 0)));
  Treportfrm report(compo.Palette());
  report.ReportKind = Treportfrm::kColorUsageReport;
  report.AddUsageLines(ColorUsageReport(compo, compo.Palette(), nullptr));
  report.show();
  QListWidget& list = *report.ListBox1;
  ASSERT_TRUE(WaitFor([&] { return list.horizontalScrollBar()->maximum() > 0; }));
  const int text_end =
      D::kSwatchTextLeft + list.fontMetrics().horizontalAdvance(list.item(1)->text());
  EXPECT_GE(list.horizontalScrollBar()->maximum() + list.viewport()->width(), text_end);
}

// The commands on an imported picture and the main palette.
class ReportCommand : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    document = Import(24, 16);
  }
  // Runs the command with `answer` acting in its window; the times a window showed.
  int Run(std::function<void()> command, std::function<void(Treportfrm&)> answer) {
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (auto* report = qobject_cast<Treportfrm*>(QApplication::activeModalWidget())) {
        ++shown;
        // Busy while the window shows, the status line cleared, the hourglass off.
        EXPECT_EQ(document->State().Work(), DocWork::Reporting);
        EXPECT_TRUE(frame->msgpanel->text().isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        answer(*report);
        if (report->isVisible()) report->reject();
      }
    });
    timer.start(5);
    command();
    EXPECT_NE(document->State().Work(), DocWork::Reporting);
    return shown;
  }
  int Run(Command command, std::function<void(Treportfrm&)> answer) {
    return Run([&] { frame->Action(command)->trigger(); }, std::move(answer));
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
                  EXPECT_FALSE(report.Panel1->isVisible() || report.FabricLabel->isVisible());
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
  // An unknown fabric is said above the lines.
  Compo().SetCottonSize(9);
  Run(Command::FlossReport, [](Treportfrm& report) {
    EXPECT_TRUE(report.FabricLabel->isVisible());
    EXPECT_EQ(report.FabricLabel->text(), "Unknown fabric: lengths not computed");
  });
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReportCommand, AFailureWhileCountingLeavesTheDocumentIdleAndSaysWhy) {
  for (const Command command : {Command::FlossReport, Command::ColorUsage}) {
    messages.shown.clear();
    bool raised = false;
    const auto raise =
        QObject::connect(frame.get(), &TMainForm::progressShown, [&](const QString& text) {
          if (raised || text.isEmpty()) return;
          raised = true;
          throw EInOutError("Unable to read the palette");
        });
    EXPECT_EQ(Run(command, [](Treportfrm&) {}), 0);
    QObject::disconnect(raise);
    EXPECT_TRUE(raised);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Unable to read the palette"});
    EXPECT_FALSE(document->Busy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(document->image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(frame->msgpanel->text().isEmpty());
  }
  EXPECT_FALSE(Compo().Modified());
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
  EXPECT_FALSE(Compo().Modified() || document->Working());
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
    EXPECT_EQ(updates, 0);
  });
  EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_EQ(updates, 1);
  EXPECT_TRUE(Compo().Modified());
  EXPECT_EQ(Compo().Palette().Count(), count - 2);
}

TEST_F(ReportCommand, TheTransparentColorFollowsItsEntryAsSoonAsAnEarlierOneGoes) {
  Compo().SetTransparencyOn(true);
  Compo().SetTransparentColor(3);
  const TColor transparent = Compo().Palette().GetClr(3);
  Run(Command::ColorUsage, [&](Treportfrm& report) {
    report.Edit1->setText("Dot");
    report.btnfind->click();
    report.btnRemove->click();
    EXPECT_EQ(Compo().TransparentColor(), 2);  // the grid may repaint while this is open
  });
  EXPECT_TRUE(Compo().TransparencyOn());
  EXPECT_EQ(Compo().Palette().GetClr(Compo().TransparentColor()), transparent);
}

TEST_F(ReportCommand, ABusyDocumentRefusesSilently) {
  document->SetWork(DocWork::Printing);
  const auto both = [&] {
    document->Flossreport1Click();
    document->Colorusagereport1Click();
  };
  EXPECT_EQ(Run(both, [](Treportfrm&) {}), 0);
  EXPECT_EQ(document->State().Work(), DocWork::Printing);
  EXPECT_TRUE(messages.shown.empty());
  document->SetWork(DocWork::Idle);
}

}  // namespace
