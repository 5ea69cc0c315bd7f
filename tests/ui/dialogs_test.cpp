// The preferences, notes and about dialogs, driven through their controls with the message
// and file dialog seams scripted and the settings file in a temporary folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_settings.h"
#include "app/ini_file.h"
#include "app/ui/about_dlg.h"
#include "app/ui/note_dlg.h"
#include "app/ui/prefer_dlg.h"
#include "app/ui/spin_button.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

// Points the settings file at another folder for one test and puts the old one back.
class ConfigHome {
 public:
  explicit ConfigHome(const std::string& folder) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
    Set(folder);
  }
  ~ConfigHome() {
    if (old_)
      Set(*old_);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  void Set(const std::string& folder) { setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }

 private:
  std::optional<std::string> old_;
};

TSettings StartingSettings() {
  TSettings s;
  s.PalFile = "/opt/PunTel/DMC25.clr";
  s.progpath = "/opt/PunTel/";
  s.Imagepath = "/home/Anna/Pictures/";
  s.Compopath = "/home/Anna/Compositions/";
  s.ColorPath = "/home/Anna/Colors/";
  s.CellSize = 18;
  s.startprinthour = 22;
  s.startprintmin = 30;
  s.endprinthour = 6;
  s.endprintmin = 15;
  s.language = 1;
  s.Unit = 2;
  return s;
}

class PreferencesTest : public testing::Test {
 protected:
  PreferencesTest() : home_(config_.Path()), saved_(Settings()) { Settings() = StartingSettings(); }
  ~PreferencesTest() override { Settings() = saved_; }

  // The dialog as the frame shows it, filled by its first activation.
  std::unique_ptr<TPreferDlg> Show() {
    auto dialog = std::make_unique<TPreferDlg>(nullptr, [this] { ++stored_; });
    dialog->show();
    return dialog;
  }
  std::string SettingsFile() const { return config_.File("PUNTEL.INI"); }
  TSettings ReadBack() const { return ReadSettings(IniFile(SettingsFile()), {"/x/", "/y/"}); }

  TempFolder config_;
  ConfigHome home_;
  ScriptedMessages messages_;
  ScriptedFileDialogs dialogs_;
  int stored_ = 0;

 private:
  TSettings saved_;
};

TEST_F(PreferencesTest, OkStoresEveryFieldKeepingCaseAndAddingTheSeparator) {
  auto dlg = Show();
  EXPECT_EQ(dlg->edit3->text(), "/home/Anna/Pictures/");
  EXPECT_EQ(dlg->Cellsize->text(), "18");
  EXPECT_EQ(dlg->unitcombo->currentText(), "Inches");
  EXPECT_EQ(dlg->language->currentText(), "English");

  dlg->edit1->setText("/usr/local/share/PunTel");
  dlg->edit2->setText("/media/USB Stick/Compos/");
  dlg->edit3->setText("/home/Anna/Pics");
  dlg->edit4->setText("relative/Colors");
  dlg->PaletteFile->setText("/home/Anna/Threads/Anchor.CLR");
  dlg->SpinButton1->UpButton()->click();
  dlg->Edit7->setText(" 7");
  dlg->Edit8->setText("-1");  // kept as the field's low 16 bits
  dlg->Edit9->setText("0");
  dlg->Edit10->setText("59");
  dlg->unitcombo->setCurrentIndex(3);
  dlg->language->setCurrentIndex(0);
  dlg->okbtn->click();

  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(stored_, 1);
  EXPECT_FALSE(dlg->isVisible());
  const TSettings& s = Settings();
  EXPECT_EQ(s.progpath, "/usr/local/share/PunTel/");
  EXPECT_EQ(s.Compopath, "/media/USB Stick/Compos/");
  EXPECT_EQ(s.Imagepath, "/home/Anna/Pics/");
  EXPECT_EQ(s.ColorPath, "relative/Colors/");
  EXPECT_EQ(s.PalFile, "/home/Anna/Threads/Anchor.CLR");
  EXPECT_EQ(s.CellSize, 19);
  EXPECT_EQ(s.startprinthour, 7);
  EXPECT_EQ(s.startprintmin, 65535);
  EXPECT_EQ(s.endprinthour, 0);
  EXPECT_EQ(s.endprintmin, 59);
  EXPECT_EQ(s.Unit, 3);
  EXPECT_EQ(s.language, 0);
  EXPECT_EQ(ReadBack(), s);
}

