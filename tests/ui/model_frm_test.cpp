// The stitch design window: its steps, chart and legend pixels, saving, the size limit,
// and its lifecycle with its document.

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/picture_view.h"
#include "app/ui/spin_edit.h"
#include "app/ui/ui_seams.h"
#include "composition/bitmap_file.h"
#include "pattern/draw/design_chart.h"
#include "pattern/ui/model_frm.h"
#include "tests/support/bitmap_rows.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

QRgb Opaque(QRgb pixel) {
  return pixel | 0xff000000u;
}

// The pixels of a 24-bit bitmap file as an image; null when the file is refused.
QImage ReadBack(const std::string& path) {
  const PixelRows rows = ReadBitmapRows(path);
  if (rows.empty()) return {};
  QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const TColor c = rows[y][x];
      image.setPixel(int(x), int(y), qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
    }
  return image;
}

class DesignWindow : public DocumentFixture {
 protected:
  TModelFrm* Open(uint16_t width, uint16_t height) {
    Start();
    document = Import(width, height);
    document->CreateModel1Click();
    return qobject_cast<TModelFrm*>(document->DesignWindow.data());
  }
  QMdiSubWindow* SubOf(QWidget* window) {
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
  }
  // The enabled step buttons, in their order.
  static std::string Steps(const TModelFrm& design) {
    std::string steps;
    for (QPushButton* button : {design.drawgrd, design.mapimg, design.colors})
      steps += button->isEnabled() ? "1" : "0";
    return steps;
  }

  TMDIChild* document = nullptr;
};

TEST_F(DesignWindow, TwoByOneAtCellThreeStepByStep) {
  TModelFrm* design = Open(2, 1);
  ASSERT_TRUE(design);
  EXPECT_TRUE(document->DesignOpen);
  EXPECT_EQ(design->windowTitle(), "Make Design : p.dmc");
  EXPECT_EQ(design->SpinEdit1->Text(), "10");
  EXPECT_EQ(design->CellSize(), 10);
  EXPECT_EQ(design->Chart().size(), QSize(23, 12));  // reset by its first activation
  EXPECT_EQ(Steps(*design), "100");
  EXPECT_FALSE(design->ScrollBox1->isVisible());

  std::vector<std::string> reports;
  design->OnProgress = [&](const std::string& text, uint16_t percent) {
    reports.push_back(text + "/" + std::to_string(percent));
  };
  design->SpinEdit1->SetText("3");
  ASSERT_EQ(design->Chart().size(), QSize(9, 5));
  EXPECT_EQ(design->Legend().size(), QSize(400, 85));

  design->drawgrd->click();
  EXPECT_EQ(Steps(*design), "010");
  design->mapimg->click();
  EXPECT_EQ(Steps(*design), "001");
  EXPECT_FALSE(design->ScrollBox1->isVisible());
  design->colors->click();
  EXPECT_EQ(Steps(*design), "000");
  EXPECT_TRUE(design->ScrollBox1->isVisible());
  EXPECT_TRUE(design->SpinEdit1->isEnabled());
  EXPECT_EQ(document->State().Work(), DocWork::Idle);

  const std::vector<std::string> grid_and_image = {"Drawing X axis grid : 0%/0",
                                                   "Drawing X axis grid : 50%/50",
                                                   "Drawing X axis grid : 100%/100",
                                                   "/0",
                                                   "Drawing Y axis grid : 0%/0",
                                                   "Drawing Y axis grid : 100%/100",
                                                   "/0",
                                                   "Drawing image : 0%/0",
                                                   "Drawing image : 50%/50",
                                                   "/0"};
  ASSERT_GT(reports.size(), grid_and_image.size());
  EXPECT_EQ(std::vector<std::string>(reports.begin(), reports.begin() + 10), grid_and_image);
  EXPECT_EQ(reports[10], "Printing colors : 0%/0");
  EXPECT_EQ(reports.back(), "/0");

  const QImage& chart = design->Chart();
  const QImage& picture = document->image1->Picture();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) {
      QRgb want;
      if (x == 8 && y == 4)
        want = kWhite;  // no line reaches its end point
      else if (x % 4 == 0 || y % 4 == 0)
        want = kBlack;
      else
        want = Opaque(picture.pixel(x / 4, 0));
      EXPECT_EQ(Opaque(chart.pixel(x, y)), want) << x << "," << y;
    }

  // The legend: every colour's swatch from (x, y) up to, not including, (x + h, y + h): a
  // black outline filled with its colour; its name beside it.
  const TpunPal& palette = document->Composition->Palette();
  const QImage& legend = design->Legend();
  const LegendGeometry layout = LegendLayoutOf(design->LegendFont(), 400, palette.Count());
  EXPECT_EQ(legend.size(), QSize(int(layout.width), int(layout.height)));
  EXPECT_GE(legend.width(), 400);
  const int h = int(layout.h);
  for (int k : {0, 1, int(palette.Count()) - 1}) {
    const LegendPoint at = layout.Entry(k);
    const int x0 = int(at.x), y0 = int(at.y);
    const TColor color = palette.GetClr(k);
    for (int y = y0 - 1; y <= y0 + h; ++y)
      for (int x = std::max(x0 - 1, 0); x <= x0 + h; ++x) {
        QRgb want = qRgb(RedOf(color), GreenOf(color), BlueOf(color));
        if (x < x0 || y < y0 || x == x0 + h || y == y0 + h)
          want = kWhite;
        else if (x == x0 || y == y0 || x == x0 + h - 1 || y == y0 + h - 1)
          want = kBlack;
        ASSERT_EQ(Opaque(legend.pixel(x, y)), want) << k << ": " << x << "," << y;
      }
    bool inked = false;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = int(layout.NameX(at.x)); x < int(layout.NameX(at.x) + layout.n); ++x)
        inked |= Opaque(legend.pixel(x, y)) != kWhite;
    EXPECT_TRUE(inked) << k;
  }
}

