// The frame and document windows in everyday use: import refusals, proposed file names,
// import with no document, the first start, window sizes and the information line.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <functional>

#include "app/app_settings.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "composition/bitmap_file.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

class EverydayUse : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1); }

  std::unique_ptr<TMainForm> Start(bool with_settings = true) {
    if (with_settings)
      WriteFileBytes(config.File("PUNTEL.INI"), "[PUNTEL32]\nCompopath=" + files.Path() +
                                                    "\nImagepath=" + files.Path() +
                                                    "\nColorPath=" + files.Path() + "\n");
    auto frame = std::make_unique<TMainForm>();
    frame->resize(1200, 900);
    frame->show();
    return frame;
  }

  QString Picture(const std::string& name, uint16_t width, uint16_t height) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                   MakeColor(uint8_t(x * 7), uint8_t(y * 5), uint8_t(x + y)));
    WriteBitmapFile(files.File(name), block, width, height);
    return QString::fromStdString(files.File(name));
  }

  // Imports through the command, as the toolbar button does.
  TMDIChild* Import(TMainForm& frame, const QString& picture) {
    dialogs.AnswerOpen({picture});
    frame.Action(Command::Import)->trigger();
    TMDIChild* document = frame.ActiveDocument();
    EXPECT_TRUE(document);
    if (!document) return nullptr;
    EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
    document->Composition->SetModified(false);
    return document;
  }

  TempFolder config, files;
  ScriptedFileDialogs dialogs;
};

TEST_F(EverydayUse, AnImportRefusalIsSaidOnceWhenItSaysAll) {
  auto frame = Start();
  const std::string good = Picture("good.bmp", 4, 4).toStdString();
  std::string eight_bits = ReadFileBytes(good);
  eight_bits[28] = 8;  // bits per pixel
  WriteFileBytes(files.File("eight.bmp"), eight_bits);
  WriteFileBytes(files.File("cut.bmp"), ReadFileBytes(good).substr(0, 30));
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"eight.bmp", {"Error: Not true color image !"}},
      {"cut.bmp", {"Error: Invalid bitmap file !", "Error: Could not load file !"}},
  };
  for (const auto& [file, shown] : cases) {
    ScriptedMessages messages;
    TMDIChild* document = Import(*frame, QString::fromStdString(files.File(file)));
    EXPECT_EQ(messages.shown, shown) << file;
    EXPECT_FALSE(document->Composition->HasPicture()) << file;
  }
}

TEST_F(EverydayUse, ExportAndColorsSaveNeverWriteOverTheComposition) {
  auto frame = Start();
  TMDIChild* document = Import(*frame, Picture("rose.bmp", 6, 5));
  ASSERT_EQ(document->FileName, files.File("rose.dmc"));
  const std::pair<std::function<void()>, const char*> commands[] = {
      {[&] { document->Export1Click(); }, "rose.bmp"},
      {[&] { document->Save2Click(); }, "rose.clr"},
  };
  for (const auto& [command, proposed] : commands) {
    // Not saved yet, so not there: named otherwise, through a link of the folder.
    for (const std::string& chosen : {files.File("rose.dmc"), files.Path() + "./x/../rose.dmc"}) {
      ScriptedMessages messages;
      dialogs.AnswerSave(QString::fromStdString(chosen));
      command();
      EXPECT_EQ(dialogs.requests.back().fileName.toStdString(), proposed);
      EXPECT_EQ(
          messages.shown,
          std::vector<std::string>{"Error: This is the composition file: choose another name !"})
          << chosen;
      EXPECT_FALSE(FileExists(files.File("rose.dmc"))) << chosen;
    }
    // Another name is written.
    dialogs.AnswerSave(QString::fromStdString(files.File(proposed)));
    command();
    EXPECT_TRUE(FileExists(files.File(proposed))) << proposed;
  }
  // Once saved, the file stays as it was.
  document->Save1Click();
  const std::string saved = ReadFileBytes(files.File("rose.dmc"));
  ScriptedMessages messages;
  dialogs.AnswerSave(QString::fromStdString(files.File("rose.dmc")));
  document->Export1Click();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(ReadFileBytes(files.File("rose.dmc")), saved);
}

