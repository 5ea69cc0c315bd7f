#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

#include "app/app_settings.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/spin_button.h"
#include "composition/bitmap_file.h"
#include "composition/ui/update_picture_thread.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

// A frame started on a configuration folder of its own.
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1); }

  // Compositions, pictures and colors go to the test's own folder.
  std::unique_ptr<TMainForm> Start(bool with_settings = true) {
    if (with_settings && !FileExists(config.File("PUNTEL.INI")))
      WriteFileBytes(config.File("PUNTEL.INI"), "[PUNTEL32]\nCompopath=" + files.Path() +
                                                    "\nImagepath=" + files.Path() +
                                                    "\nColorPath=" + files.Path() + "\n");
    auto frame = std::make_unique<TMainForm>();
    frame->show();
    return frame;
  }

  // A 24-bit bitmap of width x height pixels in shades that are no floss colors.
  QString Picture(const std::string& name, uint16_t width, uint16_t height) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                   MakeColor(uint8_t(x * 37 + 5), uint8_t(y * 53 + 3), uint8_t((x + y) * 11 + 1)));
    WriteBitmapFile(files.File(name), block, width, height);
    return QString::fromStdString(files.File(name));
  }

  // Imports a picture into the active document and waits until it is shown mapped.
  TMDIChild* Import(TMainForm& frame, const QString& picture) {
    TMDIChild* document = frame.ActiveDocument();
    if (!document) {
      frame.NewDocument();
      document = frame.ActiveDocument();
    }
    dialogs.AnswerOpen({picture});
    document->Import1Click();
    EXPECT_TRUE(WaitFor([&] {
      return !document->Busy && !document->image1->Picture().isNull() &&
             TupdatePictureThread::Instances() == 0;
    }));
    return document;
  }

  TempFolder config, files;
  ScriptedFileDialogs dialogs;
};

}  // namespace

TEST_F(MainWindow, FirstStartWithoutSettingsFileOrSymbolTable) {
  // No PUNTEL.INI: every default; the palette is the program folder's dmc25.clr.
  {
    ScriptedMessages messages;
    auto frame = Start(false);
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
    EXPECT_EQ(frame->MainPalette.Count(), 454);
    EXPECT_GT(frame->SymbolTable.Count(), 59);
    EXPECT_EQ(frame->windowTitle().toStdString(), "PunTel 2.0a");
    EXPECT_EQ(Settings().CellSize, 18);
  }
  // A program folder without carac.tbl: the message once, an empty table, start-up goes on.
  WriteFileBytes(config.File("PUNTEL.INI"), "[PUNTEL32]\nprogpath=" + files.Path() +
                                                "\nPalFile=" PUNTEL_RUNTIME_DIR "/dmc25.clr\n");
  ScriptedMessages messages;
  auto frame = Start(false);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Error: Character Symbol table file :\r\n\"" + files.Path() +
                "carac.tbl\"\r\nNot found !\r\n\r\nIf this is the first time you "
                "run Puntel,\r\nOpen the \"Character Table\" dialog and\r\n"
                "define the symbols you want to use.");
  EXPECT_EQ(frame->SymbolTable.Count(), 0);
  EXPECT_EQ(frame->MainPalette.Count(), 454);
}

TEST_F(MainWindow, ImportMapsThePictureOntoTheFloss) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("rose.bmp", 30, 20));
  ASSERT_TRUE(document);
  EXPECT_EQ(document->Caption().toStdString(), "rose.dmc");
  EXPECT_EQ(document->FileName, Settings().Compopath + "rose.dmc");
  const QImage& shown = document->image1->Picture();
  ASSERT_EQ(shown.width(), 30);
  ASSERT_EQ(shown.height(), 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const QRgb pixel = shown.pixel(x, y);
      const TColor color =
          MakeColor(uint8_t(qRed(pixel)), uint8_t(qGreen(pixel)), uint8_t(qBlue(pixel)));
      const TColor source =
          MakeColor(uint8_t(x * 37 + 5), uint8_t(y * 53 + 3), uint8_t((x + y) * 11 + 1));
      ASSERT_EQ(color, frame->MainPalette.GetClr(frame->MainPalette.NearestClr(source)))
          << x << "," << y;
    }
  EXPECT_EQ(frame->imagesizepanel->text().toStdString(), "[30],[20]");
  EXPECT_EQ(frame->windowTitle().toStdString(), "PunTel 2.0a [rose.dmc]");
}