TEST_F(DesignWindow, ResetOnTheButtonOnActivationAndOnBadValues) {
  TModelFrm* design = Open(2, 1);
  design->drawgrd->click();  // through the frame's status line, cleared at the end
  EXPECT_EQ(frame->msgpanel->text(), "");
  EXPECT_EQ(frame->meter->value(), 0);
  design->BtnReset->click();
  EXPECT_EQ(Steps(*design), "100");
  design->drawgrd->click();
  // Another window, then this one again: the chart is drawn anew.
  frame->mdi->setActiveSubWindow(SubOf(document));
  frame->mdi->setActiveSubWindow(SubOf(design));
  EXPECT_EQ(Steps(*design), "100");
  EXPECT_EQ(Opaque(design->Chart().pixel(0, 0)), kWhite);

  ScriptedMessages messages;
  design->SpinEdit1->SetText("");
  design->SpinEdit1->SetText("x");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Wrong value entered !"});
  design->SpinEdit1->SetText("999");
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(design->CellSize(), 10);
}

TEST_F(DesignWindow, TheFontDialogSetsTheLegendFontForTheNextList) {
  TModelFrm* design = Open(2, 1);
  design->OnProgress = nullptr;
  const QFont large("DejaVu Sans", 30);
  {
    ScriptedFontDialog dialog;
    dialog.answer = large;
    const QFont before = design->LegendFont();
    design->btnfont->click();
    EXPECT_EQ(dialog.asked_with, before);
    EXPECT_EQ(design->LegendFont(), large);
    dialog.answer.reset();  // cancelled: the font stays
    design->btnfont->click();
    EXPECT_EQ(design->LegendFont(), large);
  }

  design->drawgrd->click();
  design->mapimg->click();
  design->colors->click();
  const LegendGeometry layout =
      LegendLayoutOf(large, 400, document->Composition->Palette().Count());
  EXPECT_EQ(design->Legend().height(), layout.height);
}