TEST_F(EverydayUse, ImportWithNoDocumentMakesOne) {
  auto frame = Start();
  ASSERT_TRUE(frame->Documents().empty());
  QAction* import = frame->Action(Command::Import);
  EXPECT_TRUE(import->isEnabled());
  // The frame's own File menu has it under Images.
  QMenu* images = nullptr;
  for (QAction* entry : frame->FileMenu->actions())
    if (entry->menu() && entry->text() == "&Images") images = entry->menu();
  ASSERT_TRUE(images);
  EXPECT_TRUE(images->actions().contains(import));
  EXPECT_EQ(import->shortcut(), QKeySequence("Ctrl+I"));

  TMDIChild* document = Import(*frame, Picture("first.bmp", 8, 6));
  ASSERT_EQ(frame->Documents().size(), 1);
  EXPECT_EQ(document->Caption().toStdString(), "first.dmc");
  EXPECT_EQ(document->Composition->Width(), 8);

  // A cancelled import keeps the new, empty document, as New would.
  frame->mdi->closeAllSubWindows();
  QCoreApplication::processEvents();
  ASSERT_TRUE(frame->Documents().empty());
  import->trigger();
  ASSERT_EQ(frame->Documents().size(), 1);
  EXPECT_FALSE(frame->ActiveDocument()->Composition->HasPicture());
  EXPECT_EQ(frame->ActiveDocument()->Caption().toStdString(), "New Composition.dmc");
}

TEST_F(EverydayUse, TheFirstStartSaysHowToBegin) {
  {
    auto frame = Start(false);
    EXPECT_EQ(frame->msgpanel->text().toStdString(),
              "Import a picture to begin (File > Images > Import, Ctrl+I).");
  }
  auto frame = Start(true);
  EXPECT_TRUE(frame->msgpanel->text().isEmpty());
}

TEST_F(EverydayUse, WindowsTakeTwoThirdsAndGrowToTheirPicture) {
  auto frame = Start();
  Settings().FinInWindow = true;
  frame->NewDocument();
  TMDIChild* document = frame->ActiveDocument();
  auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget());
  const QSize area = frame->mdi->viewport()->size();
  EXPECT_EQ(sub->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3));

  // Around its picture, within the area; never under the smallest size.
  const int status = document->statuspanel->height();
  struct Case {
    uint16_t width, height;
    QSize client;
  };
  const QSize decoration = sub->size() - document->size();
  const QSize most = area - QSize(sub->x(), sub->y()) - decoration;
  const Case cases[] = {
      {400, 300, QSize(401, 300 + status)},
      {20, 10, TMDIChild::kMinimumSize},
      {490, 480, QSize(491, 480 + status).boundedTo(most)},
  };
  for (const Case& c : cases) {
    Import(*frame, Picture("g.bmp", c.width, c.height));
    EXPECT_EQ(document->size(), c.client) << c.width;
  }
  // A long progress text keeps the window's size and shows more than a few letters.
  sub->resize(TMDIChild::kMinimumSize + decoration);
  document->ShowProgress(std::string(200, 'x'), 10);
  QCoreApplication::processEvents();
  EXPECT_EQ(document->size(), TMDIChild::kMinimumSize);
  EXPECT_GT(document->msgpanel->width(), TMDIChild::kMinimumSize.width() / 2);
  EXPECT_EQ(document->msgpanel->text().size(), 200);
  document->ShowProgress("", 0);
}

TEST_F(EverydayUse, TheInformationLineFollowsItsDocument) {
  auto frame = Start();
  Settings().Unit = 0;
  TMDIChild* document = Import(*frame, Picture("i.bmp", 28, 14));
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[5.1],[2.5]");  // 14 count
  frame->CottonUp();
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[4.0],[2.0]");  // 18
  frame->CottonDown();
  frame->CottonDown();
  EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), "[6.5],[3.2]");  // 11

  // Whatever work changed the palette, the counts show once it ends.
  const QString before = frame->numcolorpanel->text();
  document->SetWork(DocWork::Searching);
  TpunPal fewer;
  fewer.Assign(document->Composition->Palette());
  while (fewer.Count() > 3) fewer.Delete(fewer.Count() - 1);
  document->Composition->Palette().Assign(fewer);
  EXPECT_EQ(frame->numcolorpanel->text(), before);
  document->SetWork(DocWork::Idle);
  EXPECT_EQ(frame->numcolorpanel->text().toStdString(), "[3],[3]");
  document->Composition->SetModified(false);
}

}  // namespace
