// The colour table: its swatch grid, its commands on the working copy, and its hand-over
// to the document through "&Color Table".

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/ui/add_color_dlg.h"
#include "app/ui/color_dlg.h"
#include "app/ui/custom_colors_dlg.h"
#include "app/ui/picture_view.h"
#include "app/ui/spin_edit.h"
#include "app/ui/swatch_grid.h"
#include "base/exceptions.h"
#include "tests/support/palette_entries.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

// Chart order: neither the brightest nor the darkest comes first.
const Entries kMain = {{"321", MakeColor(200, 20, 40)},
                       {"blanc", MakeColor(255, 255, 255)},
                       {"799", MakeColor(70, 110, 180)},
                       {"310", MakeColor(0, 0, 0)},
                       {"3078", MakeColor(250, 240, 150)}};

class ColorTable : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    Fill(frame->MainPalette, kMain);
    document = Import(4, 3);
    ASSERT_TRUE(document);
  }
  std::unique_ptr<TColorDlg> Open() {
    auto dialog = std::make_unique<TColorDlg>(*frame, document, frame.get());
    dialog->Work().Assign(*document->Composition);
    dialog->StartUp();
    return dialog;
  }
  std::vector<std::string> Names(TColorDlg& d) {
    std::vector<std::string> names;
    for (const auto& entry : EntriesOf(d.Work().Palette())) names.push_back(entry.first);
    return names;
  }

  ScriptedMessages messages;
  TMDIChild* document = nullptr;
};

TEST(SwatchGrid, RowsCellsAndSwatchPixels) {
  TpunPal palette;
  for (int i = 0; i < 16; ++i)
    palette.AddClr(MakeColor(uint8_t(i * 10), 0, 200), std::to_string(i));
  SwatchGrid grid;
  grid.resize(grid.sizeHint());
  grid.SetPalette(&palette);
  EXPECT_EQ(grid.Rows(), 1);
  palette.AddClr(MakeColor(1, 2, 3), "16");
  grid.Refresh();
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.IndexAt(QPoint(3 * 16 + 5, 16 + 5)), 17 + 3);
  EXPECT_EQ(grid.IndexAt(QPoint(17 * 16 + 2, 2)), -1);

  grid.show();
  const QImage shot = grid.viewport()->grab().toImage();
  auto at = [&](int index) { return shot.pixelColor(grid.CellRect(index).center()); };
  EXPECT_EQ(at(4), QColor(40, 0, 200));
  EXPECT_EQ(at(16), QColor(1, 2, 3));
  EXPECT_NE(at(17), QColor(1, 2, 3));  // past the palette: nothing drawn
  EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
  for (int i = 17; i < 17 * 20; ++i) palette.AddClr(MakeColor(9, 9, 9), std::to_string(i));
  grid.Refresh();
  EXPECT_GT(grid.verticalScrollBar()->maximum(), 0);  // 21 rows do not fit
  grid.verticalScrollBar()->setValue(16);
  EXPECT_EQ(grid.IndexAt(QPoint(2, 2)), 17);
  grid.SetPalette(nullptr);
  EXPECT_EQ(grid.Rows(), 1);
  grid.viewport()->grab();  // an empty grid paints without a palette
}

