#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>
#include <array>
#include <string>

#include "app/app_settings.h"
#include "app/ui/commands.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/spin_button.h"
#include "composition/bitmap_file.h"
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
    EXPECT_TRUE(
        WaitFor([&] { return !document->Working() && !document->image1->Picture().isNull(); }));
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
    // A new document opens at its own size, not the sub-window's default: never under
    // 261 x 309, however small the frame.
    frame->NewDocument();
    ASSERT_NE(frame->ActiveDocument(), nullptr);
    EXPECT_EQ(frame->ActiveDocument()->size().expandedTo(QSize(261, 309)),
              frame->ActiveDocument()->size());
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
  ASSERT_TRUE(WaitFor([&] { return !opened->Working() && !opened->image1->Picture().isNull(); }));
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
  document->SetWork(DocWork::Reporting);
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
  document->SetWork(DocWork::Idle);
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
  ASSERT_TRUE(WaitFor([&] { return !frame->Documents()[0]->Working(); }));
}

// Each column one state of the active document; each row a command: 1 enabled, 0 not.
TEST_F(MainWindow, EveryCommandFollowsTheActiveDocumentsState) {
  enum Column { kIdle, kBusy, kSearching, kNoPicture, kNoDocument, kBusyFlagOff, kColumns };
  // Two rows a line, so that a new command adds a line.
  // clang-format off
  const std::array<std::pair<Command, const char*>, kCommandCount> expected = {{
      {Command::New, "111111"},          {Command::Open, "111111"},
      {Command::Save, "111001"},         {Command::SaveAs, "111101"},
      {Command::Import, "100111"},       {Command::Export, "111001"},
      {Command::LoadColors, "100001"},   {Command::SaveColors, "111101"},
      {Command::Notes, "111001"},        {Command::Preferences, "111111"},
      {Command::Print, "100001"},        {Command::Exit, "100111"},
      {Command::ColorTable, "100001"},   {Command::Rotate, "100001"},
      {Command::ColorSearch, "100001"},  {Command::CancelSearch, "001000"},
      {Command::CreateDesign, "100001"}, {Command::Remap, "100101"},
      {Command::BusyOff, "011000"},      {Command::StitchPattern, "100001"},
      {Command::FlossReport, "100001"},  {Command::ColorUsage, "100001"},
      {Command::CharTable, "111111"},    {Command::Viewer, "111111"},
      {Command::DesignEditor, "111111"}, {Command::TempPalette, "111111"},
      {Command::AutoRemap, "111111"},    {Command::FitInWindow, "111111"},
      {Command::Cascade, "111111"},      {Command::Tile, "111111"},
      {Command::Arrange, "111111"},      {Command::MinimizeAll, "111111"},
      {Command::HelpContents, "111111"}, {Command::About, "111111"},
      {Command::TurnRight, "100001"},    {Command::TurnLeft, "100001"},
      {Command::Resize, "100001"},       {Command::ExportOxs, "100001"},
      {Command::UndoPalette, "000000"},  // nothing to take back yet
      {Command::PerceptualMatch, "100111"},  // it remaps every document: none may be busy
  }};
  // clang-format on
  auto frame = Start();
  Settings().AutoRemap = false;  // the picture stays unmapped: "Remap Picture" has work
  TMDIChild* document = Import(*frame, Picture("h.bmp", 6, 4));
  const auto expect_column = [&](Column column, const char* state) {
    QCoreApplication::processEvents();  // a closed window leaves the list of documents
    for (const auto& [command, row] : expected) {
      QAction* action = frame->Action(command);
      EXPECT_EQ(action->isEnabled(), row[column] == '1') << state << ": " << InfoOf(command).name;
      // The toolbar button is that action.
      if (const char* name = InfoOf(command).button) {
        auto* button = frame->findChild<QToolButton*>(name);
        ASSERT_TRUE(button) << name;
        EXPECT_EQ(button->defaultAction(), action) << name;
        EXPECT_EQ(button->isEnabled(), action->isEnabled()) << name;
      }
    }
    EXPECT_EQ(frame->ZoomSpin->isEnabled(), column != kNoPicture && column != kNoDocument) << state;
  };
  // The document's menu items are the frame's actions.
  EXPECT_EQ(document->Save1, frame->Action(Command::Save));
  EXPECT_EQ(document->FileExitItem, frame->FileExitItem);
  EXPECT_EQ(document->RemapPict->objectName(), "RemapPict");

  expect_column(kIdle, "idle");
  document->SetWork(DocWork::Reporting);
  expect_column(kBusy, "busy");
  {
    ScriptedMessages messages;
    messages.Answer(true);
    document->BUSYflagoffClick();
  }
  expect_column(kBusyFlagOff, "busy flag off");
  document->SetWork(DocWork::Searching);
  expect_column(kSearching, "searching");
  document->SetWork(DocWork::Idle);
  document->Composition->SetModified(false);
  frame->mdi->activeSubWindow()->close();
  frame->NewDocument();
  expect_column(kNoPicture, "no picture");
  frame->mdi->activeSubWindow()->close();
  expect_column(kNoDocument, "no document");
}

