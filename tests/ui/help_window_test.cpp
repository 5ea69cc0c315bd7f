// The help: F1 in every window asks for that window's topic, the Help buttons for theirs,
// and the help window shows the pages of its folder only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/help/help_ids.h"
#include "app/program_folders.h"
#include "app/ui/color_dlg.h"
#include "app/ui/find_form.h"
#include "app/ui/help_window.h"
#include "app/ui/picture_view.h"
#include "app/ui/prefer_dlg.h"
#include "app/ui/swatch_grid.h"
#include "app/ui/temp_pal_frm.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

void PressF1(QWidget* widget) {
  QTest::keyClick(widget, Qt::Key_F1);
}

class Help : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    document = Import(4, 3);
    ASSERT_TRUE(document);
    previous_ = InstallHelp([this](const std::string& topic) { asked.push_back(topic); });
  }
  void TearDown() override { InstallHelp(previous_); }

  // The topics asked for while `act` runs.
  std::vector<std::string> Asked(const std::function<void()>& act) {
    asked.clear();
    act();
    return asked;
  }

  TMDIChild* document = nullptr;
  ScriptedModal modal;
  ScriptedMessages messages;
  std::vector<std::string> asked;

 private:
  HelpSeam previous_;
};

using Topics = std::vector<std::string>;

TEST_F(Help, F1AsksForTheTopicOfTheWindowInFront) {
  EXPECT_EQ(Asked([&] { PressF1(frame.get()); }), Topics{help_ids::kContents});
  EXPECT_EQ(Asked([&] { PressF1(document->image1); }), Topics{help_ids::kDocumentWindow});
  EXPECT_EQ(Asked([&] { frame->Action(Command::HelpContents)->trigger(); }),
            Topics{help_ids::kContents});

  // Inside modal dialogs too, from any control.
  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TColorDlg&>(dialog);
    PressF1(d.DrawGrid1);
    d.HelpButton->click();
    d.CancelClick();
    return d.result();
  });
  EXPECT_EQ(Asked([&] { frame->Action(Command::ColorTable)->trigger(); }),
            (Topics{help_ids::kColorTable, help_ids::kColorTable}));

  modal.Then([](QDialog& dialog) {
    auto& d = dynamic_cast<TPreferDlg&>(dialog);
    for (int page = 0; page < 3; ++page) {
      d.Notebook->setCurrentIndex(page);
      PressF1(d.Notebook->currentWidget());
    }
    PressF1(d.Notebook->tabBar());  // the tabs name the page in front: Printing

    return int(QDialog::Rejected);
  });
  EXPECT_EQ(Asked([&] { frame->Action(Command::Preferences)->trigger(); }),
            (Topics{help_ids::kPreferencesGeneral, help_ids::kPreferencesPaths,
                    help_ids::kPreferencesPrinting, help_ids::kPreferencesPrinting}));

  TFindForm search(5, document);
  EXPECT_EQ(Asked([&] { PressF1(search.HelpButton); }), Topics{help_ids::kColorSearch});

  frame->Action(Command::TempPalette)->trigger();
  ASSERT_TRUE(frame->TempPaletteWindow);
  EXPECT_EQ(
      Asked([&] { PressF1(static_cast<TTempPalFrm*>(frame->TempPaletteWindow.data())->ListBox1); }),
      Topics{help_ids::kTempPalette});
  EXPECT_TRUE(messages.shown.empty());
}

class HelpPages : public ::testing::Test {
 protected:
  std::string folder = ProgramDataFolder() + "help/";
  ScriptedMessages messages;
};

TEST_F(HelpPages, TopicsOpenTheirPagesAndAnUnknownOneTheContents) {
  std::unique_ptr<HelpWindow> window(MakeHelpWindow(folder));
  ASSERT_TRUE(window);
  auto page = [&] { return QFileInfo(window->CurrentUrl().toLocalFile()).fileName(); };
  window->ShowTopic(help_ids::kColorTable);
  EXPECT_EQ(page(), "color_table.html");
  window->ShowTopic(help_ids::kPreferencesPaths);
  EXPECT_EQ(page(), "preferences.html");
  EXPECT_EQ(window->CurrentUrl().fragment(), "paths");
  window->ShowTopic("no-such-topic");
  EXPECT_EQ(page(), "index.html");
  EXPECT_FALSE(window->Page->toPlainText().isEmpty());
  EXPECT_GT(window->Contents->topLevelItemCount(), 3);

  // A link inside the folder is followed, one that leaves it is not; Back returns.
  emit window->Page->anchorClicked(QUrl("files.html"));
  EXPECT_EQ(page(), "files.html");
  emit window->Page->anchorClicked(QUrl("../dmc25.clr"));
  emit window->Page->anchorClicked(QUrl("https://example.org/"));
  emit window->Page->anchorClicked(QUrl::fromLocalFile("/etc/passwd"));
  EXPECT_EQ(page(), "files.html");
  ASSERT_TRUE(window->BackButton->isEnabled());
  window->BackButton->click();
  EXPECT_EQ(page(), "index.html");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HelpPages, TheBrowserGetsTheFileUrlAndAFailureIsSaid) {
  std::unique_ptr<HelpWindow> window(MakeHelpWindow(folder));
  ASSERT_TRUE(window);
  window->ShowTopic(help_ids::kCustomColors);
  std::vector<QUrl> opened;
  bool works = true;
  const DesktopSeam previous = InstallDesktop([&](const QUrl& url) {
    opened.push_back(url);
    return works;
  });
  window->BrowserButton->click();
  works = false;
  window->BrowserButton->click();
  InstallDesktop(previous);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_TRUE(opened[0].isLocalFile());
  EXPECT_EQ(QFileInfo(opened[0].toLocalFile()).fileName(), "color_table.html");
  EXPECT_EQ(opened[0].fragment(), "custom-colors");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Unable to open a web browser !"});
}

TEST_F(HelpPages, AMissingFolderIsSaid) {
  EXPECT_EQ(MakeHelpWindow("/nonexistent/help/"), nullptr);
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Help pages not found in /nonexistent/help/ !"});
}

}  // namespace
