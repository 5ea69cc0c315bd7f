#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "app/ui/custom_colors_dlg.h"
#include "app/ui/swatch_grid.h"
#include "tests/ui/ui_support.h"

namespace {

// Two pure floss and a blend in between, which the left grid leaves out.
class CustomColors : public ::testing::Test {
 protected:
  CustomColors() {
    working.AddClr(MakeColor(200, 0, 0), "321");
    working.AddClr(MakeColor(100, 50, 50), "321+336");
    working.AddClr(MakeColor(0, 100, 100), "336");
    working.AddClr(MakeColor(250, 250, 250), "White");
  }

  static void Click(SwatchGrid* grid, int index) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(index).center());
  }
  static void DoubleClick(SwatchGrid* grid, int index) {
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(index).center());
  }
  static std::vector<std::string> Names(const FlossList& list) {
    std::vector<std::string> names;
    for (const auto& [name, color] : list) names.push_back(name);
    return names;
  }

  TpunPal working;
  ScriptedModal modal;
};

TEST_F(CustomColors, ClicksChooseOnceAndDoubleClicksTakeOff) {
  TCustomColorsDlg dialog(working, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Custom Colors");
  ASSERT_EQ(dialog.PureGrid->Palette()->Count(), 3);
  EXPECT_EQ(dialog.PureGrid->Palette()->GetName(1), "336");
  Click(dialog.PureGrid, 2);
  Click(dialog.PureGrid, 0);
  Click(dialog.PureGrid, 2);  // once only
  Click(dialog.PureGrid, 5);  // an empty cell
  EXPECT_EQ(dialog.Chosen(),
            (FlossList{{"White", MakeColor(250, 250, 250)}, {"321", MakeColor(200, 0, 0)}}));
  EXPECT_EQ(dialog.TweedGrid->Palette()->Count(), 2);  // the grid shows what is chosen
  DoubleClick(dialog.TweedGrid, 7);                    // past the entries: nothing
  DoubleClick(dialog.TweedGrid, 0);
  EXPECT_EQ(Names(dialog.Chosen()), std::vector<std::string>{"321"});
  // Taken off, it can be chosen again.
  Click(dialog.PureGrid, 2);
  EXPECT_EQ(Names(dialog.Chosen()), (std::vector<std::string>{"321", "White"}));

  // By keys: arrows only walk the grid, Space chooses, Delete takes off on the right.
  dialog.ResetButton->click();
  dialog.PureGrid->SetSelected(0);
  QTest::keyClick(dialog.PureGrid, Qt::Key_Right);
  EXPECT_TRUE(dialog.Chosen().empty());
  QTest::keyClick(dialog.PureGrid, Qt::Key_Space);
  EXPECT_EQ(Names(dialog.Chosen()), std::vector<std::string>{"336"});
  dialog.TweedGrid->SetSelected(0);
  QTest::keyClick(dialog.TweedGrid, Qt::Key_Delete);
  EXPECT_TRUE(dialog.Chosen().empty());
}

TEST_F(CustomColors, ResetAddAllAndTweed) {
  TCustomColorsDlg dialog(working, nullptr);
  Click(dialog.PureGrid, 1);
  dialog.AddAllButton->click();
  EXPECT_EQ(Names(dialog.Chosen()), (std::vector<std::string>{"336", "321", "White"}));
  dialog.ResetButton->click();
  EXPECT_TRUE(dialog.Chosen().empty());
  Click(dialog.PureGrid, 0);
  Click(dialog.PureGrid, 1);
  dialog.TweedButton->click();
  EXPECT_EQ(dialog.Chosen(), (FlossList{{"321", MakeColor(200, 0, 0)},
                                        {"336", MakeColor(0, 100, 100)},
                                        {"321+336", MakeColor(100, 50, 50)}}));
  // A second tweed makes no second blend, and a click still adds a floss once.
  dialog.TweedButton->click();
  Click(dialog.PureGrid, 0);
  EXPECT_EQ(dialog.Chosen().size(), 3u);
}

TEST_F(CustomColors, OkGivesTheRightGridCancelNothingHelpItsTopic) {
  std::vector<std::string> topics;
  const HelpSeam previous = InstallHelp([&](const std::string& topic) { topics.push_back(topic); });
  modal.Then([](QDialog& dialog) {
    auto& custom = dynamic_cast<TCustomColorsDlg&>(dialog);
    custom.HelpButton->click();
    custom.AddAllButton->click();
    custom.OkButton->click();
    return dialog.result();
  });
  const std::optional<FlossList> chosen = AskCustomColors(working, nullptr);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(Names(*chosen), (std::vector<std::string>{"321", "336", "White"}));
  EXPECT_EQ(topics, std::vector<std::string>{"custom-colors"});

  modal.Then([](QDialog& dialog) {
    auto& custom = dynamic_cast<TCustomColorsDlg&>(dialog);
    custom.AddAllButton->click();
    custom.CancelButton->click();
    return dialog.result();
  });
  EXPECT_FALSE(AskCustomColors(working, nullptr));
  InstallHelp(previous);
}

}  // namespace
