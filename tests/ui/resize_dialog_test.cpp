// The resize dialog on its own, and the resize and quarter turns through the commands.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/app_settings.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/resize_dlg.h"
#include "app/ui/spin_edit.h"
#include "composition/bitmap_file.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

TEST(ResizeDialog, OneFieldFollowsTheOtherWhileProportionsAreKept) {
  TResizeDlg dialog(300, 200, 14, 0);
  EXPECT_EQ(dialog.WidthEdit->Text(), "300");
  EXPECT_EQ(dialog.HeightEdit->Text(), "200");
  EXPECT_TRUE(dialog.KeepProportions->isChecked());
  struct Step {
    SpinEdit* field;
    const char* text;
    const char* width;
    const char* height;
  };
  const Step steps[] = {
      {dialog.WidthEdit, "150", "150", "100"},
      {dialog.HeightEdit, "51", "77", "51"},  // 76.5 rounds up
      {dialog.WidthEdit, "1", "1", "1"},      // never under one stitch
      {dialog.WidthEdit, "", "", "1"},        // what cannot be read changes nothing else
      {dialog.WidthEdit, "65535", "65535", "43690"},
  };
  for (const Step& step : steps) {
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
  dialog.SetWidth(200);
  EXPECT_EQ(dialog.NewWidth(), 200);
  EXPECT_EQ(dialog.NewHeight(), 133);
}

TEST(ResizeDialog, FinishedSizeInTheSettingsUnit) {
  struct Case {
    uint16_t fabric;
    uint8_t unit;
    const char* text;
  };
  const Case cases[] = {
      {14, 0, "Finished size : 25.4 \u00D7 12.7 cm on 14 count"},
      {14, 1, "Finished size : 254.0 \u00D7 127.0 mm on 14 count"},
      {14, 2, "Finished size : 10.0 \u00D7 5.0 inches on 14 count"},
      {14, 3, "Finished size : 25.4 \u00D7 12.7 cm on 14 count"},  // the fields count stitches
      {11, 0, "Finished size : 32.3 \u00D7 16.2 cm on 11 count"},
  };
  for (const Case& c : cases) {
    TResizeDlg dialog(140, 70, c.fabric, c.unit);
    EXPECT_EQ(dialog.FinishedSize->text().toStdString(), c.text) << int(c.unit);
  }
  // It follows the fields as they are typed in.
  TResizeDlg dialog(140, 70, 14, 0);
  dialog.WidthEdit->SetText("28");
  EXPECT_EQ(dialog.FinishedSize->text().toStdString(),
            "Finished size : 5.1 \u00D7 2.5 cm on 14 count");
  dialog.WidthEdit->SetText("0");
  EXPECT_EQ(dialog.FinishedSize->text().toStdString(), "Finished size : ?");
}

TEST(ResizeDialog, OkRefusesAWrongFieldWithTheFocusOnIt) {
  for (const char* bad : {"", "0", "65536", "12a", "-5"}) {
    for (bool width : {true, false}) {
      TResizeDlg dialog(40, 30, 14, 0);
      dialog.show();
      QApplication::setActiveWindow(&dialog);
      dialog.KeepProportions->setChecked(false);
      SpinEdit* field = width ? dialog.WidthEdit : dialog.HeightEdit;
      field->SetText(bad);
      ScriptedMessages messages;
      dialog.OkButton->click();
      EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Invalid value ! (1-65535)"})
          << bad;
      EXPECT_TRUE(dialog.isVisible()) << bad;
      EXPECT_EQ(dialog.focusWidget(), field->Edit()) << bad << " " << width;
    }
  }
  TResizeDlg dialog(40, 30, 14, 0);
  dialog.show();
  dialog.OkButton->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// A frame with one document holding a picture whose every pixel is different.
class PictureCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    WriteFileBytes(config.File("PUNTEL.INI"),
                   "[PUNTEL32]\nCompopath=" + files.Path() + "\nImagepath=" + files.Path() + "\n");
    frame = std::make_unique<TMainForm>();
    frame->show();
  }

  TMDIChild* Import(uint16_t width, uint16_t height) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                   MakeColor(uint8_t(x * 29 + y), uint8_t(y * 41), uint8_t(x + y * 7)));
    WriteBitmapFile(files.File("p.bmp"), block, width, height);
    frame->NewDocument();
    TMDIChild* document = frame->ActiveDocument();
    dialogs.AnswerOpen({QString::fromStdString(files.File("p.bmp"))});
    document->Import1Click();
    EXPECT_TRUE(
        WaitFor([&] { return !document->Working() && document->Composition->HasPicture(); }));
    return document;
  }

  // Triggers `command` and waits for the document to be idle again.
  void Run(TMDIChild* document, Command command) {
    frame->Action(command)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  }

  // Answers the next resize dialog with `answer`; how many were shown.
  static void AnswerResize(const std::function<void(TResizeDlg&)>& answer, int& shown) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer, &shown] {
      if (auto* dialog = qobject_cast<TResizeDlg*>(QApplication::activeModalWidget())) {
        timer->stop();
        timer->deleteLater();
        ++shown;
        answer(*dialog);
      }
    });
    timer->start(5);
  }

  TempFolder config, files;
  ScriptedFileDialogs dialogs;
  std::unique_ptr<TMainForm> frame;
};

