#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "app/ui/add_color_dlg.h"
#include "app/ui/floss_item_delegate.h"
#include "app/ui/temp_pal_frm.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

class TempPalette : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    frame->MainPalette.Clear();
    frame->MainPalette.AddClr(MakeColor(250, 250, 250), "White");
    frame->MainPalette.AddClr(MakeColor(200, 0, 0), "321");
    frame->MainPalette.AddClr(MakeColor(0, 0, 100), "336");
    frame->TempPalette.Clear();
  }

  TTempPalFrm* Open() {
    frame->Action(Command::TempPalette)->trigger();
    return qobject_cast<TTempPalFrm*>(frame->TempPaletteWindow.data());
  }

  // "&Add" with the main palette's entry `index` chosen.
  void Add(TTempPalFrm* window, int index) {
    modal.Then([index](QDialog& dialog) {
      auto& add = dynamic_cast<TaddColorDlg&>(dialog);
      EXPECT_EQ(add.SelectedIndex(), 0);  // opens on the first floss
      add.ComboBox1->setCurrentIndex(index);
      return int(QDialog::Accepted);
    });
    window->Add1->trigger();
  }

  QStringList Listed(TTempPalFrm* window) {
    QStringList names;
    for (int i = 0; i < window->ListBox1->count(); ++i) names << window->ListBox1->item(i)->text();
    return names;
  }
  QStringList Held() {
    QStringList names;
    for (int32_t i = 0; i < frame->TempPalette.Count(); ++i)
      names << QString::fromStdString(frame->TempPalette.GetName(i));
    return names;
  }

  ScriptedModal modal;
  ScriptedMessages messages;
};

TEST_F(TempPalette, OpensAtTheRightEdgeAndClosingEnablesTheUtilsItemAgain) {
  QAction* item = frame->Action(Command::TempPalette);
  ASSERT_TRUE(item->isEnabled());
  TTempPalFrm* window = Open();
  ASSERT_TRUE(window);
  EXPECT_FALSE(item->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Temporary Palette");
  EXPECT_EQ(window->ListBox1->count(), 0);
  auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->geometry().right(), frame->mdi->viewport()->width() - 1);
  // Its menu stands before Utils while it is current, and the pop-up holds the same items.
  const QList<QAction*> bar = frame->menuBar()->actions();
  const qsizetype at = bar.indexOf(window->TempPaletteMenu->menuAction());
  ASSERT_GE(at, 0);
  EXPECT_EQ(bar.at(at + 1), frame->UtilsMenu->menuAction());
  for (QMenu* menu : {window->TempPaletteMenu, window->PopupMenu}) {
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    EXPECT_EQ(texts, QStringList({"&Mix Colors", "", "&Delete", "&Add", "&Clear", "", "C&lose"}));
  }
  EXPECT_EQ(window->PopupMenu->actions().at(0), window->MixColors1);
  // A second open while it exists makes no second window.
  frame->TempPaletteClick();
  EXPECT_EQ(frame->TempPaletteWindow, window);

  window->Close1->trigger();
  EXPECT_TRUE(!frame->TempPaletteWindow && item->isEnabled());
  EXPECT_LT(frame->menuBar()->actions().size(), bar.size());
  // The frame's own close box closes it the same way.
  window = Open();
  ASSERT_TRUE(window);
  qobject_cast<QMdiSubWindow*>(window->parentWidget())->close();
  EXPECT_TRUE(!frame->TempPaletteWindow && item->isEnabled());
}

