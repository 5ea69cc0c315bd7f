// The character table dialog: its edits, each committed to the user's table file at once,
// the picker, the sort, and what a failed write leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "app/program_folders.h"
#include "pattern/ui/cell_grid.h"
#include "pattern/ui/char_dlg.h"
#include "pattern/ui/grid_form.h"
#include "pattern/ui/pattern_grid_widget.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

bool HasInk(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
  return false;
}

class CharDlgTest : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
  }

  TCharDlg& Open(std::vector<std::string> entries) {
    frame->SymbolTable.SetEntries(std::move(entries));
    frame->Symbols.TableChanged();
    dialog = std::make_unique<TCharDlg>(frame->SymbolTable, frame->Symbols, frame.get());
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));  // the dialog's keys need it
    return *dialog;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < dialog->ListBox1->count(); ++i)
      lines.push_back(dialog->ListBox1->item(i)->text().toStdString());
    return lines;
  }
  std::vector<std::string> FileLines() const {
    return SymbolTableEntries(ReadFileBytes(UserSymbolTableFile()));
  }
  static void Click(CellGrid* grid, int column, int row, bool twice = false) {
    grid->ScrollToRow(row);
    const QPoint point = grid->CellRect(column, row).center();
    if (twice)
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, point);
    else
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
  }
  void LoadFont(const QFont& font) {
    font_dialog.answer = font;
    dialog->LoadFont1->trigger();
  }

  std::unique_ptr<TCharDlg> dialog;
  ScriptedFontDialog font_dialog;
  ScriptedMessages messages;
};

const std::vector<std::string> kThree = {"DejaVu Sans,65", "DejaVu Sans,66", "DejaVu Sans,67"};

TEST_F(CharDlgTest, ThePickerAddsItsCellNumberOnlyOnceAFontIsLoaded) {
  Open(kThree);
  EXPECT_EQ(dialog->StringGrid1->RowCount(), 26);
  Click(dialog->StringGrid1, 3, 24, true);
  EXPECT_EQ(Lines(), kThree);
  EXPECT_FALSE(FileExists(UserSymbolTableFile()));

  LoadFont(QFont("DejaVu Sans", 12));
  Click(dialog->StringGrid1, 3, 24, true);
  ASSERT_EQ(Lines().size(), 4u);
  EXPECT_EQ(Lines().back(), "DejaVu Sans,275");
  EXPECT_EQ(frame->SymbolTable.Entries(), Lines());
  EXPECT_EQ(FileLines(), Lines());
  EXPECT_EQ(ParseSymbolEntry(Lines().back()).Character(), 19);
  EXPECT_EQ(dialog->label1->text(), "4");

  // A family with a comma could not be read back from the table: refused.
  QFont odd;
  odd.setFamilies({"Odd, Font"});
  LoadFont(odd);
  EXPECT_EQ(dialog->PickerFont()->family(), "DejaVu Sans");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("comma"), std::string::npos);
}