TEST_F(PictureCommands, TurnsGiveThePictureBackAndTheInformationFollows) {
  TMDIChild* document = Import(5, 3);
  const TPicture original = document->Composition->SourcePicture();
  document->Composition->SetModified(false);
  Run(document, Command::TurnRight);
  EXPECT_EQ(document->Composition->Width(), 3);
  EXPECT_EQ(document->Composition->Height(), 5);
  EXPECT_TRUE(document->Composition->Modified());
  EXPECT_EQ(frame->imagesizepanel->text().toStdString(), "[3],[5]");
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[0.5],[0.9]");
  ASSERT_TRUE(WaitFor([&] { return document->image1->Picture().width() == 3; }));
  EXPECT_FALSE(document->Composition->SourcePicture() == original);
  Run(document, Command::TurnLeft);
  EXPECT_TRUE(document->Composition->SourcePicture() == original);
  for (int i = 0; i < 4; ++i) Run(document, Command::TurnRight);
  EXPECT_TRUE(document->Composition->SourcePicture() == original);
  document->Composition->SetModified(false);
}

TEST_F(PictureCommands, ResizeThroughItsDialog) {
  TMDIChild* document = Import(40, 30);
  document->Composition->SetModified(false);
  int shown = 0;
  // Cancel changes nothing.
  AnswerResize([](TResizeDlg& dialog) { dialog.CancelButton->click(); }, shown);
  Run(document, Command::Resize);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(document->Composition->Width(), 40);
  EXPECT_FALSE(document->Composition->Modified());

  AnswerResize(
      [](TResizeDlg& dialog) {
        EXPECT_EQ(dialog.WidthEdit->Text(), "40");
        dialog.WidthEdit->SetText("14");
        dialog.OkButton->click();
      },
      shown);
  Run(document, Command::Resize);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(document->Composition->Width(), 14);
  EXPECT_EQ(document->Composition->Height(), 11);  // 10.5 rounds up
  EXPECT_TRUE(document->Composition->Modified());
  EXPECT_EQ(frame->imagesizepanel->text().toStdString(), "[14],[11]");
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[2.5],[2.0]");
  // The picture update that follows maps and shows the new picture.
  ASSERT_TRUE(WaitFor([&] { return document->image1->Picture().width() == 14; }));
  document->Composition->SetModified(false);

  // Refused while busy: no dialog at all.
  document->SetWork(DocWork::Reporting);
  document->ResizepictureClick();
  QCoreApplication::processEvents();
  EXPECT_EQ(shown, 2);
  document->SetWork(DocWork::Idle);
}

TEST_F(PictureCommands, ALargeImportAsksWhetherToResize) {
  ScriptedMessages messages;
  messages.Answer(false);
  TMDIChild* document = Import(501, 10);
  document->Composition->SetModified(false);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Confirm: The picture is 501 \u00D7 10 stitches (90.9 \u00D7 1.8 cm on 14 count). "
            "Resize it ?");
  EXPECT_EQ(document->Composition->Width(), 501);
  ASSERT_TRUE(WaitFor([&] { return document->image1->Picture().width() == 501; }));

  // Yes: the dialog opens at 200 stitches wide, the height in proportion.
  messages.Answer(true);
  int shown = 0;
  AnswerResize(
      [](TResizeDlg& dialog) {
        EXPECT_EQ(dialog.WidthEdit->Text(), "200");
        EXPECT_EQ(dialog.HeightEdit->Text(), "4");
        dialog.OkButton->click();
      },
      shown);
  document = Import(501, 10);
  EXPECT_EQ(shown, 1);
  ASSERT_TRUE(
      WaitFor([&] { return !document->Working() && document->Composition->Width() == 200; }));
  EXPECT_EQ(document->Composition->Height(), 4);
  ASSERT_TRUE(WaitFor([&] { return document->image1->Picture().width() == 200; }));
  EXPECT_EQ(messages.shown.size(), 2u);
  document->Composition->SetModified(false);
}

}  // namespace