TEST_F(MainWindow, SavedCompositionOpensAgainTheSame) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("tulip.bmp", 9, 7));
  document->Composition->SetNotes("a tulip");
  document->FileName.clear();  // a new name: Save goes through Save As
  dialogs.AnswerSave(QString::fromStdString(files.File("tulip.dmc")));
  document->Save1Click();
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_EQ(document->Caption().toStdString(), "tulip.dmc");
  const std::string saved = ReadFileBytes(files.File("tulip.dmc"));

  dialogs.AnswerOpen({QString::fromStdString(files.File("tulip.dmc"))});
  frame->OpenCompositions();
  TMDIChild* opened = frame->ActiveDocument();
  ASSERT_NE(opened, document);
  ASSERT_TRUE(WaitFor([&] {
    return !opened->Busy && !opened->image1->Picture().isNull() &&
           TupdatePictureThread::Instances() == 0;
  }));
  EXPECT_EQ(opened->Composition->Notes(), "a tulip");
  EXPECT_EQ(opened->Composition->SourcePicture().Block(),
            document->Composition->SourcePicture().Block());
  EXPECT_EQ(opened->image1->Picture(), document->image1->Picture());
  opened->FileName = files.File("again.dmc");
  opened->Save1Click();
  EXPECT_EQ(ReadFileBytes(files.File("again.dmc")), saved);
}

TEST_F(MainWindow, ClosingAsksAboutUnsavedChanges) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("a.bmp", 5, 5));
  document->FileName = files.File("a.dmc");
  {
    ScriptedMessages messages;
    messages.Answer(true);
    frame->mdi->activeSubWindow()->close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Confirm: Save changes to :\"a.dmc\" ?");
  }
  EXPECT_TRUE(FileExists(files.File("a.dmc")));

  document = Import(*frame, Picture("b.bmp", 5, 5));
  document->FileName = files.File("b.dmc");
  {
    ScriptedMessages messages;
    messages.Answer(false);
    frame->mdi->activeSubWindow()->close();
    EXPECT_EQ(messages.shown.size(), 1u);
  }
  EXPECT_FALSE(FileExists(files.File("b.dmc")));
  EXPECT_TRUE(frame->imagesizepanel->text().isEmpty());  // the last window took its information

  // A save that fails, or a Save As given up, keeps the window and its composition.
  document = Import(*frame, Picture("c.bmp", 5, 5));
  document->FileName = files.File("no/such/folder/c.dmc");
  {
    ScriptedMessages messages;
    messages.Answer(true);
    EXPECT_FALSE(frame->mdi->activeSubWindow()->close());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].rfind("Error: ", 0), 0u) << messages.shown[1];
  }
  document->FileName.clear();
  {
    ScriptedMessages messages;
    messages.Answer(true);
    dialogs.AnswerSave({});
    EXPECT_FALSE(frame->mdi->activeSubWindow()->close());
  }
  ASSERT_TRUE(document->Composition && document->Composition->HasPicture());
  document->Composition->SetModified(false);
  frame->mdi->activeSubWindow()->close();

  frame->NewDocument();  // nothing modified with a picture: no question
  ScriptedMessages messages;
  frame->mdi->activeSubWindow()->close();
  EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

