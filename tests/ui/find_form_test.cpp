// The number field and the options dialog of the automatic color search, driven through
// their controls with the message and help seams scripted.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <string>
#include <tuple>
#include <vector>

#include "app/ui/find_form.h"
#include "app/ui/prefer_dlg.h"
#include "app/ui/spin_button.h"
#include "app/ui/spin_edit.h"
#include "app/ui/ui_seams.h"
#include "tests/support/scripted_messages.h"

namespace {

TEST(SpinEdit, KeepsWhatIsTypedUpToItsDigitsEvenEmptyOrNoNumber) {
  SpinEdit field(10, 100, 3);
  field.show();
  QSignalSpy changed(&field, &SpinEdit::textChanged);
  QTest::keyClicks(field.Edit(), "12345");
  EXPECT_EQ(field.Text(), "123");  // out of range, and kept so
  field.Edit()->clear();
  EXPECT_EQ(field.Text(), "");
  QTest::keyClicks(field.Edit(), "4x");
  EXPECT_EQ(field.Text(), "4x");
  field.SetText("abcdef");
  EXPECT_EQ(field.Text(), "abc");
  EXPECT_EQ(changed.count(), 7);  // the three keys that took, a clear, two keys, a text
  EXPECT_EQ(changed.last().at(0).toString(), "abc");
}

TEST(SpinEdit, ArrowsAndKeysStepWithinTheRange) {
  enum How { kUpArrow, kDownArrow, kUpKey, kDownKey };
  // Range 10 to 100, step 1 unless given.
  const std::vector<std::tuple<QString, How, int, QString>> cases = {
      {"50", kUpArrow, 1, "51"},   {"50", kDownKey, 1, "49"},     {"100", kUpKey, 1, "100"},
      {"10", kDownArrow, 1, "10"}, {"150", kDownArrow, 1, "100"}, {"150", kUpArrow, 1, "100"},
      {"3", kUpArrow, 1, "10"},    {"3", kDownKey, 1, "10"},      {"", kUpArrow, 1, "10"},
      {"", kDownArrow, 1, "100"},  {"4x", kUpKey, 1, "10"},       {" 20", kUpArrow, 1, "21"},
      {"75", kUpArrow, 5, "80"},   {"97", kUpKey, 5, "100"},      {"12", kDownArrow, 5, "10"},
  };
  for (const auto& [text, how, step, expected] : cases) {
    SpinEdit field(10, 100, 3);
    field.SetStep(step);
    field.show();
    field.SetText(text);
    switch (how) {
      case kUpArrow:
        field.Arrows()->UpButton()->click();
        break;
      case kDownArrow:
        field.Arrows()->DownButton()->click();
        break;
      case kUpKey:
        QTest::keyClick(field.Edit(), Qt::Key_Up);
        break;
      case kDownKey:
        QTest::keyClick(field.Edit(), Qt::Key_Down);
        break;
    }
    EXPECT_EQ(field.Text(), expected) << text.toStdString() << " " << how << " step " << step;
  }
  SpinEdit field(1, 10, 2);
  field.SetRange(0, 99);
  EXPECT_EQ(field.Low(), 0);
  EXPECT_EQ(field.High(), 99);
  field.SetValue(99);
  field.Arrows()->UpButton()->click();
  EXPECT_EQ(field.Text(), "99");
  field.setEnabled(false);
  field.Arrows()->DownButton()->click();
  EXPECT_EQ(field.Text(), "99");
}

TEST(SpinEdit, ThePrintingTimesStepOnTheClock) {
  TPreferDlg dialog(nullptr, {});
  for (auto [field, text, up, expected] : {std::tuple{dialog.Spin7, "23", true, "23"},
                                           {dialog.Spin8, "-1", true, "0"},
                                           {dialog.Spin9, "0", false, "0"},
                                           {dialog.Spin10, "65535", false, "59"}}) {
    field->SetText(text);
    EXPECT_EQ(field->Text(), text);  // a value of the settings file shows unchanged
    (up ? field->Arrows()->UpButton() : field->Arrows()->DownButton())->click();
    EXPECT_EQ(field->Text(), expected) << text;
  }
}

// The dialog over a main palette of 80 entries: fewer than "Maxi" asks for.
class FindFormTest : public testing::Test {
 protected:
  FindFormTest() : form_(80) { form_.show(); }
  // Clicks Ok; the message shown, if any.
  std::string Ok() {
    messages_.shown.clear();
    form_.Button1->click();
    return messages_.shown.empty() ? "" : messages_.shown.back();
  }
  ScriptedMessages messages_;
  TFindForm form_;
};

TEST_F(FindFormTest, StartsWithTheSearchDefaultsAndEachFieldsRange) {
  EXPECT_EQ(form_.Label1->text(), "Max floss (10 to 80)");
  // Typed keys replace the maximum floss.
  EXPECT_EQ(form_.focusWidget(), form_.threads->Edit());
  EXPECT_EQ(form_.threads->Edit()->selectedText(), "50");
  const TSearchOptions shown = form_.Options(), defaults;
  EXPECT_EQ(std::tuple(shown.KeepOriginalPalette, shown.MaxFloss, shown.Increment,
                       shown.RemoveLonely, shown.Dots, shown.LightThreshold),
            std::tuple(defaults.KeepOriginalPalette, defaults.MaxFloss, defaults.Increment,
                       defaults.RemoveLonely, defaults.Dots, defaults.LightThreshold));
  for (auto [field, low, high, digits] : {std::tuple{form_.threads, 10, 80, 3},
                                          {form_.numdots, 1, 100, 3},
                                          {form_.light, 0, 99, 2},
                                          {form_.increment, 1, 10, 2}}) {
    EXPECT_EQ(std::tuple(field->Low(), field->High(), field->Edit()->maxLength()),
              std::tuple(low, high, digits))
        << field->objectName().toStdString();
  }
  form_.light->Arrows()->UpButton()->click();  // light steps by five
  EXPECT_EQ(form_.light->Text(), "80");
}

TEST_F(FindFormTest, RadioButtonsSetMaximumFloss) {
  form_.RadioButton1->click();
  EXPECT_EQ(form_.threads->Text(), "25");
  form_.RadioButton3->click();
  EXPECT_EQ(form_.threads->Text(), "100");
  EXPECT_EQ(Ok(), "Error: Invalid value ! (10-80)");  // more than the main palette holds
  EXPECT_TRUE(form_.isVisible());
  form_.RadioButton2->click();
  EXPECT_EQ(form_.threads->Text(), "50");
  EXPECT_EQ(Ok(), "");
  EXPECT_EQ(form_.result(), QDialog::Accepted);
}

TEST_F(FindFormTest, OkChecksEachFieldInOrderAndKeepsTheFocusOnTheFailingOne) {
  const std::vector<std::tuple<SpinEdit*, std::vector<QString>, QString, std::string>> order = {
      {form_.threads, {"", "9", "81", "1x", "-10"}, "10", "Error: Invalid value ! (10-80)"},
      {form_.increment, {"", "0", "11", "a"}, "10", "Error: Invalid value ! (1-10)"},
      {form_.numdots, {"", "0", "101", "+"}, "100", "Error: Invalid value ! (1-100)"},
      {form_.light, {"", "-1", "x"}, "0", "Error: Invalid value ! (0-99)"},
  };
  // Every field wrong: each Ok names the first one still wrong, until all are mended.
  for (const auto& [field, bad, good, message] : order) field->SetText(bad.front());
  for (const auto& [field, bad, good, message] : order) {
    for (const QString& text : bad) {
      field->SetText(text);
      EXPECT_EQ(Ok(), message) << "\"" << text.toStdString() << "\"";
      EXPECT_EQ(messages_.shown.size(), 1u);
      EXPECT_EQ(form_.focusWidget(), field->Edit()) << message;
      EXPECT_TRUE(form_.isVisible());
    }
    field->SetText(good);
  }
  EXPECT_EQ(Ok(), "");
  EXPECT_EQ(form_.result(), QDialog::Accepted);
}

TEST_F(FindFormTest, OptionsAreTheFieldsReadAsNumbers) {
  form_.keep->setChecked(true);
  form_.removelonely->setChecked(false);
  form_.threads->SetText(" 12");
  form_.increment->SetText("7");
  form_.numdots->SetText("100");
  form_.light->SetText("0");
  ASSERT_EQ(Ok(), "");
  const TSearchOptions options = form_.Options();
  EXPECT_TRUE(options.KeepOriginalPalette);
  EXPECT_FALSE(options.RemoveLonely);
  EXPECT_EQ(options.MaxFloss, 12);
  EXPECT_EQ(options.Increment, 7);
  EXPECT_EQ(options.Dots, 100);
  EXPECT_EQ(options.LightThreshold, 0);
  form_.light->SetText("");
  EXPECT_ANY_THROW(form_.Options());
}

TEST_F(FindFormTest, CancelAbandonsAndHelpOpensItsTopic) {
  std::vector<std::string> topics;
  const HelpSeam previous = InstallHelp([&](const std::string& topic) { topics.push_back(topic); });
  form_.HelpButton->click();
  InstallHelp(previous);
  EXPECT_EQ(topics, std::vector<std::string>{"PUNTEL0002"});
  EXPECT_TRUE(form_.isVisible());
  form_.threads->SetText("");  // Cancel checks nothing
  form_.Button2->click();
  EXPECT_EQ(form_.result(), QDialog::Rejected);
  EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