TEST_F(CharDlgTest, ClearAsksAndOnlyYesLeavesTheDefaultEntry) {
  Open(kThree);
  messages.Answer(false);
  // Ctrl+C is the dialog's, even in the list, where it would otherwise copy.
  dialog->ListBox1->setFocus();
  QTest::keyClick(dialog->ListBox1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Confirm: Clear the whole character table ?"});
  EXPECT_EQ(Lines(), kThree);
  EXPECT_EQ(frame->SymbolTable.Entries(), kThree);
  EXPECT_FALSE(FileExists(UserSymbolTableFile()));

  messages.Answer(true);
  QTest::keyClick(dialog->DrawGrid1, Qt::Key_C, Qt::ControlModifier);
  const std::vector<std::string> cleared = {"wingdings,32"};
  EXPECT_EQ(Lines(), cleared);
  EXPECT_EQ(frame->SymbolTable.Entries(), cleared);
  EXPECT_EQ(ReadFileBytes(UserSymbolTableFile()), "wingdings,32\r\n");
  EXPECT_EQ(dialog->DrawGrid1->RowCount(), 1);
}

TEST_F(CharDlgTest, TheSortPutsTheLightestFirstAndIsWritten) {
  std::vector<std::string> entries = {"DejaVu Sans,77", "DejaVu Sans,46", "DejaVu Sans,105"};
  entries.insert(entries.end(), 10, "DejaVu Sans,32");
  Open(entries);
  QTest::keyClick(dialog->ListBox1, Qt::Key_O, Qt::ControlModifier);
  std::vector<std::string> sorted(10, "DejaVu Sans,32");
  sorted.insert(sorted.end(), {"DejaVu Sans,46", "DejaVu Sans,105", "DejaVu Sans,77"});
  EXPECT_EQ(Lines(), sorted);
  EXPECT_EQ(frame->SymbolTable.Entries(), sorted);
  EXPECT_EQ(dialog->DrawGrid1->RowCount(), 13 / 12 + 1);
  QTest::keyClick(dialog->ListBox1, Qt::Key_F4, Qt::ControlModifier);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(FileLines(), sorted);
}

TEST_F(CharDlgTest, AFailedWriteShowsItsPathAndLeavesTheTable) {
  // A folder nobody may write to; root may write anywhere, so it gets a file in its way.
  const std::string folder = UserDataFolder();
  if (geteuid() == 0) {
    WriteFileBytes(folder.substr(0, folder.size() - 1), "in the way");
  } else {
    ASSERT_TRUE(EnsureFolderExists(folder));
    chmod(folder.c_str(), 0555);
  }
  Open(kThree);
  messages.Answer(true);
  dialog->Clearthetable1->trigger();
  const std::string error = "Error: Cannot create file " + UserSymbolTableFile();
  EXPECT_EQ(messages.shown.back(), error);
  EXPECT_EQ(Lines(), std::vector<std::string>{"wingdings,32"});
  EXPECT_EQ(frame->SymbolTable.Entries(), kThree);

  Open({"DejaVu Sans,77", "DejaVu Sans,32"});
  dialog->Sorttable1->trigger();
  EXPECT_EQ(messages.shown.back(), error);
  EXPECT_EQ(frame->SymbolTable.Entries(),
            (std::vector<std::string>{"DejaVu Sans,77", "DejaVu Sans,32"}));
  EXPECT_FALSE(IsRegularFile(UserSymbolTableFile()));
  chmod(folder.c_str(), 0755);
}

TEST_F(CharDlgTest, TwelveFontsAreAllDrawnAndTheMissingOnesNamed) {
  std::vector<std::string> entries;
  for (int i = 1; i <= 12; ++i) entries.push_back("Nofont" + std::to_string(i) + ",65");
  Open(entries);
  const QImage shown = dialog->DrawGrid1->viewport()->grab().toImage();
  for (int column = 0; column < 12; ++column)
    EXPECT_TRUE(HasInk(shown, dialog->DrawGrid1->CellRect(column, 0))) << column;
  EXPECT_FALSE(HasInk(shown, dialog->DrawGrid1->CellRect(12, 0)));
  EXPECT_EQ(dialog->label1->text(), "12");
  EXPECT_TRUE(dialog->MissingFonts->toolTip().contains("Nofont12 \u2192 DejaVu Sans"));
}

TEST_F(CharDlgTest, AddAllAddsEachInkedCodeOnceInPickerOrder) {
  Open(kThree);
  dialog->AddAllCharacters1->trigger();
  EXPECT_EQ(Lines(), kThree);
  EXPECT_FALSE(FileExists(UserSymbolTableFile()));

  LoadFont(QFont("DejaVu Sans", 12));
  QTest::keyClick(dialog->ListBox1, Qt::Key_A, Qt::ControlModifier);
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 150u);
  EXPECT_EQ(FileLines(), lines);
  std::vector<int> order;
  for (size_t i = kThree.size(); i < lines.size(); ++i) {
    const SymbolEntry entry = ParseSymbolEntry(lines[i]);
    EXPECT_EQ(entry.FontName, "DejaVu Sans");
    order.push_back(entry.Code < 32 ? entry.Code + 256 : entry.Code);
    EXPECT_TRUE(HasInk(frame->Symbols.RenderSymbol(int32_t(i), 20), QRect(0, 0, 20, 20)))
        << lines[i];
  }
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
  EXPECT_EQ(dialog->DrawGrid1->RowCount(), int(lines.size()) / 20 + 1);
}

TEST_F(CharDlgTest, ATableCellSelectsItsLineAndADoubleClickRemovesIt) {
  Open(kThree);
  Click(dialog->DrawGrid1, 1, 0);
  EXPECT_EQ(dialog->ListBox1->currentRow(), 1);
  Click(dialog->DrawGrid1, 5, 0);
  EXPECT_TRUE(dialog->ListBox1->selectedItems().isEmpty());
  Click(dialog->DrawGrid1, 5, 0, true);
  EXPECT_EQ(Lines(), kThree);
  EXPECT_EQ(FileLines(), kThree);  // written even so

  Click(dialog->DrawGrid1, 1, 0, true);
  const std::vector<std::string> left = {kThree[0], kThree[2]};
  EXPECT_EQ(Lines(), left);
  EXPECT_EQ(frame->SymbolTable.Entries(), left);
  dialog->ListBox1->setCurrentRow(0);
  dialog->ListBox1DblClick();
  EXPECT_EQ(FileLines(), std::vector<std::string>{kThree[2]});
}