TEST_F(MainWindow, ImportNamesTheCompositionAfterThePictureFileOnly) {
  auto frame = Start();
  QDir(QString::fromStdString(files.Path())).mkdir("my.photos");
  const QString picture = Picture("my.photos/rose", 4, 4);  // a dotted folder, no extension
  TMDIChild* document = Import(*frame, picture);
  EXPECT_EQ(document->Caption().toStdString(), "rose.dmc");
  EXPECT_EQ(document->FileName, Settings().Compopath + "rose.dmc");
}

TEST_F(MainWindow, BusyDocumentBarsExitAndClosing) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("c.bmp", 5, 5));
  document->SetBusy(true);
  EXPECT_FALSE(frame->BtnExit->isEnabled());
  EXPECT_FALSE(frame->CloseCommandEnabled());
  EXPECT_FALSE(document->FileExitItem->isEnabled());
  EXPECT_TRUE(document->BUSYflagoff->isEnabled());
  {
    ScriptedMessages messages;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"Error: Composition is busy, cannot close !"});
    EXPECT_FALSE(frame->mdi->activeSubWindow()->close());
    EXPECT_EQ(messages.shown.back(), "Error: Cannot close, \"c.dmc\" is busy !");
  }
  EXPECT_TRUE(frame->isVisible());
  document->SetBusy(false);
  EXPECT_TRUE(frame->BtnExit->isEnabled());
  EXPECT_TRUE(frame->CloseCommandEnabled());
  EXPECT_TRUE(document->FileExitItem->isEnabled());
  document->Composition->SetModified(false);
}

TEST_F(MainWindow, ZoomAndCottonStopAtTheirLimits) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("d.bmp", 10, 8));
  for (int i = 0; i < 12; ++i) frame->ZoomUp();
  EXPECT_EQ(frame->ZoomPanel->text().toStdString(), "11:1");
  EXPECT_EQ(document->image1->size(), QSize(110, 88));
  for (int i = 0; i < 12; ++i) frame->ZoomDown();
  EXPECT_EQ(frame->ZoomPanel->text().toStdString(), "1:1");
  for (int i = 0; i < 5; ++i) frame->CottonUp();
  EXPECT_EQ(frame->CottonPanel->text().toStdString(), "22");
  for (int i = 0; i < 5; ++i) frame->CottonDown();
  EXPECT_EQ(frame->CottonPanel->text().toStdString(), "11");
  document->Composition->SetModified(false);

  // With no document the spins do nothing.
  frame->mdi->closeAllSubWindows();
  frame->ZoomUp();
  frame->CottonUp();
}

TEST_F(MainWindow, EmbroiderySizeInEveryUnit) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("e.bmp", 100, 14));
  const char* expected[] = {"[18.1],[2.5]", "[181.4],[25.4]", "[7.1],[1.0]", "[100.0],[14.0]"};
  for (uint8_t unit = 0; unit < 4; ++unit) {
    Settings().Unit = unit;
    frame->ShowDocumentInfo(document);
    EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), expected[unit]) << int(unit);
  }
  document->Composition->SetModified(false);
}

TEST_F(MainWindow, OpeningStopsAtAFileThatIsNoComposition) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("f.bmp", 4, 4));
  document->FileName = files.File("one.dmc");
  document->Save1Click();
  document->Composition->SaveToFile(files.File("three.dmc"));
  WriteFileBytes(files.File("two.dmc"), "this is no composition");
  frame->mdi->closeAllSubWindows();
  ScriptedMessages messages;
  dialogs.AnswerOpen({QString::fromStdString(files.File("one.dmc")),
                      QString::fromStdString(files.File("two.dmc")),
                      QString::fromStdString(files.File("three.dmc"))});
  frame->OpenCompositions();
  ASSERT_EQ(frame->Documents().size(), 1);
  EXPECT_EQ(frame->Documents()[0]->Caption().toStdString(), "one.dmc");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Invalid composition file !"});
  ASSERT_TRUE(WaitFor([&] { return TupdatePictureThread::Instances() == 0; }));
}
