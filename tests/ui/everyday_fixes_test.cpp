// The windows in everyday use: import refusals, proposed file names, import with no
// document, the first start, window sizes and the information line.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <functional>

#include "app/app_settings.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

using EverydayUse = DocumentFixture;

TEST_F(EverydayUse, AnImportRefusalIsSaidOnceWhenItSaysAll) {
  Start();
  const std::string good = ReadFileBytes(Picture("good.bmp", 4, 4).toStdString());
  std::string eight_bits = good;
  eight_bits[28] = 8;  // bits per pixel
  WriteFileBytes(files.File("eight.bmp"), eight_bits);
  WriteFileBytes(files.File("cut.bmp"), good.substr(0, 30));
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"eight.bmp", {"Error: Not true color image !"}},
      {"cut.bmp", {"Error: Invalid bitmap file !", "Error: Could not load file !"}},
  };
  for (const auto& [file, shown] : cases) {
    ScriptedMessages messages;
    TMDIChild* document = Import(QString::fromStdString(files.File(file)));
    EXPECT_EQ(messages.shown, shown) << file;
    EXPECT_FALSE(document->Composition->HasPicture()) << file;
  }
}

TEST_F(EverydayUse, ExportAndColorsSaveNeverWriteOverTheComposition) {
  Start();
  TMDIChild* document = Import(Picture("rose.bmp", 6, 5));
  const std::string composition = files.File("rose.dmc");
  ASSERT_EQ(document->FileName, composition);
  const std::pair<std::function<void()>, const char*> commands[] = {
      {[&] { document->Export1Click(); }, "rose.bmp"},
      {[&] { document->Save2Click(); }, "rose.clr"},
  };
  for (const auto& [command, proposed] : commands) {
    // Not there yet, and named through another path.
    for (const std::string& chosen : {composition, files.Path() + "x/../rose.dmc"}) {
      ScriptedMessages messages;
      dialogs.AnswerSave(QString::fromStdString(chosen));
      command();
      EXPECT_EQ(dialogs.requests.back().fileName.toStdString(), proposed);
      EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: This is the composition "
                                                         "file: choose another name !"});
      EXPECT_FALSE(FileExists(composition)) << chosen;
    }
    dialogs.AnswerSave(QString::fromStdString(files.File(proposed)));
    command();
    EXPECT_TRUE(FileExists(files.File(proposed))) << proposed;
  }
  // Once saved, the file stays as it was.
  document->Save1Click();
  const std::string saved = ReadFileBytes(composition);
  ScriptedMessages messages;
  dialogs.AnswerSave(QString::fromStdString(composition));
  document->Export1Click();
  EXPECT_EQ(ReadFileBytes(composition), saved);
}

TEST_F(EverydayUse, ImportWithNoDocumentMakesOneAndTheFirstStartSaysSo) {
  Start(false);
  EXPECT_EQ(frame->msgpanel->text().toStdString(),
            "Import a picture to begin (File > Images > Import, Ctrl+I).");
  QAction* import = frame->Action(Command::Import);
  EXPECT_TRUE(import->isEnabled());
  QMenu* images = nullptr;  // the frame's own File menu has it too
  for (QAction* entry : frame->FileMenu->actions())
    if (entry->menu() && entry->text() == "&Images") images = entry->menu();
  ASSERT_TRUE(images);
  EXPECT_TRUE(images->actions().contains(import));

  TMDIChild* document = Import(Picture("first.bmp", 8, 6));
  ASSERT_EQ(frame->Documents().size(), 1);
  EXPECT_EQ(document->Caption().toStdString(), "first.dmc");

  // A cancelled import keeps the new, empty document, as New would.
  frame->mdi->closeAllSubWindows();
  QCoreApplication::processEvents();
  import->trigger();
  ASSERT_EQ(frame->Documents().size(), 1);
  EXPECT_FALSE(frame->ActiveDocument()->Composition->HasPicture());

  // With settings it is no first start.
  Start();
  EXPECT_TRUE(frame->msgpanel->text().isEmpty());
}

TEST_F(EverydayUse, WindowsTakeTwoThirdsAndGrowToTheirPicture) {
  Start();
  Settings().FinInWindow = true;
  frame->NewDocument();
  TMDIChild* document = frame->ActiveDocument();
  auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget());
  const QSize area = frame->mdi->viewport()->size();
  EXPECT_EQ(sub->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3));

  // Around its picture as far as the area allows; never under the smallest size.
  const QSize decoration = sub->size() - document->size();
  const QSize most = area - QSize(sub->x(), sub->y()) - decoration;
  const int status = document->statuspanel->height();
  const std::pair<QSize, QSize> cases[] = {
      {{400, 300}, {401, 300 + status}},
      {{20, 10}, TMDIChild::kMinimumSize},
      {{490, 480}, QSize(491, 480 + status).boundedTo(most)},
  };
  for (const auto& [picture, client] : cases) {
    Import(Picture("g.bmp", uint16_t(picture.width()), uint16_t(picture.height())));
    EXPECT_EQ(document->size(), client) << picture.width();
  }
  // A long progress text neither widens the window nor is cut to a few letters.
  sub->resize(TMDIChild::kMinimumSize + decoration);
  document->ShowProgress(std::string(200, 'x'), 10);
  QCoreApplication::processEvents();
  EXPECT_EQ(document->size(), TMDIChild::kMinimumSize);
  EXPECT_GT(document->msgpanel->width(), TMDIChild::kMinimumSize.width() / 2);
  document->ShowProgress("", 0);
}

TEST_F(EverydayUse, TheInformationLineFollowsItsDocument) {
  Start();
  Settings().Unit = 0;
  TMDIChild* document = Import(Picture("i.bmp", 28, 14));
  const char* sizes[] = {"[4.0],[2.0]", "[5.1],[2.5]", "[6.5],[3.2]"};  // 18, 14, 11 count
  frame->CottonUp();
  for (const char* size : sizes) {
    EXPECT_EQ(frame->stitchsizepanel->text().toStdString(), size);
    frame->CottonDown();
  }
  // Whatever work changed the palette, its counts show once it ends.
  document->SetWork(DocWork::Searching);
  TpunPal fewer;
  fewer.Assign(document->Composition->Palette());
  while (fewer.Count() > 3) fewer.Delete(fewer.Count() - 1);
  document->Composition->Palette().Assign(fewer);
  document->SetWork(DocWork::Idle);
  EXPECT_EQ(frame->numcolorpanel->text().toStdString(), "[3],[3]");
  document->Composition->SetModified(false);
}

}  // namespace
