// Tools "&Undo palette change": each palette replacement of a document can be taken back,
// newest first, and the command is there only when there is one.
#include <QAction>

#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

class PaletteUndoCommand : public DocumentFixture {
 protected:
  // A palette file of `names`, each a grey of its own.
  QString PaletteFile(const std::string& file, const std::vector<std::string>& names) {
    TpunPal palette;
    for (size_t i = 0; i < names.size(); ++i)
      palette.AddClr(MakeColor(uint8_t(i * 50), uint8_t(i * 50), uint8_t(i * 50)), names[i]);
    palette.SaveToFile(files.File(file));
    return QString::fromStdString(files.File(file));
  }
  void LoadColors(const QString& file) {
    dialogs.AnswerOpen({file});
    frame->Action(Command::LoadColors)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    const TpunPal& palette = document->Composition->Palette();
    for (int32_t i = 0; i < palette.Count(); ++i) names.push_back(palette.GetName(i));
    return names;
  }
  TMDIChild* document = nullptr;
};

TEST_F(PaletteUndoCommand, TakesBackEachReplacementNewestFirstWithItsTransparency) {
  Start();
  document = Import(4, 3);
  ASSERT_TRUE(document);
  QAction* undo = frame->Action(Command::UndoPalette);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(undo->shortcut().toString().toStdString(), "Ctrl+Z");
  const std::vector<std::string> original = Names();
  document->Composition->SetTransparencyOn(true);
  document->Composition->SetTransparentColor(1);

  LoadColors(PaletteFile("two.clr", {"310", "666"}));
  LoadColors(PaletteFile("three.clr", {"1", "2", "3"}));
  ASSERT_EQ(Names(), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_FALSE(document->Composition->TransparencyOn());
  document->Composition->SetModified(false);

  ASSERT_TRUE(undo->isEnabled());
  undo->trigger();
  EXPECT_EQ(Names(), (std::vector<std::string>{"310", "666"}));
  EXPECT_TRUE(document->Composition->Modified());
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  undo->trigger();
  EXPECT_EQ(Names(), original);
  EXPECT_TRUE(document->Composition->TransparencyOn());
  EXPECT_EQ(document->Composition->TransparentColor(), 1);
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_FALSE(undo->isEnabled());

  // A file that is no palette replaces nothing, so there is nothing to take back.
  WriteFileBytes(files.File("bad.clr"), "not a palette");
  ScriptedMessages messages;
  LoadColors(QString::fromStdString(files.File("bad.clr")));
  EXPECT_FALSE(undo->isEnabled());
}

TEST_F(PaletteUndoCommand, IsRefusedWhileTheDocumentIsBusyAndKeepsAtMostTwentyLevels) {
  Start();
  document = Import(4, 3);
  ASSERT_TRUE(document);
  for (int i = 0; i < 25; ++i)
    LoadColors(PaletteFile("p" + std::to_string(i) + ".clr", {std::to_string(i)}));
  document->SetWork(DocWork::Reporting);  // busy: the command does nothing
  document->UndoPalette1Click();
  EXPECT_EQ(Names(), std::vector<std::string>{"24"});
  document->SetWork(DocWork::Idle);
  int undone = 0;
  while (frame->Action(Command::UndoPalette)->isEnabled()) {
    frame->Action(Command::UndoPalette)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
    ++undone;
  }
  EXPECT_EQ(undone, int(TMDIChild::kPaletteUndoLevels));
  EXPECT_EQ(Names(), std::vector<std::string>{"4"});
}

}  // namespace
