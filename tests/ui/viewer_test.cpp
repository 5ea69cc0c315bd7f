// The image viewer: opening pictures of every kind, files it cannot show, and moving the
// file shown to the trash; and PNG and JPEG pictures imported into a composition.

#include <gtest/gtest.h>

#include <stdlib.h>
#include <QDir>
#include <QFileInfo>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "app/ui/desktop_trash.h"
#include "app/ui/viewer_form.h"
#include "imageio/picture_reader.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

// Removal scripted: what the trash answers, and what was asked of it.
class ScriptedRemoval : public TViewerForm::FileRemoval {
 public:
  Outcome MoveToTrash(const QString& path, QString& reason) override {
    asked.push_back("trash " + path.toStdString());
    reason = "No trash here";
    return trash;
  }
  bool Remove(const QString& path, QString& reason) override {
    asked.push_back("remove " + path.toStdString());
    reason = "Permission denied";
    return removes;
  }
  Outcome trash = Outcome::Failed;
  bool removes = false;
  std::vector<std::string> asked;
};

class Viewer : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    // The desktop's trash is under these.
    for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
      const char* value = getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("HOME", home.Path().c_str(), 1);
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    Start();
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_)
      value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }

  // The viewer Utils "Image file viewer" opens.
  TViewerForm* OpenViewer() {
    frame->Action(Command::Viewer)->trigger();
    QMdiSubWindow* sub = frame->mdi->activeSubWindow();
    return sub ? qobject_cast<TViewerForm*>(sub->widget()) : nullptr;
  }

  void Open(TViewerForm& viewer, const QString& path) {
    dialogs.AnswerOpen({path});
    viewer.SpeedButton1->click();
  }

  struct Shown {
    QString fname, fsize, file;
    QSize picture;
    bool can_delete;
    bool operator==(const Shown&) const = default;
  };
  static Shown StateOf(const TViewerForm& viewer) {
    return {viewer.fname->text(), viewer.fsize->text(), viewer.ViewerFile, viewer.Image1->size(),
            viewer.deletebtn->isEnabled()};
  }

  TempFolder home, data;

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(Viewer, ShowsAPictureAtItsNaturalSizeWithItsNameAndSize) {
  TViewerForm* viewer = OpenViewer();
  ASSERT_TRUE(viewer);
  EXPECT_EQ(viewer->windowTitle(), "Image Viewer");
  EXPECT_EQ(viewer->size(), QSize(578, 387));
  EXPECT_EQ(viewer->Panel1->height(), 39);
  EXPECT_EQ(viewer->SpeedButton1->toolTip(), "Open");
  EXPECT_EQ(viewer->deletebtn->toolTip(), "Delete");
  EXPECT_TRUE(viewer->fsize->font().bold());
  EXPECT_EQ(viewer->fname->font().pixelSize(), 16);
  EXPECT_FALSE(viewer->deletebtn->isEnabled()) << "nothing to delete yet";

  const QString big = Picture("big.bmp", 640, 480);
  Open(*viewer, big);
  const FileDialogRequest& asked = dialogs.requests.back();
  EXPECT_EQ(asked.title, "Open Image file");
  EXPECT_EQ(asked.folder.toStdString(), files.Path());
  EXPECT_EQ(QtFilter(asked.filter), "BMP   file  (*.bmp);;Pictures (*.bmp *.png *.jpg *.jpeg)");
  EXPECT_EQ(StateOf(*viewer), (Shown{"big.bmp", "[640],[480]", big, QSize(640, 480), true}));
  QCoreApplication::processEvents();
  EXPECT_TRUE(viewer->ScrollBox1->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(viewer->ScrollBox1->verticalScrollBar()->isVisible());

  // PNG and JPEG too; a second viewer is a window of its own.
  QImage photo(30, 20, QImage::Format_RGB32);
  photo.fill(Qt::darkGreen);
  for (const char* name : {"photo.png", "photo.jpg"}) {
    ASSERT_TRUE(photo.save(QString::fromStdString(files.File(name))));
    Open(*viewer, QString::fromStdString(files.File(name)));
    EXPECT_EQ(viewer->fsize->text(), "[30],[20]") << name;
    EXPECT_EQ(viewer->fname->text(), name);
  }
  TViewerForm* second = OpenViewer();
  EXPECT_NE(second, viewer);
  EXPECT_EQ(frame->mdi->subWindowList().size(), 2);
  EXPECT_TRUE(second->ViewerFile.isEmpty());
}

TEST_F(Viewer, AFileItCannotShowKeepsWhatWasShown) {
  TViewerForm* viewer = OpenViewer();
  Open(*viewer, Picture("good.bmp", 12, 7));
  const Shown before = StateOf(*viewer);
  WriteFileBytes(files.File("damaged.bmp"), ReadFileBytes(files.File("good.bmp")).substr(0, 30));
  WriteFileBytes(files.File("notes.txt"), "a shopping list");
  const std::pair<const char*, std::string> cases[] = {
      {"damaged.bmp", "Error: Bitmap image is not valid"},
      {"notes.txt", "Error: Unknown picture file extension (.txt)"},
      {"missing.png", "Error: Cannot open file " + files.File("missing.png")},
  };
  for (const auto& [name, message] : cases) {
    ScriptedMessages messages;
    Open(*viewer, QString::fromStdString(files.File(name)));
    EXPECT_EQ(messages.shown, std::vector<std::string>{message});
    EXPECT_EQ(StateOf(*viewer), before) << name;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
  }
  viewer->SpeedButton1->click();  // the dialog cancelled
  EXPECT_EQ(StateOf(*viewer), before);
}

TEST_F(Viewer, DeleteAsksThenMovesTheFileToTheTrash) {
  TViewerForm* viewer = OpenViewer();
  const QString rose = Picture("rose.bmp", 9, 4);
  Open(*viewer, rose);
  const std::string question =
      "Confirm: Are you sure you want to delete : \"" + rose.toStdString() + "\"";
  {
    ScriptedMessages messages;
    messages.Answer(false);
    viewer->deletebtn->click();
    EXPECT_EQ(messages.shown, std::vector<std::string>{question});
    EXPECT_TRUE(FileExists(rose.toStdString()));
    EXPECT_TRUE(viewer->deletebtn->isEnabled());
  }
  ScriptedMessages messages;
  messages.Answer(true);
  viewer->deletebtn->click();
  EXPECT_EQ(messages.shown, std::vector<std::string>{question});
  EXPECT_FALSE(FileExists(rose.toStdString()));
  EXPECT_TRUE(FileExists(data.File("Trash/files/rose.bmp")));
  // The picture and texts stay; nothing is left to delete.
  EXPECT_EQ(StateOf(*viewer), (Shown{"rose.bmp", "[9],[4]", "", QSize(9, 4), false}));

  // Another file opens as before.
  const QString lily = Picture("lily.bmp", 3, 5);
  Open(*viewer, lily);
  EXPECT_EQ(StateOf(*viewer), (Shown{"lily.bmp", "[3],[5]", lily, QSize(3, 5), true}));
}

TEST_F(Viewer, ARemovalThatFailsSaysSoAndKeepsTheFileShown) {
  using Outcome = TViewerForm::FileRemoval::Outcome;
  const QString rose = Picture("rose.bmp", 9, 4);
  const std::string path = rose.toStdString();
  const std::string asked = "Confirm: Are you sure you want to delete : \"" + path + "\"";
  const std::string no_trash =
      "Confirm: Cannot move \"" + path + "\" to the trash.\r\nDelete it for good ?";
  const struct {
    Outcome trash;
    std::vector<bool> answers;
    bool removes;
    std::vector<std::string> shown, done;
    bool gone;
  } cases[] = {
      {Outcome::Failed,
       {true},
       false,
       {asked, "Error: Unable to delete \"" + path + "\" !\r\nNo trash here"},
       {"trash " + path},
       false},
      {Outcome::NoTrash, {true, false}, false, {asked, no_trash}, {"trash " + path}, false},
      {Outcome::NoTrash,
       {true, true},
       false,
       {asked, no_trash, "Error: Unable to delete \"" + path + "\" !\r\nPermission denied"},
       {"trash " + path, "remove " + path},
       false},
      {Outcome::NoTrash,
       {true, true},
       true,
       {asked, no_trash},
       {"trash " + path, "remove " + path},
       true},
  };
  for (const auto& c : cases) {
    ScriptedRemoval removal;
    removal.trash = c.trash;
    removal.removes = c.removes;
    TViewerForm viewer(nullptr, removal);
    viewer.show();
    Open(viewer, rose);
    ScriptedMessages messages;
    for (bool answer : c.answers) messages.Answer(answer);
    viewer.deletebtn->click();
    EXPECT_EQ(messages.shown, c.shown);
    EXPECT_EQ(removal.asked, c.done);
    EXPECT_EQ(viewer.ViewerFile.isEmpty(), c.gone);
    EXPECT_EQ(viewer.deletebtn->isEnabled(), !c.gone);
  }
}

TEST_F(Viewer, TheTrashIsMadeWhereTheDesktopKeepsItNeverInTheCurrentFolder) {
  const std::string share = data.Path() + "/not/yet/share";
  setenv("XDG_DATA_HOME", share.c_str(), 1);
  const QString tulip = Picture("tulip.bmp", 3, 2);
  QString reason;
  EXPECT_EQ(MoveToDesktopTrash(tulip, reason), TrashOutcome::Trashed) << reason.toStdString();
  EXPECT_FALSE(FileExists(tulip.toStdString()));
  EXPECT_TRUE(FileExists(share + "/Trash/files/tulip.bmp"));
  EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files/tulip.bmp")));
  EXPECT_EQ(MoveToDesktopTrash(tulip, reason), TrashOutcome::Failed);  // gone already
}

TEST_F(Viewer, F1OpensTheViewersHelp) {
  TViewerForm* viewer = OpenViewer();
  std::vector<std::string> topics;
  const HelpSeam previous = InstallHelp([&](const std::string& topic) { topics.push_back(topic); });
  viewer->ScrollBox1->setFocus();
  QTest::keyClick(viewer->ScrollBox1, Qt::Key_F1);
  InstallHelp(previous);
  EXPECT_EQ(topics, std::vector<std::string>{"image-viewer"});
}

using PictureImport = DocumentFixture;

TEST_F(PictureImport, PngAndJpegComeInAsTheirPixels) {
  Start();
  QImage photo(40, 25, QImage::Format_ARGB32);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 40; ++x) photo.setPixel(x, y, qRgba(x * 6, y * 10, 90, x < 20 ? 255 : 128));
  const std::string png = files.File("tulip.png"), jpeg = files.File("tulip.jpeg");
  ASSERT_TRUE(photo.save(QString::fromStdString(png)));
  ASSERT_TRUE(photo.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(jpeg)));
  for (const std::string& path : {png, jpeg}) {
    TMDIChild* document = Import(QString::fromStdString(path));
    EXPECT_EQ(QtFilter(dialogs.requests.back().filter),
              "BMP files  (*.bmp);;PNG and JPEG pictures (*.png *.jpg *.jpeg)");
    ASSERT_TRUE(document->Composition->HasPicture()) << path;
    const ImportedPicture expected = ReadPicture(path);
    EXPECT_EQ(document->Composition->SourcePicture().Block(), expected.block) << path;
    EXPECT_EQ(document->Composition->Width(), 40);
    EXPECT_EQ(document->FileName, files.File("tulip.dmc"));
  }
  // A damaged one: the reader's reason, then the bitmap's closing message.
  WriteFileBytes(files.File("cut.png"), ReadFileBytes(png).substr(0, 60));
  TMDIChild* document = frame->ActiveDocument();
  document->Composition->SetPicture(TPicture());
  ScriptedMessages messages;
  Import(QString::fromStdString(files.File("cut.png")));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].rfind("Error: Unable to read " + files.File("cut.png"), 0), 0u);
  EXPECT_EQ(messages.shown[1], "Error: Could not load file !");
  EXPECT_FALSE(document->Composition->HasPicture());
}

}  // namespace
