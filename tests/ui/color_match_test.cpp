#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

#include "app/app_settings.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/prefer_dlg.h"
#include "composition/bitmap_file.h"
#include "tests/support/differing_match.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

// A frame whose main palette is a few floss on which one color parts the two rules, and a
// document showing a picture of that color.
class PerceptualMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    WriteFileBytes(config.File("PUNTEL.INI"),
                   "[PUNTEL32]\nImagepath=" + files.Path() + "\nColorMatch=" + initial + "\n");
    frame = std::make_unique<TMainForm>();
    frame->show();
    frame->MainPalette.Clear();
    for (size_t i = 0; i < match.palette.size(); ++i)
      frame->MainPalette.AddClr(match.palette[i], "F" + std::to_string(i));
    PictureBlock block(PictureBytes(3, 2), 0);
    for (uint32_t y = 0; y < 2; ++y)
      for (uint32_t x = 0; x < 3; ++x)
        PutPixelAt(block.data(), PixelOffset(3, 2, x, y), match.color);
    WriteBitmapFile(files.File("p.bmp"), block, 3, 2);
    frame->NewDocument();
    document = frame->ActiveDocument();
    ASSERT_TRUE(document);
    dialogs.AnswerOpen({QString::fromStdString(files.File("p.bmp"))});
    document->Import1Click();
    ASSERT_TRUE(Settled());
  }

  bool Settled() {
    return WaitFor([&] { return !document->Working() && document->Composition->Mapped(); });
  }
  // The floss the document's picture shows, as an index of the palette.
  int32_t Shown() {
    EXPECT_TRUE(Settled());
    const TColor shown = PixelAt(document->Composition->MappedPicture().Data(), 0);
    for (size_t i = 0; i < match.palette.size(); ++i)
      if (match.palette[i] == shown) return int32_t(i);
    return -1;
  }
  std::string SavedFile() const { return ReadFileBytes(config.File("PUNTEL.INI")); }

  std::string initial = "0";
  DifferingMatch match = *FindDifferingMatch();
  TempFolder config, files;
  ScriptedFileDialogs dialogs;
  ScriptedMessages messages;
  std::unique_ptr<TMainForm> frame;
  TMDIChild* document = nullptr;
};

TEST_F(PerceptualMatch, TheOptionAndTheCheckBoxSwitchEveryPaletteAndRemap) {
  QAction* option = frame->PerceptualMatch;
  EXPECT_EQ(option->text(), "&Perceptual color matching");
  EXPECT_TRUE(frame->OptionsMenu->actions().contains(option));
  EXPECT_FALSE(option->isChecked());
  EXPECT_EQ(Shown(), match.rgb);

  option->trigger();
  EXPECT_TRUE(option->isChecked());
  EXPECT_EQ(Settings().ColorMatch, 1);
  EXPECT_NE(SavedFile().find("\nColorMatch=1\n"), std::string::npos);
  for (const TpunPal* palette : std::initializer_list<const TpunPal*>{
           &frame->MainPalette, &frame->TempPalette, &document->Composition->Palette(),
           &document->Composition->RefPalette()})
    EXPECT_EQ(palette->Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(Shown(), match.ciede2000);

  // The check box shows the setting; clearing it goes back to exact RGB.
  ScriptedModal modal;
  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TPreferDlg&>(dialog);
    d.FillFields();
    EXPECT_EQ(d.ColorMatchBox->text(), "Perceptual color matching (CIEDE2000)");
    EXPECT_TRUE(d.ColorMatchBox->isEnabled());
    EXPECT_TRUE(d.ColorMatchBox->isChecked());
    d.ColorMatchBox->setChecked(false);
    d.okbtn->click();
    return d.result();
  });
  frame->Action(Command::Preferences)->trigger();
  EXPECT_FALSE(option->isChecked());
  EXPECT_EQ(Settings().ColorMatch, 0);
  EXPECT_NE(SavedFile().find("\nColorMatch=0\n"), std::string::npos);
  EXPECT_EQ(document->Composition->Match(), ColorMatch::ExactRgb);
  EXPECT_EQ(Shown(), match.rgb);

  // Without automatic remapping the old mapping goes: the picture waits for a remap.
  Settings().AutoRemap = false;
  option->trigger();
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_FALSE(document->Composition->Mapped());
  EXPECT_TRUE(document->RemapWanted());
  Settings().AutoRemap = true;
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PerceptualMatch, NothingChangesWhileADocumentIsAtWork) {
  document->SetWork(DocWork::Reporting);
  frame->UpdateCommands();
  EXPECT_FALSE(frame->PerceptualMatch->isEnabled());
  ScriptedModal modal;
  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TPreferDlg&>(dialog);
    EXPECT_FALSE(d.ColorMatchBox->isEnabled());
    return int(QDialog::Rejected);
  });
  frame->Action(Command::Preferences)->trigger();
  // Work that goes on after "Turn BUSY flag off" still holds the palettes.
  EXPECT_FALSE(frame->ApplyColorMatch(ColorMatch::Ciede2000));
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Composition is busy, cannot change color matching !"});
  EXPECT_EQ(frame->MainPalette.Match(), ColorMatch::ExactRgb);
  EXPECT_EQ(document->Composition->Match(), ColorMatch::ExactRgb);
  EXPECT_FALSE(frame->PerceptualMatch->isChecked());
  document->SetWork(DocWork::Idle);
  frame->UpdateCommands();
  EXPECT_TRUE(frame->PerceptualMatch->isEnabled());
}

class SavedPerceptualMatch : public PerceptualMatch {
 protected:
  SavedPerceptualMatch() { initial = "1"; }
};

TEST_F(SavedPerceptualMatch, TheSavedRuleHoldsFromTheStart) {
  EXPECT_TRUE(frame->PerceptualMatch->isChecked());
  EXPECT_EQ(frame->MainPalette.Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(Shown(), match.ciede2000);
}

}  // namespace