TEST_F(PreferencesTest, LaterActivationsKeepWhatTheUserTyped) {
  auto dlg = Show();
  ASSERT_TRUE(dlg->Filled);
  dlg->edit2->setText("/typed/");
  Settings().Compopath = "/changed/meanwhile/";
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(dlg.get(), &activate);  // as after a message box closes
  dlg->hide();
  dlg->show();
  EXPECT_EQ(dlg->edit2->text(), "/typed/");
}

TEST_F(PreferencesTest, PaletteBrowserStartsInProgramFolderAndAlwaysWarnsOfRestart) {
  dialogs_.AnswerOpen({"/home/Anna/Threads/Madeira.clr"});
  dialogs_.AnswerOpen({});
  auto dlg = Show();
  dlg->SpeedButton1->click();
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].folder, "/opt/PunTel/");
  EXPECT_EQ(dialogs_.requests[0].filter, "DMC Colors (*.clr)|*.clr");
  const std::string restart =
      "Info: You must restart PunTel for\r\npalette changes to take effect !";
  EXPECT_EQ(messages_.shown, std::vector<std::string>{restart});
  EXPECT_EQ(dlg->PaletteFile->text(), "/home/Anna/Threads/Madeira.clr");
  EXPECT_EQ(Settings().PalFile, "/opt/PunTel/DMC25.clr");  // only OK stores it

  dlg->SpeedButton1->click();  // cancelled this time
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{restart, restart}));
  EXPECT_EQ(dlg->PaletteFile->text(), "/home/Anna/Threads/Madeira.clr");
  dlg->okbtn->click();
  EXPECT_EQ(Settings().PalFile, "/home/Anna/Threads/Madeira.clr");
}

TEST_F(PreferencesTest, CancelAfterChangingEveryFieldLeavesRecordAndFileAlone) {
  WriteAllSettings();
  const std::string before = ReadFileBytes(SettingsFile());
  auto dlg = Show();
  for (QLineEdit* edit : {dlg->edit1, dlg->edit2, dlg->edit3, dlg->edit4, dlg->PaletteFile,
                          dlg->Edit7, dlg->Edit8, dlg->Edit9, dlg->Edit10})
    edit->setText("/changed");
  dlg->SpinButton1->DownButton()->click();
  dlg->unitcombo->setCurrentIndex(0);
  dlg->language->setCurrentIndex(0);
  dlg->cancelbtn->click();
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(Settings(), StartingSettings());
  EXPECT_EQ(ReadFileBytes(SettingsFile()), before);
  EXPECT_EQ(stored_, 0);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PreferencesTest, EmptyFolderFieldStoresNothing) {
  auto dlg = Show();
  dlg->edit1->setText("/new/program/");
  dlg->edit4->clear();
  dlg->okbtn->click();
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"Error: All fields required !"});
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(Settings(), StartingSettings());
  EXPECT_FALSE(FileExists(SettingsFile()));
  EXPECT_EQ(stored_, 0);
}

TEST_F(PreferencesTest, BadHourStopsAtThatFieldAndWritesNothing) {
  auto dlg = Show();
  dlg->edit3->setText("/home/Anna/Scans");
  dlg->SpinButton1->UpButton()->click();
  dlg->Edit7->setText("9");
  dlg->Edit8->setText("3O");  // a letter O
  dlg->Edit9->setText("1");
  dlg->unitcombo->setCurrentIndex(0);
  dlg->okbtn->click();
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"Error: '3O' is not a valid integer value"});
  TSettings expected = StartingSettings();
  expected.Imagepath = "/home/Anna/Scans/";  // stored before the bad field, kept for this run
  expected.CellSize = 19;
  expected.startprinthour = 9;
  EXPECT_EQ(Settings(), expected);
  EXPECT_FALSE(FileExists(SettingsFile()));
  EXPECT_EQ(stored_, 0);
}

TEST_F(PreferencesTest, FailedWriteNamesTheFileAndDoesNotRefresh) {
  // A plain file where the configuration folder should be: no write can succeed, even as root.
  const std::string blocker = config_.File("blocker");
  WriteFileBytes(blocker, "not a folder");
  home_.Set(blocker);
  auto dlg = Show();
  dlg->edit2->setText("/elsewhere/");
  dlg->okbtn->click();
  EXPECT_EQ(messages_.shown,
            std::vector<std::string>{"Error: Unable to write to " + blocker + "/PUNTEL.INI"});
  EXPECT_EQ(stored_, 0);
  EXPECT_EQ(ReadFileBytes(blocker), "not a folder");
}