TEST_F(MainWindow, AModelErrorInACommandIsShownOnceAndTheWindowStaysIdle) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("i.bmp", 4, 4));
  document->FileName = files.File("no/such/folder/i.dmc");
  ScriptedMessages messages;
  frame->Action(Command::Save)->trigger();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Error: ", 0), 0u) << messages.shown[0];
  EXPECT_FALSE(document->Working());
  EXPECT_EQ(document->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(frame->Action(Command::Import)->isEnabled());
  document->Composition->SetModified(false);
}

TEST_F(MainWindow, SavingOverAFileAnotherProgramChangedAsksFirst) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("g.bmp", 4, 4));
  const std::string path = files.File("g.dmc");
  document->FileName = path;
  ASSERT_TRUE(document->Save1Click());  // nothing there yet: no question
  const std::string saved = ReadFileBytes(path);
  const std::string question =
      "Confirm: \"" + path + "\" was changed by another program. Overwrite it ?";
  struct Case {
    bool changed, answer, written;
  };
  for (const Case& c :
       {Case{false, false, true}, Case{true, false, false}, Case{true, true, true}}) {
    if (c.changed) WriteFileBytes(path, "another program's bytes");
    ScriptedMessages messages;
    if (c.changed) messages.Answer(c.answer);
    EXPECT_EQ(document->Save1Click(), c.written);
    EXPECT_EQ(messages.shown,
              c.changed ? std::vector<std::string>{question} : std::vector<std::string>{});
    EXPECT_EQ(ReadFileBytes(path) == saved, c.written);
  }
  document->Composition->SetModified(false);
}

TEST_F(MainWindow, ACompositionWhosePaletteFailedOpensRecoveredAndNeverSavesOverItsFile) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("j.bmp", 4, 2));
  document->Composition->Palette().Delete(0);
  const std::string path = files.File("j.dmc");
  document->FileName = path;
  document->Save1Click();
  // The palette image, after the header and the pixels, made unreadable.
  std::string damaged = ReadFileBytes(path);
  const size_t image_at = 287 + PictureBytes(4, 2);
  damaged.replace(image_at, std::string::npos, std::string(damaged.size() - image_at, 'z'));
  WriteFileBytes(path, damaged);
  frame->mdi->closeAllSubWindows();

  ScriptedMessages messages;
  dialogs.AnswerOpen({QString::fromStdString(path)});
  frame->OpenCompositions();
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Error loading composition colors !"});
  TMDIChild* opened = frame->ActiveDocument();
  ASSERT_TRUE(opened);
  ASSERT_TRUE(WaitFor([&] { return !opened->Working(); }));
  EXPECT_EQ(opened->Caption().toStdString(), "j (recovered).dmc");
  EXPECT_TRUE(opened->Composition->Modified());
  EXPECT_EQ(opened->Composition->Palette().Count(), frame->MainPalette.Count());
  // Save asks for a name; given up, nothing is written.
  const size_t asked = dialogs.requests.size();
  EXPECT_FALSE(opened->Save1Click());
  EXPECT_EQ(dialogs.requests.size(), asked + 1);
  EXPECT_EQ(dialogs.requests.back().fileName.toStdString(), "j (recovered).dmc");
  EXPECT_EQ(ReadFileBytes(path), damaged);
  opened->Composition->SetModified(false);
}

#include <unistd.h>
#include <QApplication>
#include <QTimer>

#include "app/ui/prefer_dlg.h"

// A palette path that cannot even be checked (a name part too long, links in a loop) is a
// missing palette: the usual message and the Preferences dialog, never an abort.
TEST_F(MainWindow, PalettePathsThatCannotBeCheckedAskForThePalette) {
  ASSERT_EQ(symlink("loop", config.File("loop").c_str()), 0);
  const std::string good = PUNTEL_RUNTIME_DIR "/dmc25.clr";
  for (const std::string& bad : {files.File(std::string(300, 'p') + ".clr"), config.File("loop"),
                                 config.File("loop/dmc25.clr")}) {
    WriteFileBytes(config.File("PUNTEL.INI"), "[PUNTEL32]\nPalFile=" + bad + "\n");
    ScriptedMessages messages;
    int asked = 0;
    QTimer answer;  // the user picks the palette in the dialog
    QObject::connect(&answer, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<TPreferDlg*>(QApplication::activeModalWidget())) {
        ++asked;
        Settings().PalFile = good;
        dialog->reject();
      }
    });
    answer.start(10);
    auto frame = Start();
    EXPECT_EQ(asked, 1) << bad;
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0],
              "Error: DMC colors definitions file not found !\r\nPlease select the palette "
              "file in the\r\nPreferences dialog box.");
    EXPECT_EQ(frame->MainPalette.Count(), 454) << bad;
  }
  // A settings file that is a link to a device reads as none: every default, no message.
  ASSERT_EQ(unlink(config.File("PUNTEL.INI").c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", config.File("PUNTEL.INI").c_str()), 0);
  ScriptedMessages messages;
  auto frame = Start(false);
  EXPECT_EQ(messages.shown, std::vector<std::string>{});
  EXPECT_EQ(frame->MainPalette.Count(), 454);
  EXPECT_EQ(Settings().CellSize, 18);
}