TEST_F(ColorTable, CommandsEditTheWorkingCopyOnly) {
  auto d = Open();
  EXPECT_EQ(d->colornum->text(), "Colors used : 5");
  EXPECT_EQ(d->dmcname->text(), "321");
  EXPECT_EQ(d->Edit1->Text(), "5");
  EXPECT_FALSE(d->preview->isEnabled());
  EXPECT_FALSE(d->StopButton->isEnabled());

  d->Work().SetTransparentColor(1);
  d->Work().SetTransparencyOn(true);
  d->SortClick();
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"blanc", "3078", "799", "321", "310"}));
  EXPECT_FALSE(d->Work().TransparencyOn());
  EXPECT_TRUE(d->preview->isEnabled());

  d->DrawGrid1->SetSelected(1);
  d->GridDoubleClick();
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"blanc", "799", "321", "310"}));
  EXPECT_EQ(d->colornum->text(), "Colors used : 4");
  EXPECT_EQ(d->dmcname->text(), "799");
  d->DrawGrid1->SetSelected(9);  // an empty cell
  d->GridClick();
  d->GridDoubleClick();
  EXPECT_EQ(d->Work().Palette().Count(), 4);
  EXPECT_TRUE(d->sort->isEnabled());
  EXPECT_TRUE(d->dmcname->text().isEmpty());

  d->ClearClick();  // brightest, then darkest, whatever the main palette's order
  EXPECT_EQ(EntriesOf(d->Work().Palette()),
            (Entries{{"blanc", MakeColor(255, 255, 255)}, {"310", MakeColor(0, 0, 0)}}));
  d->DrawGrid1->SetSelected(0);
  d->GridDoubleClick();
  d->DrawGrid1->SetSelected(0);
  d->GridDoubleClick();  // the last colour stays
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"310"}));

  d->ResetClick();
  EXPECT_EQ(EntriesOf(d->Work().Palette()), kMain);
  EXPECT_EQ(EntriesOf(document->Composition->Palette()), kMain);
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ColorTable, AddingFromFilesAndTheTemporaryPalette) {
  auto d = Open();
  d->ClearClick();
  d->StartUp();
  d->Work().SetModified(false);

  TpunPal file;
  Fill(file, {{"BLANC", MakeColor(1, 1, 1)}, {"blue", MakeColor(0, 0, 250)}});
  file.SaveToFile(files.File("add.clr"));
  dialogs.AnswerOpen({QString::fromStdString(files.File("add.clr"))});
  d->AddPaletteClick();
  EXPECT_EQ(dialogs.requests.back().title, "Add colors");
  EXPECT_EQ(dialogs.requests.back().filter, "CLR Files (*.clr)|*.clr");
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"blanc", "310", "blue"}));
  EXPECT_EQ(d->colornum->text(), "Colors used : 3");
  EXPECT_TRUE(d->Work().Modified());
  EXPECT_TRUE(d->preview->isEnabled());

  d->StartUp();  // Preview off again
  d->Work().SetModified(false);
  WriteFileBytes(files.File("junk.clr"), "this is no palette at all");
  const QString junk = QString::fromStdString(files.File("junk.clr"));
  dialogs.AnswerOpen({junk});
  d->AddPaletteClick();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Not a palette file : " + junk.toStdString()});
  EXPECT_EQ(d->Work().Palette().Count(), 3);
  EXPECT_FALSE(d->Work().Modified());
  EXPECT_FALSE(d->preview->isEnabled());

  d->TempPalClick();  // an empty temporary palette: nothing, Preview as it was
  EXPECT_FALSE(d->preview->isEnabled());
  Fill(frame->TempPalette, {{"Blue", MakeColor(0, 0, 1)}, {"321+310", MakeColor(100, 10, 20)}});
  d->TempPalClick();
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"blanc", "310", "blue", "321+310"}));
  EXPECT_EQ(d->colornum->text(), "Colors used : 4");
  EXPECT_EQ(d->DrawGrid1->Rows(), 1);
  EXPECT_TRUE(d->preview->isEnabled());
}