TEST_F(PreferencesTest, CellSizeSpinKeepsFileValuesUntilTouchedThenStaysInRange) {
  TPreferDlg unfilled(nullptr, {});
  EXPECT_EQ(unfilled.Cellsize->text(), "17");

  Settings().CellSize = 30;
  Settings().Unit = 7;  // hand-edited file: no item of the list
  auto dlg = Show();
  EXPECT_EQ(dlg->Cellsize->text(), "30");
  dlg->SpinButton1->UpButton()->click();
  EXPECT_EQ(dlg->Cellsize->text(), "30");
  dlg->SpinButton1->DownButton()->click();
  EXPECT_EQ(dlg->Cellsize->text(), "29");
  EXPECT_EQ(dlg->unitcombo->currentIndex(), -1);
  dlg->okbtn->click();
  EXPECT_EQ(Settings().CellSize, 29);
  EXPECT_EQ(Settings().Unit, 7);  // nothing chosen: the value stays

  for (auto [start, up, expected] : {std::tuple{24, true, "25"}, {16, false, "15"}}) {
    Settings().CellSize = uint16_t(start);
    auto again = Show();
    SpinButton* spin = again->SpinButton1;
    for (int i = 0; i < 3; ++i) (up ? spin->UpButton() : spin->DownButton())->click();
    EXPECT_EQ(again->Cellsize->text(), expected);
  }
  dlg->SpinButton1->setEnabled(false);
  dlg->SpinButton1->UpButton()->click();
  EXPECT_EQ(dlg->Cellsize->text(), "29");
}

class NotesTest : public testing::Test {
 protected:
  NotesTest() { dlg_.show(); }
  QString Typed(const QString& keys) {
    QTest::keyClicks(dlg_.Memo1, keys);
    return dlg_.Text();
  }
  TNoteDlg dlg_;
};

TEST_F(NotesTest, CaptionButtonsAndFocus) {
  EXPECT_EQ(dlg_.windowTitle(), "Composition notes");
  EXPECT_EQ(dlg_.Button1->text(), "&Ok");
  EXPECT_EQ(dlg_.Button2->text(), "&Cancel");
  EXPECT_EQ(dlg_.focusWidget(), dlg_.Memo1);
  dlg_.SetText("Line one\nLine two");
  EXPECT_EQ(dlg_.Text(), "Line one\nLine two");
}

TEST_F(NotesTest, TypingStopsAtTheLimit) {
  dlg_.SetText(QString(253, 'a'));
  EXPECT_EQ(Typed("bcd"), QString(253, 'a') + "bc");
  EXPECT_EQ(dlg_.Memo1->textCursor().position(), 255);
  dlg_.Memo1->moveCursor(QTextCursor::Start);
  EXPECT_EQ(Typed("z"), QString(253, 'a') + "bc");
  QTest::keyClick(dlg_.Memo1, Qt::Key_Return);
  EXPECT_EQ(dlg_.Text().size(), 255);
  QTest::keyClick(dlg_.Memo1, Qt::Key_Delete);  // deleting makes room
  QTest::keyClick(dlg_.Memo1, Qt::Key_Return);
  EXPECT_EQ(dlg_.Text(), QString("\n") + QString(252, 'a') + "bc");
}

TEST_F(NotesTest, PastedAndGivenTextsAreCut) {
  dlg_.SetText(QString(300, 'x'));
  EXPECT_EQ(dlg_.Text(), QString(255, 'x'));

  const QString notes = QString(250, 'n');
  dlg_.SetText(notes);
  QApplication::clipboard()->setText("0123456789");
  dlg_.Memo1->moveCursor(QTextCursor::Start);
  dlg_.Memo1->paste();
  EXPECT_EQ(dlg_.Text(), "01234" + notes);
  dlg_.Memo1->undo();  // one step takes back the paste and its cut
  EXPECT_EQ(dlg_.Text(), notes);

  dlg_.Memo1->selectAll();
  dlg_.Memo1->paste();  // replacing a selection frees its room first
  EXPECT_EQ(dlg_.Text(), "0123456789");
}

TEST(AboutDialog, CaptionVersionAndButton) {
  TAboutDlg about;
  EXPECT_EQ(about.windowTitle(), "About");
  auto* version = about.findChild<QLabel*>("Version");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "PunTel 2.0a (05/1996)");
  EXPECT_EQ(about.OKButton->text(), "OK");
  about.show();
  about.OKButton->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
