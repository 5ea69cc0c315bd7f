// The click on a document's picture and the transparency dialog it opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "app/ui/picture_view.h"
#include "app/ui/transp_frm.h"
#include "composition/picture_block.h"
#include "pattern/ui/report_frm.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

struct Shown {
  QString position, rgb, index, name;
  bool enabled = false, checked = false, focused = false, rgb_hidden = false;
};

class Transparency : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    document = Import(12, 4);
    ASSERT_TRUE(document);
    // One floss per pixel of the top row, a green step off it, so the floss's own colour
    // and the photo's can be told apart.
    TpunPal floss;
    for (int x = 0; x < 12; ++x) floss.AddClr(Pixel(x, 0) + (1 << 8), "F" + std::to_string(x));
    document->Composition->Palette().Assign(floss);
    document->Composition->SetModified(false);
  }

  TColor Pixel(int x, int y) const {
    const TPicture& source = document->Composition->SourcePicture();
    return PixelAt(source.Data(), PixelOffset(source.Width(), source.Height(), x, y));
  }

  // Clicks at control position (x, y); `act` works the dialog before "&Ok" closes it.
  Shown Click(int x, int y, const std::function<void(TTranspFrm&)>& act = {}) {
    Shown shown;
    modal.Then([&](QDialog& dialog) {
      auto& form = dynamic_cast<TTranspFrm&>(dialog);
      shown = {form.Panel2->text(),
               form.Panel3->text(),
               form.Panel4->text(),
               form.Panel5->text(),
               form.CheckBox1->isEnabled(),
               form.CheckBox1->isChecked(),
               form.focusWidget() == form.CheckBox1,
               form.Panel3->isHidden() && form.Label3->isHidden()};
      if (act) act(form);
      form.Button1->click();
      return form.result();
    });
    document->PictureClicked(x, y);
    EXPECT_TRUE(modal.scripts.empty()) << "no dialog opened";
    modal.scripts.clear();
    return shown;
  }

  void MakeTransparent(int32_t index) {
    document->Composition->SetTransparencyOn(true);
    document->Composition->SetTransparentColor(index);
    document->Composition->SetModified(false);
  }

  TMDIChild* document = nullptr;
  ScriptedModal modal;
  ScriptedMessages messages;
};

TEST_F(Transparency, ClickNamesTheFlossAtTheMagnifiedPositionClamped) {
  document->Composition->SetZoom(3);  // shown 4:1
  document->Composition->SetModified(false);
  const Shown shown = Click(41, 7);
  EXPECT_EQ(shown.position, "10,1");
  const int32_t index = document->Composition->Palette().NearestClr(Pixel(10, 1));
  EXPECT_EQ(shown.index, QString::number(index));
  EXPECT_EQ(shown.name.toStdString(), document->Composition->Palette().GetName(index));
  EXPECT_TRUE(shown.rgb_hidden);
  EXPECT_TRUE(shown.focused);
  // The control may reach beyond the magnified picture: the last column and row.
  EXPECT_EQ(Click(1000, 1000).position, "11,3");
  EXPECT_EQ(Click(4 * 11 + 3, 4 * 3 + 3).position, "11,3");
  EXPECT_EQ(document->MouseX, 0);  // the stored mouse position is not the click's

  // The hidden colour panel holds the floss, not the photo's pixel.
  document->Composition->SetZoom(0);
  document->Composition->SetModified(false);
  const Shown third = Click(3, 0);
  const TColor floss = Pixel(3, 0) + (1 << 8);
  EXPECT_EQ(third.rgb,
            QString("%1,%2,%3").arg(RedOf(floss)).arg(GreenOf(floss)).arg(BlueOf(floss)));
  EXPECT_EQ(third.name, "F3");
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

TEST_F(Transparency, TheBoxFollowsTheOneTransparentFlossAndAppliesOnlyAChange) {
  // No transparency: enabled and clear; closing untouched marks nothing.
  Shown shown = Click(7, 0);
  EXPECT_TRUE(shown.enabled);
  EXPECT_FALSE(shown.checked);
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_FALSE(document->Composition->TransparencyOn());
  EXPECT_FALSE(document->Working());

  // Another floss is transparent: disabled and clear, and closing changes nothing.
  MakeTransparent(5);
  shown = Click(7, 0);
  EXPECT_FALSE(shown.enabled);
  EXPECT_FALSE(shown.checked);
  EXPECT_EQ(document->Composition->TransparentColor(), 5);
  EXPECT_FALSE(document->Composition->Modified());

  // This floss is the transparent one: ticked; looking only changes nothing...
  shown = Click(5, 0);
  EXPECT_TRUE(shown.enabled);
  EXPECT_TRUE(shown.checked);
  EXPECT_FALSE(document->Composition->Modified());
  EXPECT_FALSE(document->Working());
  // ...clearing it switches transparency off and updates the picture.
  Click(5, 0, [](TTranspFrm& form) { form.CheckBox1->setChecked(false); });
  EXPECT_FALSE(document->Composition->TransparencyOn());
  EXPECT_TRUE(document->Composition->Modified());
  EXPECT_TRUE(document->UpdatingPicture());
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));

  // Now another floss may take it.
  Click(7, 0, [](TTranspFrm& form) { form.CheckBox1->setChecked(true); });
  EXPECT_TRUE(document->Composition->TransparencyOn());
  EXPECT_EQ(document->Composition->TransparentColor(), 7);
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
}