TEST_F(ColorTable, AStoppedOrEmptyingReductionChangesNothing) {
  auto d = Open();
  Entries close;
  for (int i = 0; i < 60; ++i)
    close.emplace_back("c" + std::to_string(i), MakeColor(uint8_t(100 + i % 3), 50, uint8_t(i)));
  Fill(d->Work().Palette(), close);
  d->Work().SetTransparentColor(7);
  d->Work().SetTransparencyOn(true);
  d->StartUp();
  d->show();

  bool stayed_open = false;
  QTimer::singleShot(0, d.get(), [&] {
    EXPECT_TRUE(d->StopButton->isEnabled());
    EXPECT_FALSE(d->OkButton->isEnabled());
    EXPECT_FALSE(d->custom->isEnabled());
    EXPECT_FALSE(d->close());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d.get(), &escape);  // presses S&top
    stayed_open = d->isVisible();
  });
  d->Edit1->SetText("40");
  d->SimilarClick();
  EXPECT_TRUE(stayed_open);
  EXPECT_EQ(EntriesOf(d->Work().Palette()), close);
  EXPECT_TRUE(d->Work().TransparencyOn());
  EXPECT_EQ(d->Work().TransparentColor(), 7);
  EXPECT_FALSE(d->preview->isEnabled());
  EXPECT_TRUE(d->OkButton->isEnabled());
  EXPECT_FALSE(d->StopButton->isEnabled());

  d->Edit1->SetText("");  // not a number: nothing at all
  d->SimilarClick();
  EXPECT_EQ(EntriesOf(d->Work().Palette()), close);

  const Entries blacks = {{"310", 0}, {"939", 0}, {"3371", 0}};
  Fill(d->Work().Palette(), blacks);
  d->StartUp();
  d->Edit1->SetText("255");
  d->SimilarClick();
  EXPECT_GT(d->Work().Palette().Count(), 0);
  d->Edit1->SetText("5");
  d->SimilarClick();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(d->isVisible());
}

TEST_F(ColorTable, AnEmptyMainPaletteLeavesThePaletteAsItWas) {
  frame->MainPalette.Clear();
  auto d = Open();
  d->ClearClick();
  d->ResetClick();
  EXPECT_EQ(EntriesOf(d->Work().Palette()), kMain);
  EXPECT_FALSE(d->preview->isEnabled());
}

TEST_F(ColorTable, OkHandsTheEditsOverAndCancelDiscardsThem) {
  ScriptedModal modal;
  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TColorDlg&>(dialog);
    d.ClearClick();
    d.OkClick();
    return d.result();
  });
  document->Composition->SetTransparentColor(1);
  document->Composition->SetTransparencyOn(true);
  frame->Action(Command::ColorTable)->trigger();
  EXPECT_EQ(modal.titles, QStringList{"Color Table"});
  EXPECT_EQ(EntriesOf(document->Composition->Palette()),
            (Entries{{"blanc", MakeColor(255, 255, 255)}, {"310", MakeColor(0, 0, 0)}}));
  EXPECT_FALSE(document->Composition->TransparencyOn());
  EXPECT_TRUE(document->Composition->Modified());
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));

  // A preview shows the edit; Cancel then puts the document's own picture back.
  document->Composition->SetModified(false);
  const QImage shown = document->image1->Picture();
  modal.Then([&](QDialog& dialog) {
    auto& d = dynamic_cast<TColorDlg&>(dialog);
    d.DrawGrid1->SetSelected(1);
    d.GridDoubleClick();  // all white now
    d.PreviewClick();
    EXPECT_FALSE(document->Working());  // the update has ended when Preview returns
    EXPECT_NE(document->image1->Picture(), shown);
    EXPECT_FALSE(d.preview->isEnabled());
    d.CancelClick();
    return d.result();
  });
  frame->Action(Command::ColorTable)->trigger();
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_EQ(document->Composition->Palette().Count(), 2);
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_TRUE(document->Composition->TransparencyOn() == false);
  EXPECT_EQ(document->image1->Picture(), shown);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ColorTable, OkKeepsTheMappingThatIsStillTrue) {
  ScriptedModal modal;
  ASSERT_TRUE(document->Composition->Mapped());
  modal.Then([](QDialog& dialog) {
    dynamic_cast<TColorDlg&>(dialog).OkClick();  // no edit
    return dialog.result();
  });
  frame->Action(Command::ColorTable)->trigger();
  EXPECT_TRUE(document->Composition->Mapped());
  EXPECT_FALSE(document->Working());

  // A preview of the palette handed over is the document's mapped picture: no second update.
  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TColorDlg&>(dialog);
    d.DrawGrid1->SetSelected(0);
    d.GridDoubleClick();
    d.PreviewClick();
    d.OkClick();
    return d.result();
  });
  frame->Action(Command::ColorTable)->trigger();
  EXPECT_FALSE(document->Working());
  ASSERT_TRUE(document->Composition->Mapped());
  EXPECT_EQ(document->Composition->Palette().Count(), int32_t(kMain.size()) - 1);
  const TpunCompo& compo = *document->Composition;
  const size_t at = PixelOffset(compo.Width(), compo.Height(), 0, 0);
  const int32_t first = compo.Palette().NearestClr(PixelAt(compo.SourcePicture().Data(), at));
  EXPECT_EQ(PixelAt(compo.MappedPicture().Data(), at), compo.Palette().GetClr(first));
}