TEST_F(TempPalette, AddRefusesADuplicateDeleteAndClearKeepListAndPaletteAlike) {
  TTempPalFrm* window = Open();
  ASSERT_TRUE(window);
  Add(window, 2);
  Add(window, 0);
  Add(window, 2);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Color allready in palette !"});
  EXPECT_EQ(Held(), QStringList({"336", "White"}));
  EXPECT_EQ(Listed(window), Held());
  EXPECT_EQ(frame->TempPalette.GetClr(0), MakeColor(0, 0, 100));  // the main palette's colour
  // A cancelled add adds nothing.
  modal.Then([](QDialog&) { return int(QDialog::Rejected); });
  window->Add1->trigger();
  EXPECT_EQ(Held().size(), 2);

  // Delete without a selection does nothing; with one it takes exactly that entry.
  window->ListBox1->clearSelection();
  window->Delete1->trigger();
  EXPECT_EQ(Held().size(), 2);
  window->ListBox1->setCurrentRow(1);
  window->Delete1->trigger();
  EXPECT_EQ(Held(), QStringList({"336"}));
  EXPECT_EQ(Listed(window), Held());

  // Names are Latin-1 bytes: shown as their letters, and deleted by them.
  frame->TempPalette.AddClr(MakeColor(240, 230, 200),
                            "\xe9"
                            "cru");
  window->Relist();
  EXPECT_EQ(window->ListBox1->item(1)->text(), QString::fromUtf8("\xc3\xa9"
                                                                 "cru"));
  window->ListBox1->setCurrentRow(1);
  window->Delete1->trigger();
  EXPECT_EQ(Held(), QStringList({"336"}));

  window->Clear1->trigger();
  EXPECT_EQ(frame->TempPalette.Count(), 0);
  EXPECT_EQ(window->ListBox1->count(), 0);
}

TEST_F(TempPalette, MixRebuildsTheListInPaletteOrderAndReopeningKeepsIt) {
  TTempPalFrm* window = Open();
  ASSERT_TRUE(window);
  Add(window, 1);
  Add(window, 2);
  Add(window, 0);
  window->MixColors1->trigger();
  const QStringList mixed = Held();
  EXPECT_EQ(mixed, QStringList({"321", "336", "White", "321+336", "321+White", "336+White"}));
  EXPECT_EQ(Listed(window), mixed);

  window->Close1->trigger();
  ASSERT_FALSE(frame->TempPaletteWindow);
  EXPECT_EQ(Held(), mixed);  // closing keeps the palette
  window = Open();
  ASSERT_TRUE(window);
  EXPECT_EQ(Listed(window), mixed);

  // Another window adding to the palette tells the frame; the open list follows at once.
  frame->TempPalette.AddClr(MakeColor(1, 2, 3), "3865");
  emit frame->tempPaletteChanged();
  EXPECT_EQ(Listed(window).last(), "3865");
  EXPECT_EQ(Listed(window), Held());
}

// Each item: a swatch of the entry's colour at its left; a row the palette lacks draws only
// its background. Both lists draw alike, at their own item heights.
TEST_F(TempPalette, ItemsShowTheFlossColourBesideTheName) {
  TTempPalFrm* window = Open();
  ASSERT_TRUE(window);
  Add(window, 1);
  Add(window, 2);
  window->ListBox1->addItem("ghost");  // no palette entry behind it
  window->ListBox1->clearSelection();
  QListWidget* list = window->ListBox1;
  EXPECT_EQ(list->sizeHintForRow(0), TTempPalFrm::kItemHeight);
  list->doItemsLayout();  // the list lays its items out late
  const QImage shown = list->viewport()->grab().toImage();
  const auto at = [&](int row) {
    return shown.pixel(8, row * TTempPalFrm::kItemHeight + 7) & 0xFFFFFF;
  };
  EXPECT_EQ(at(0), 0xC80000u);  // 321
  EXPECT_EQ(at(1), 0x000064u);  // 336
  EXPECT_EQ(at(2), list->palette().color(QPalette::Base).rgb() & 0xFFFFFF);
  EXPECT_EQ(shown.pixel(2, 1) & 0xFFFFFF, 0u);  // the outline

  TaddColorDlg add(frame->MainPalette, nullptr);
  EXPECT_EQ(add.windowTitle(), "Add DMC Color");
  EXPECT_EQ(add.ComboBox1->count(), 3);
  EXPECT_EQ(add.ComboBox1->itemText(1), "321");
  EXPECT_EQ(add.ComboBox1->view()->sizeHintForRow(0), 20);
  EXPECT_EQ(FlossItemDelegate::PaddedName("321"), "321   ");
  EXPECT_EQ(FlossItemDelegate::PaddedName("3865+White"), "3865+White");
}

}  // namespace