TEST_F(DesignWindow, TooLargeKeepsThePreviousCellSize) {
  TModelFrm* design = Open(260, 260);
  ScriptedMessages messages;
  design->SpinEdit1->SetText("50");  // 13261 pixels a side: over 2^27 in all
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Design too large for this cell size !"});
  EXPECT_EQ(design->CellSize(), 10);
  EXPECT_EQ(design->SpinEdit1->Text(), "10");
  EXPECT_EQ(design->Chart().width(), 2861);
}

TEST_F(DesignWindow, SavesChartAndLegendAsBitmaps) {
  TModelFrm* design = Open(3, 2);
  design->OnProgress = nullptr;
  design->drawgrd->click();
  design->mapimg->click();
  const std::string chart_file = files.File("chart.bmp");
  dialogs.AnswerSave(QString::fromStdString(chart_file));
  design->btnsave->click();
  ASSERT_EQ(dialogs.requests.size(), 2u);  // the import's, then this one
  const FileDialogRequest& request = dialogs.requests.back();
  EXPECT_EQ(request.title, "Save design");
  EXPECT_EQ(request.filter, "Bitmap Files (*.bmp)|*.bmp");
  EXPECT_EQ(request.defaultSuffix, "bmp");
  EXPECT_EQ(ReadBack(chart_file), design->Chart().convertToFormat(QImage::Format_RGB32));
  EXPECT_FALSE(std::filesystem::exists(files.File("chart-legend.bmp")));  // no list yet

  design->colors->click();
  dialogs.AnswerSave(QString::fromStdString(chart_file));
  design->btnsave->click();
  const QImage legend = ReadBack(files.File("chart-legend.bmp"));
  EXPECT_EQ(legend, design->Legend().convertToFormat(QImage::Format_RGB32));

  // An existing legend is replaced only when the user says so; a No writes nothing.
  ScriptedMessages messages;
  WriteFileBytes(chart_file, "old");
  messages.Answer(false);
  dialogs.AnswerSave(QString::fromStdString(chart_file));
  design->btnsave->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Confirm: \"" + files.File("chart-legend.bmp"), 0), 0u);
  EXPECT_EQ(ReadFileBytes(chart_file), "old");

  const std::string nowhere = files.File("missing/chart.bmp");
  dialogs.AnswerSave(QString::fromStdString(nowhere));
  design->btnsave->click();
  EXPECT_EQ(messages.shown.back(), "Error: Cannot create file " + nowhere);

  // A read-only legend refuses the save before the chart beside it is replaced.
  const std::string legend_file = files.File("chart-legend.bmp");
  const std::string legend_before = ReadFileBytes(legend_file);
  std::filesystem::permissions(legend_file, std::filesystem::perms::owner_read);
  messages.Answer(true);
  dialogs.AnswerSave(QString::fromStdString(chart_file));
  design->btnsave->click();
  EXPECT_EQ(messages.shown.back(), "Error: Cannot create file " + legend_file);
  EXPECT_EQ(ReadFileBytes(chart_file), "old");
  EXPECT_EQ(ReadFileBytes(legend_file), legend_before);
}

TEST_F(DesignWindow, AFailedStepLeavesTheCellSizeFreeToChange) {
  TModelFrm* design = Open(2, 1);
  design->OnProgress = nullptr;
  {
    ScriptedFontDialog dialog;
    dialog.answer = QFont("DejaVu Sans", 500);
    design->btnfont->click();
  }
  design->drawgrd->click();
  design->mapimg->click();
  ScriptedMessages messages;
  design->colors->click();  // a legend over the size limit
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Design too large for this cell size !"});
  EXPECT_FALSE(design->Busy());
  EXPECT_TRUE(design->SpinEdit1->isEnabled());
  EXPECT_TRUE(design->Panel2->isEnabled());
  EXPECT_EQ(document->State().Work(), DocWork::Idle);
}