TEST_F(ColorTable, AddingOneFlossOrTweededOnes) {
  auto d = Open();
  Fill(d->Work().Palette(), {{"BLANC", MakeColor(255, 255, 255)}, {"310", 0}});
  d->StartUp();
  ScriptedModal modal;
  auto pick = [&](int index) {
    modal.Then([index](QDialog& dialog) {
      dynamic_cast<TaddColorDlg&>(dialog).ComboBox1->setCurrentIndex(index);
      return int(QDialog::Accepted);
    });
  };
  pick(1);  // "blanc": held as "BLANC"
  d->addclr->click();
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Color allready in palette !"});
  EXPECT_EQ(d->Work().Palette().Count(), 2);
  EXPECT_FALSE(d->preview->isEnabled());
  EXPECT_FALSE(d->UndoButton->isEnabled());
  pick(2);
  d->addclr->click();
  EXPECT_EQ(EntriesOf(d->Work().Palette()).back(),
            (std::pair<std::string, TColor>("799", MakeColor(70, 110, 180))));
  EXPECT_EQ(d->colornum->text(), "Colors used : 3");
  EXPECT_TRUE(d->preview->isEnabled());

  d->StartUp();
  modal.Then([](QDialog& dialog) {
    auto& custom = dynamic_cast<TCustomColorsDlg&>(dialog);
    custom.Choose(1);
    custom.Choose(2);
    custom.TweedClick();
    return int(QDialog::Accepted);
  });
  d->custom->click();
  EXPECT_EQ(Names(*d), (std::vector<std::string>{"BLANC", "310", "799", "310+799"}));
  EXPECT_TRUE(d->preview->isEnabled());
  EXPECT_TRUE(d->Work().Modified());
  EXPECT_EQ(modal.titles.size(), 3);
}

TEST_F(ColorTable, ClosingWaitsForThePictureUpdate) {
  auto d = Open();
  document->StartPictureUpdate(true);
  ASSERT_TRUE(document->UpdatingPicture());
  d->OkClick();
  d->CancelClick();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>(2, "Error: Cannot close while updating picture !"));
  EXPECT_EQ(d->result(), 0);
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  d->OkClick();
  EXPECT_EQ(d->result(), TColorDlg::kOk);
}

