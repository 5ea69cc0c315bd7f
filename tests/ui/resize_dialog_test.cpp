// The resize dialog on its own, and the resize and quarter turns through the commands.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/ui/picture_view.h"
#include "app/ui/resize_dlg.h"
#include "app/ui/spin_edit.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

TEST(ResizeDialog, OneFieldFollowsTheOtherWhileProportionsAreKept) {
  TResizeDlg dialog(300, 200, 14, 0);
  EXPECT_EQ(dialog.WidthEdit->Text(), "300");
  EXPECT_EQ(dialog.HeightEdit->Text(), "200");
  const struct {
    SpinEdit* field;
    const char *text, *width, *height;
  } steps[] = {
      {dialog.WidthEdit, "150", "150", "100"},
      {dialog.HeightEdit, "51", "77", "51"},  // 76.5 rounds up
      {dialog.WidthEdit, "1", "1", "1"},      // never under one stitch
      {dialog.WidthEdit, "", "", "1"},        // what cannot be read changes nothing else
  };
  for (const auto& step : steps) {
    step.field->SetText(step.text);
    EXPECT_EQ(dialog.WidthEdit->Text(), step.width) << step.text;
    EXPECT_EQ(dialog.HeightEdit->Text(), step.height) << step.text;
  }
  // Free proportions: each field on its own, until they are kept again.
  dialog.KeepProportions->setChecked(false);
  dialog.WidthEdit->SetText("30");
  dialog.HeightEdit->SetText("7");
  EXPECT_EQ(dialog.WidthEdit->Text(), "30");
  dialog.KeepProportions->setChecked(true);
  EXPECT_EQ(dialog.HeightEdit->Text(), "20");
}

TEST(ResizeDialog, FinishedSizeInTheSettingsUnitAsTheFieldsChange) {
  const struct {
    uint16_t fabric;
    uint8_t unit;
    const char* text;
  } cases[] = {
      {14, 0, "25.4 \u00D7 12.7 cm on 14 count"},
      {14, 1, "254.0 \u00D7 127.0 mm on 14 count"},
      {14, 2, "10.0 \u00D7 5.0 inches on 14 count"},
      {14, 3, "25.4 \u00D7 12.7 cm on 14 count"},  // the fields count the stitches already
      {11, 0, "32.3 \u00D7 16.2 cm on 11 count"},
  };
  for (const auto& c : cases) {
    TResizeDlg dialog(140, 70, c.fabric, c.unit);
    EXPECT_EQ(dialog.FinishedSize->text().toStdString(), std::string("Finished size : ") + c.text)
        << int(c.unit);
  }
  TResizeDlg dialog(140, 70, 14, 0);
  dialog.WidthEdit->SetText("28");
  EXPECT_EQ(dialog.FinishedSize->text().toStdString(),
            "Finished size : 5.1 \u00D7 2.5 cm on 14 count");
  dialog.WidthEdit->SetText("0");
  EXPECT_EQ(dialog.FinishedSize->text().toStdString(), "Finished size : ?");
}

TEST(ResizeDialog, OkRefusesAWrongFieldWithTheFocusOnIt) {
  for (const char* bad : {"", "0", "65536", "12a", "-5"})
    for (bool width : {true, false}) {
      TResizeDlg dialog(40, 30, 14, 0);
      dialog.show();
      dialog.KeepProportions->setChecked(false);
      SpinEdit* field = width ? dialog.WidthEdit : dialog.HeightEdit;
      field->SetText(bad);
      ScriptedMessages messages;
      dialog.OkButton->click();
      EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Invalid value ! (1-65535)"});
      EXPECT_TRUE(dialog.isVisible()) << bad;
      EXPECT_EQ(dialog.focusWidget(), field->Edit()) << bad << " " << width;
    }
}

class PictureCommands : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
  }

  void Run(TMDIChild* document, Command command) {
    frame->Action(command)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  }

  // The next resize dialog is answered by `answer`; `shown` counts them.
  void AnswerResize(std::function<void(TResizeDlg&)> answer) {
    auto* timer = new QTimer(frame.get());
    QObject::connect(timer, &QTimer::timeout, [this, timer, answer] {
      if (auto* dialog = qobject_cast<TResizeDlg*>(QApplication::activeModalWidget())) {
        timer->deleteLater();
        ++shown;
        answer(*dialog);
      }
    });
    timer->start(5);
  }
  static void Ok(TResizeDlg& dialog) { dialog.OkButton->click(); }

  int shown = 0;
};

TEST_F(PictureCommands, TurnsGiveThePictureBackAndTheInformationFollows) {
  TMDIChild* document = Import(5, 3);
  const TPicture original = document->Composition->SourcePicture();
  Run(document, Command::TurnRight);
  EXPECT_EQ(document->Composition->Width(), 3);
  EXPECT_TRUE(document->Composition->Modified());
  EXPECT_EQ(frame->imagesizepanel->text().toStdString(), "[3],[5]");
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[0.5],[0.9]");
  EXPECT_EQ(document->image1->Picture().width(), 3);
  EXPECT_FALSE(document->Composition->SourcePicture() == original);
  Run(document, Command::TurnLeft);
  EXPECT_TRUE(document->Composition->SourcePicture() == original);
  for (int i = 0; i < 4; ++i) Run(document, Command::TurnRight);
  EXPECT_TRUE(document->Composition->SourcePicture() == original);
  document->Composition->SetModified(false);
}

TEST_F(PictureCommands, ResizeThroughItsDialog) {
  TMDIChild* document = Import(40, 30);
  AnswerResize([](TResizeDlg& dialog) { dialog.CancelButton->click(); });
  Run(document, Command::Resize);
  EXPECT_EQ(document->Composition->Width(), 40);
  EXPECT_FALSE(document->Composition->Modified());

  AnswerResize([](TResizeDlg& dialog) {
    EXPECT_EQ(dialog.WidthEdit->Text(), "40");
    dialog.WidthEdit->SetText("14");
    Ok(dialog);
  });
  Run(document, Command::Resize);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(document->Composition->Height(), 11);  // 10.5 rounds up
  EXPECT_TRUE(document->Composition->Modified());
  EXPECT_EQ(frame->imagesizepanel->text().toStdString(), "[14],[11]");
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[2.5],[2.0]");
  EXPECT_EQ(document->image1->Picture().width(), 14);  // updated with force
  document->Composition->SetModified(false);

  // Refused while busy: no dialog at all.
  document->SetWork(DocWork::Reporting);
  document->ResizepictureClick();
  EXPECT_EQ(shown, 2);
  document->SetWork(DocWork::Idle);
}

TEST_F(PictureCommands, ALargeImportAsksWhetherToResize) {
  ScriptedMessages messages;
  messages.Answer(false);
  TMDIChild* document = Import(501, 10);
  EXPECT_EQ(messages.shown, std::vector<std::string>{
                                "Confirm: The picture is 501 \u00D7 10 stitches (90.9 \u00D7 1.8 "
                                "cm on 14 count). Resize it ?"});
  EXPECT_EQ(document->image1->Picture().width(), 501);

  // Yes: the dialog opens at 200 stitches wide, the height in proportion.
  messages.Answer(true);
  AnswerResize([](TResizeDlg& dialog) {
    EXPECT_EQ(dialog.HeightEdit->Text(), "4");
    EXPECT_EQ(dialog.WidthEdit->Text(), "200");
    Ok(dialog);
  });
  Import(501, 10);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(document->Composition->Width(), 200);
  EXPECT_EQ(document->Composition->Height(), 4);
  EXPECT_EQ(document->image1->Picture().width(), 200);
}

}  // namespace