TEST_F(CharDlgTest, ThePopupMenuOpensOverThePanelBothGridsAndTheList) {
  Open(kThree);
  for (QWidget* target : {dialog->Panel1, dialog->DrawGrid1->viewport(),
                          dialog->StringGrid1->viewport(), dialog->ListBox1->viewport()}) {
    QContextMenuEvent menu_key(QContextMenuEvent::Keyboard, QPoint(4, 4));
    QApplication::sendEvent(target, &menu_key);
    EXPECT_TRUE(dialog->PopupMenu1->isVisible()) << target->parent()->objectName().toStdString();
    dialog->PopupMenu1->hide();
  }
}

TEST_F(CharDlgTest, TheCommandShowsTheDialogModallyWithItsMenu) {
  EXPECT_EQ(frame->Action(Command::CharTable)->shortcut(), QKeySequence("F6"));
  std::vector<QString> texts;
  QString title;
  std::string topic;
  const HelpSeam previous = InstallHelp([&](const std::string& asked) { topic = asked; });
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* shown = qobject_cast<TCharDlg*>(QApplication::activeModalWidget())) {
      timer.stop();
      title = shown->windowTitle();
      for (QAction* action : shown->PopupMenu1->actions())
        texts.push_back(action->text() + " " + action->shortcut().toString());
      shown->Help1->trigger();
      QTest::keyClick(shown->ListBox1, Qt::Key_Escape);
    }
  });
  timer.start(5);
  frame->Action(Command::CharTable)->trigger();
  InstallHelp(previous);
  EXPECT_EQ(title, "Character Table");
  EXPECT_EQ(topic, "SPEED4");
  EXPECT_EQ(texts, (std::vector<QString>{"S&ort table Ctrl+O", "&Clear the table Ctrl+C", " ",
                                         "&Load Font Ctrl+L", "Add All Characters Ctrl+A", " ",
                                         "&Help ", " ", "&Close Ctrl+F4"}));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace

TEST_F(CharDlgTest, AnOpenStitchPatternShowsTheTableLeftByTheDialog) {
  TMDIChild* document = Import(4, 3);
  ASSERT_TRUE(document);
  const int colors = document->Composition->Palette().Count();
  frame->SymbolTable.SetEntries(std::vector<std::string>(size_t(colors), "DejaVu Sans,65"));
  frame->Symbols.TableChanged();
  frame->Action(Command::StitchPattern)->trigger();
  auto* grid = qobject_cast<TGridForm*>(document->GridWindow.data());
  ASSERT_TRUE(grid);
  EXPECT_TRUE(WaitFor([&] { return grid->DrawGrid1->isVisible(); }));
  EXPECT_TRUE(grid->ShortageLine->isHidden());
  messages.Answer(true);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* shown = qobject_cast<TCharDlg*>(QApplication::activeModalWidget())) {
      timer.stop();
      shown->Clearthetable1->trigger();
      shown->Close1->trigger();
    }
  });
  timer.start(5);
  frame->Action(Command::CharTable)->trigger();
  EXPECT_TRUE(WaitFor([&] { return !grid->ShortageLine->isHidden(); }));
  EXPECT_TRUE(grid->ShortageLine->text().startsWith("Too many colors ! 1 symbols for "));
}

TEST_F(CharDlgTest, ABadEntryIsToldOncePerCommitNeverByPaintingAndNamesStayUtf8) {
  const std::string family =
      "\xC3\x9Cn\xC3\xAF"
      "code";  // "Ünïcode", no such font
  Open({family + ",65", "DejaVu Sans,x1", "DejaVu Sans,66"});
  EXPECT_EQ(dialog->ListBox1->item(0)->text(), QString::fromUtf8("\u00DCn\u00EFcode,65"));
  dialog->DrawGrid1->viewport()->grab();
  EXPECT_TRUE(messages.shown.empty());
  Click(dialog->DrawGrid1, 2, 0, true);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: 'x1' is not a valid integer value"});
  dialog->DrawGrid1->viewport()->grab();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(ReadFileBytes(UserSymbolTableFile()), family + ",65\r\nDejaVu Sans,x1\r\n");
}