TEST_F(ColorTable, UndoAndRedoRetraceEveryKindOfChange) {
  auto d = Open();
  d->Work().SetTransparentColor(2);
  d->Work().SetTransparencyOn(true);
  using State = std::tuple<Entries, bool, int32_t>;
  auto state = [&] {
    return State{EntriesOf(d->Work().Palette()), d->Work().TransparencyOn(),
                 d->Work().TransparentColor()};
  };
  EXPECT_FALSE(d->UndoButton->isEnabled());
  d->TempPalButton->click();  // nothing to add: no step
  EXPECT_FALSE(d->UndoButton->isEnabled());

  TpunPal file;
  Fill(file, {{"B5200", MakeColor(254, 254, 254)}});
  file.SaveToFile(files.File("one.clr"));
  dialogs.AnswerOpen({QString::fromStdString(files.File("one.clr"))});
  Fill(frame->TempPalette, {{"3865", MakeColor(240, 240, 235)}});
  std::vector<State> states{state()};
  const std::vector<std::function<void()>> commands = {
      [&] { d->palette->click(); },
      [&] { d->TempPalButton->click(); },
      [&] { d->sort->click(); },
      [&] {
        d->DrawGrid1->SetSelected(2);
        emit d->DrawGrid1->doubleClicked(2);
      },
      [&] { d->clear->click(); },
      [&] { d->reset->click(); },
  };
  for (const auto& command : commands) {
    command();
    EXPECT_NE(state(), states.back());
    states.push_back(state());
  }
  for (size_t i = states.size() - 1; i > 0; --i) {
    d->StartUp();
    d->UndoButton->click();
    EXPECT_EQ(state(), states[i - 1]) << "undo " << i;
    EXPECT_TRUE(d->preview->isEnabled());
  }
  EXPECT_FALSE(d->UndoButton->isEnabled());
  for (size_t i = 1; i < states.size(); ++i) {
    d->RedoButton->click();
    EXPECT_EQ(state(), states[i]) << "redo " << i;
  }
  EXPECT_FALSE(d->RedoButton->isEnabled());

  d->UndoButton->click();
  QTimer::singleShot(0, d.get(), [&] {
    EXPECT_FALSE(d->UndoButton->isEnabled());
    d->StopButton->click();
  });
  d->similar->click();  // stopped: no step, and Redo stays
  EXPECT_TRUE(d->RedoButton->isEnabled());
  d->DrawGrid1->SetSelected(0);
  emit d->DrawGrid1->doubleClicked(0);  // a new change drops Redo
  EXPECT_FALSE(d->RedoButton->isEnabled());
  d->UndoButton->click();
  EXPECT_EQ(state(), states[states.size() - 2]);
}

TEST_F(ColorTable, KeysTakeBackAndRedoAndAnErrorLeavesTheDialogUsable) {
  auto d = Open();
  d->show();
  QApplication::setActiveWindow(d.get());  // the offscreen platform keeps the frame active
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
  const Entries before = EntriesOf(d->Work().Palette());
  d->clear->click();
  const Entries cleared = EntriesOf(d->Work().Palette());
  QTest::keyClick(d.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(EntriesOf(d->Work().Palette()), before);
  QTest::keyClick(d.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(EntriesOf(d->Work().Palette()), cleared);
  QTest::keyClick(d.get(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(d.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(EntriesOf(d->Work().Palette()), cleared);
  QTest::keyClick(d.get(), Qt::Key_S, Qt::AltModifier);  // "&Sort": white stays first
  EXPECT_EQ(EntriesOf(d->Work().Palette()), cleared);

  // A failure during Sort's reports reaches the error box; the controls, the cursor and
  // the status line come back.
  bool raised = false;
  const auto raise =
      QObject::connect(frame.get(), &TMainForm::progressShown, [&](const QString& text) {
        if (raised || text.isEmpty()) return;
        raised = true;
        throw EInOutError("disk gone");
      });
  d->sort->click();
  QObject::disconnect(raise);
  EXPECT_TRUE(raised);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: disk gone"});
  EXPECT_TRUE(d->sort->isEnabled());
  EXPECT_TRUE(d->OkButton->isEnabled());
  EXPECT_FALSE(d->StopButton->isEnabled());
  EXPECT_EQ(d->DrawGrid1->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(frame->msgpanel->text().isEmpty());

  // Alt+O is both "&Ok" and "Cust&om": it presses Ok.
  QTest::keyClick(d.get(), Qt::Key_O, Qt::AltModifier);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->result(), QDialog::Accepted);
}

}  // namespace