TEST_F(Transparency, AddToTemporaryPaletteKeepsTheFlossColourOnce) {
  QSignalSpy changed(frame.get(), &TMainForm::tempPaletteChanged);
  const auto add = [](TTranspFrm& form) { form.Button2->click(); };
  Click(2, 0, add);
  ASSERT_EQ(frame->TempPalette.Count(), 1);
  EXPECT_EQ(frame->TempPalette.GetClr(0), Pixel(2, 0) + (1 << 8));
  EXPECT_EQ(frame->TempPalette.GetName(0), "F2");
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(messages.shown, std::vector<std::string>{});

  Click(2, 0, add);  // the same floss again
  EXPECT_EQ(frame->TempPalette.Count(), 1);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Color allready in palette !"});
  EXPECT_FALSE(document->Composition->Modified());
}

TEST_F(Transparency, OnlyAStillLeftClickOnAnIdlePictureWithFlossOpensTheDialog) {
  // A real press and release opens it; a drag does not.
  document->Composition->SetZoom(7);  // shown 8:1
  document->FitImage();
  document->Composition->SetModified(false);
  const int drag = QApplication::startDragDistance();
  ASSERT_GT(document->image1->width(), 1 + drag);
  modal.Then([](QDialog& dialog) {
    EXPECT_EQ(dynamic_cast<TTranspFrm&>(dialog).Panel2->text(), "2,1");
    return int(QDialog::Accepted);
  });
  QTest::mouseClick(document->image1, Qt::LeftButton, Qt::NoModifier, QPoint(17, 9));
  EXPECT_TRUE(modal.scripts.empty());
  QTest::mousePress(document->image1, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
  QTest::mouseRelease(document->image1, Qt::LeftButton, Qt::NoModifier, QPoint(1 + drag, 1));
  QTest::mouseClick(document->image1, Qt::RightButton, Qt::NoModifier, QPoint(17, 9));

  // Busy: nothing (an unscripted dialog fails the test).
  document->SetWork(DocWork::Reporting);
  document->PictureClicked(1, 1);
  document->SetWork(DocWork::Idle);

  // An empty working palette: the click does nothing, the floss report lists nothing.
  document->Composition->Palette().Clear();
  document->PictureClicked(1, 1);
  int lines = -1;
  modal.Then([&](QDialog& dialog) {
    lines = dynamic_cast<Treportfrm&>(dialog).ListBox1->count();
    return int(QDialog::Accepted);
  });
  document->Flossreport1Click();
  EXPECT_EQ(lines, 0);
  EXPECT_EQ(messages.shown, std::vector<std::string>{});
  EXPECT_FALSE(document->Composition->Modified());
}

}  // namespace