TEST_F(DesignWindow, SwitchingToAnotherProgramAndBackIsNoActivation) {
  TModelFrm* design = Open(4, 3);
  design->OnProgress = nullptr;
  design->drawgrd->click();
  QWidget other;
  other.show();
  other.activateWindow();
  EXPECT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &other; }, 500));
  frame->activateWindow();
  EXPECT_TRUE(WaitFor([&] { return QApplication::activeWindow() == frame.get(); }, 500));
  QCoreApplication::processEvents();
  frame->mdi->setActiveSubWindow(SubOf(design));
  EXPECT_EQ(Steps(*design), "010");  // the drawn grid stays
}

TEST_F(DesignWindow, DuringAStepNothingClosesAndActivationDoesNotReset) {
  TModelFrm* design = Open(4, 3);
  bool tried = false;
  ScriptedMessages messages;
  design->OnProgress = [&](const std::string&, uint16_t) {
    if (tried) return;
    tried = true;
    EXPECT_TRUE(design->Busy());
    EXPECT_EQ(document->State().Work(), DocWork::Designing);
    EXPECT_FALSE(SubOf(design)->close());
    EXPECT_FALSE(SubOf(document)->close());
    EXPECT_FALSE(frame->close());
    frame->mdi->setActiveSubWindow(SubOf(document));
    frame->mdi->setActiveSubWindow(SubOf(design));
  };
  design->drawgrd->click();
  ASSERT_TRUE(tried);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"Error: Cannot close, \"p.dmc\" is busy !",
                                      "Error: Composition is busy, cannot close !"}));
  EXPECT_EQ(Steps(*design), "010");
  EXPECT_EQ(Opaque(design->Chart().pixel(0, 1)), kBlack);
  EXPECT_EQ(document->State().Work(), DocWork::Idle);
}

TEST_F(DesignWindow, AWindowDeletedDuringAStepLeavesItsDocumentIdle) {
  TModelFrm* design = Open(4, 3);
  QPointer<QMdiSubWindow> sub = SubOf(design);
  int reports = 0;
  design->OnProgress = [&](const std::string&, uint16_t) {
    if (++reports == 2) delete sub.data();
  };
  design->drawgrd->click();
  EXPECT_EQ(reports, 2);  // the step stopped where its window went
  EXPECT_FALSE(sub);
  EXPECT_FALSE(document->DesignOpen);
  EXPECT_TRUE(WaitFor([&] { return document->State().Work() == DocWork::Idle; }, 500));
}

TEST_F(DesignWindow, OnePerDocumentAndClosedWithIt) {
  TModelFrm* design = Open(2, 2);
  frame->mdi->setActiveSubWindow(SubOf(document));
  document->SetWork(DocWork::Reporting);
  document->CreateModel1Click();  // refused while busy, silently
  EXPECT_EQ(frame->mdi->activeSubWindow(), SubOf(document));
  document->SetWork(DocWork::Idle);
  document->CreateModel1Click();
  EXPECT_EQ(document->DesignWindow.data(), design);
  EXPECT_EQ(frame->mdi->activeSubWindow(), SubOf(design));
  EXPECT_EQ(frame->mdi->subWindowList().size(), 2);

  QPointer<TModelFrm> watched(design);
  ASSERT_TRUE(SubOf(document)->close());
  EXPECT_TRUE(WaitFor([&] { return !watched; }, 500));
  EXPECT_TRUE(WaitFor([&] { return frame->mdi->subWindowList().isEmpty(); }, 500));
}

TEST_F(DesignWindow, TheFrameClosesWithADesignWindowAfterItsDocument) {
  TModelFrm* design = Open(2, 2);
  QPointer<TModelFrm> watched(design);
  frame->mdi->setActiveSubWindow(SubOf(document));  // the document first in the closing order
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(WaitFor([&] { return !watched; }, 500));
}

TEST_F(DesignWindow, ClosingTheWindowTellsTheDocument) {
  TModelFrm* design = Open(2, 2);
  ASSERT_TRUE(SubOf(design)->close());
  EXPECT_TRUE(WaitFor([&] { return !document->DesignWindow; }));
  EXPECT_FALSE(document->DesignOpen);
  document->CreateModel1Click();
  EXPECT_TRUE(document->DesignOpen);
}

}  // namespace
