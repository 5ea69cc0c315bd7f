#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QUndoStack>
#include <filesystem>

#include "app/settings.h"
#include "app/ui/help_topic.h"
#include "composition/bitmap_file.h"
#include "design/design_rules.h"
#include "design/ellipse_rule.h"
#include "design/ui/color_list_box.h"
#include "design/ui/design_file.h"
#include "design/ui/design_frm.h"
#include "design/ui/design_grid.h"
#include "design/ui/design_history.h"
#include "palette/floss_palette.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/document_fixture.h"
#include "tests/ui/ui_support.h"

namespace {

constexpr TColor kBlanc = MakeColor(250, 250, 250), kRed = MakeColor(200, 0, 0),
                 kNavy = MakeColor(0, 0, 100), kGreen = MakeColor(0, 160, 0),
                 kRed2 = MakeColor(180, 20, 20), kBlack = MakeColor(0, 0, 0);

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

TColor ColorOfPixel(QRgb pixel) {
  return MakeColor(uint8_t(qRed(pixel)), uint8_t(qGreen(pixel)), uint8_t(qBlue(pixel)));
}

// A bitmap file written byte by byte: the headers, a colour table and the given pixel data.
std::string HandMadeBitmap(int width, int height, int bits, int compression,
                           const std::vector<TColor>& table, const std::string& pixels) {
  std::string bytes;
  const auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += char((value >> (8 * i)) & 0xFF);
  };
  const uint32_t offset = 14 + 40 + 4 * uint32_t(table.size());
  bytes += "BM";
  put(offset + uint32_t(pixels.size()), 4), put(0, 4), put(offset, 4);
  put(40, 4), put(uint32_t(width), 4), put(uint32_t(height), 4), put(1, 2), put(uint32_t(bits), 2);
  put(uint32_t(compression), 4), put(uint32_t(pixels.size()), 4), put(2835, 4), put(2835, 4);
  put(uint32_t(table.size()), 4), put(0, 4);
  for (TColor colour : table) put(BlueOf(colour) | GreenOf(colour) << 8 | RedOf(colour) << 16, 4);
  return bytes + pixels;
}

class DesignEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [colour, name] : {std::pair{kBlanc, "Blanc"},
                                {kRed, "321"},
                                {kNavy, "336"},
                                {kGreen, "702"},
                                {kRed2, "321"},
                                {kBlack, "310"}})
      palette.AddClr(colour, name);
    settings.Imagepath = files.Path();
    Open();
  }

  void Open() {
    editor = std::make_unique<TDesignFrm>(palette, settings);
    editor->show();
    QCoreApplication::processEvents();
  }

  DesignGrid* Grid() { return editor->DrawGrid1; }
  QWidget* Viewport() { return Grid()->viewport(); }

  // The centre of a cell, from the grid's first visible column and row (its scroll bars)
  // and the cell size field.
  QPoint At(int col, int row) {
    const int s = editor->CtrlGridSize->value();
    const int c0 = Grid()->horizontalScrollBar()->value();
    const int r0 = Grid()->verticalScrollBar()->value();
    return {(col - c0) * (s + 1) + s / 2, (row - r0) * (s + 1) + s / 2};
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), Viewport()->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(Viewport(), &event);
  }
  void Press(QPoint at, Qt::MouseButton button) {
    Mouse(QEvent::MouseButtonPress, at, button, button);
  }
  void Move(QPoint at, Qt::MouseButtons held) { Mouse(QEvent::MouseMove, at, Qt::NoButton, held); }
  void Release(QPoint at, Qt::MouseButton button) {
    Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
  }
  void Drag(QPoint from, QPoint to, Qt::MouseButton button) {
    Press(from, button);
    Move(to, button);
    Release(to, button);
  }
  void Choose(DesignTool tool) { editor->Tools->button(int(tool))->click(); }

  // Leaves a size field with a new number, as the user would.
  void LeaveSize(QSpinBox* field, int value) {
    field->setValue(value);
    emit field->editingFinished();
  }

  // A new size, going on when it would erase a modified design.
  void Resize(int width, int height) {
    for (auto [field, value] :
         {std::pair{editor->CtrlWidth, width}, {editor->CtrlHeight, height}}) {
      if (field->value() != value && editor->Modified()) messages.Answer(true);
      LeaveSize(field, value);
    }
  }

  // A design saved by the editor is read back through the editor.
  void Load(const QString& path) {
    dialogs.AnswerOpen({path});
    editor->Load1Click();
  }

  TColor Shown(Cell cell) {
    return ColorOfPixel(Viewport()->grab().toImage().pixel(At(cell.col, cell.row)));
  }

  TpunPal palette;
  TSettings settings;
  TempFolder files;
  ScriptedMessages messages;
  ScriptedFileDialogs dialogs;
  std::unique_ptr<TDesignFrm> editor;
};

TEST_F(DesignEditor, OpensWithTheCreationState) {
  EXPECT_EQ(editor->Caption(), "Design Editor [ UNTITLED.BMP]");
  EXPECT_EQ(editor->size(), QSize(637, 427));
  EXPECT_EQ(editor->CtrlWidth->value(), 50);
  EXPECT_EQ(editor->CtrlHeight->value(), 50);
  EXPECT_EQ(editor->CtrlGridSize->value(), 7);
  EXPECT_EQ(editor->Design(), DesignRaster(50, 50));
  EXPECT_EQ(Grid()->CellSize(), 7);
  EXPECT_EQ(Items(editor->CtrlDmcNames), QStringList({"Blanc", "321", "336", "702", "321", "310"}));
  EXPECT_EQ(editor->CtrlDmcNames->currentIndex(), 0);
  EXPECT_EQ(Items(editor->CtrlForeColor), QStringList({"310"}));
  EXPECT_EQ(Items(editor->CtrlBackColor), QStringList({"Blanc"}));
  EXPECT_EQ(editor->ForeColor, kBlack);
  EXPECT_EQ(editor->BackColor, kBlanc);
  EXPECT_TRUE(editor->CtrlPaint->isChecked());
  EXPECT_EQ(editor->Tool(), DesignTool::Pencil);
  EXPECT_EQ(editor->ctrlfullellipse->toolTip(), "Filled circle");
  EXPECT_EQ(editor->ctrladdfore->text(), "<<");
  EXPECT_EQ(editor->CtrlForeColor->statusTip(),
            "Foreground color list (left mouse button when painting)");
  QStringList menu;
  for (QAction* action : editor->DesignMenu->actions()) menu << action->text();
  EXPECT_EQ(menu, QStringList({"&Undo", "&Redo", "&Load", "&Save", "", "&Close"}));
  EXPECT_FALSE(editor->Undo1->isEnabled());
  EXPECT_FALSE(editor->Redo1->isEnabled());
  EXPECT_FALSE(editor->Modified());
  EXPECT_FALSE(editor->isWindowModified());
  // Each tool button gives the grid its tool.
  Choose(DesignTool::FilledEllipse);
  EXPECT_EQ(editor->Tool(), DesignTool::FilledEllipse);
  EXPECT_FALSE(editor->CtrlPaint->isChecked());
}

TEST_F(DesignEditor, EveryToolPaintsItsCellsWithTheColourOfItsButton) {
  using Rule = CellRect (*)(DesignRaster&, Cell, Cell, TColor);
  const std::pair<DesignTool, Rule> drags[] = {{DesignTool::Line, PaintLine},
                                               {DesignTool::Rectangle, PaintRectangle},
                                               {DesignTool::FilledRectangle, PaintFilledRectangle},
                                               {DesignTool::Ellipse, PaintEllipse},
                                               {DesignTool::FilledEllipse, PaintFilledEllipse}};
  for (auto [button, colour] : {std::pair{Qt::LeftButton, kBlack}, {Qt::RightButton, kBlanc}}) {
    for (auto [tool, rule] : drags) {
      SCOPED_TRACE(int(tool));
      Open();
      Choose(tool);
      // From (5, 3) to (2, 9) and (17, 4): the cells the rule gives for those cells.
      DesignRaster expected(50, 50);
      rule(expected, {5, 3}, {17, 4}, colour);
      Press(At(5, 3), button);
      Move(At(2, 9), button);
      Move(At(17, 4), button);
      Release(At(30, 30), button);  // the release point itself is not used
      EXPECT_EQ(editor->Design(), expected);
      EXPECT_FALSE(Grid()->Band());
    }
    Open();
    Choose(DesignTool::Pencil);
    Press(At(20, 20), button);
    Release(At(4, 6), button);  // the pencil paints where it is released
    DesignRaster expected(50, 50);
    expected.Set(4, 6, colour);
    EXPECT_EQ(editor->Design(), expected);
    EXPECT_EQ(Shown({4, 6}), colour);
    EXPECT_EQ(Shown({20, 20}), kDesignWhite);
    // Fill: a closed square of the other colour keeps its inside apart.
    Choose(DesignTool::Rectangle);
    Drag(At(10, 10), At(14, 14), Qt::LeftButton);
    Choose(DesignTool::Fill);
    Press(At(0, 0), button);
    Release(At(12, 12), button);
    EXPECT_EQ(editor->Design().At(12, 12), colour);
    EXPECT_EQ(editor->Design().At(0, 0), kDesignWhite);
    EXPECT_EQ(editor->Design().At(15, 15), kDesignWhite);
    EXPECT_EQ(Shown({12, 12}), colour);
  }
}

TEST_F(DesignEditor, TheMiddleButtonAndPointsOffTheDesignPaintNothing) {
  Resize(20, 20);
  const QPoint past = At(25, 25);  // on the grid, past the design's last cell
  for (int code = 0; code < kDesignToolCount; ++code) {
    Choose(DesignTool(code));
    Drag(At(2, 2), At(8, 8), Qt::MiddleButton);
    Drag(past, At(8, 8), Qt::LeftButton);  // a press there starts nothing
    EXPECT_FALSE(Grid()->Dragging());
  }
  for (DesignTool tool : {DesignTool::Pencil, DesignTool::Fill, DesignTool::Pickup}) {
    Choose(tool);
    Drag(At(2, 2), past, Qt::LeftButton);
  }
  EXPECT_EQ(editor->Design(), DesignRaster(20, 20));
  EXPECT_EQ(editor->History().Stack().count(), 2);  // the two resizes only
  // A drag released past an edge ends on the nearest cell of the design.
  Choose(DesignTool::FilledRectangle);
  Press(At(15, 17), Qt::LeftButton);
  Move(past, Qt::LeftButton);
  Release(past, Qt::LeftButton);
  DesignRaster expected(20, 20);
  PaintFilledRectangle(expected, {15, 17}, {19, 19}, kBlack);
  EXPECT_EQ(editor->Design(), expected);
}

TEST_F(DesignEditor, TheBandFollowsTheDragAndGoesWithoutTouchingTheDesign) {
  // Every region painted, to prove the old band is always painted over.
  struct Recorder : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
      return false;
    }
  } recorder;
  Viewport()->installEventFilter(&recorder);
  const auto band_pixels = [&] {
    const QImage shown = Viewport()->grab().toImage();
    int black = 0, white = 0;
    for (int x = At(3, 0).x(); x <= At(12, 0).x(); ++x) {
      const TColor colour = ColorOfPixel(shown.pixel(x, At(0, 3).y()));
      black += colour == kBlack;
      white += colour == kDesignWhite;
    }
    return std::pair{black, white};
  };
  // Cells of another colour behind the band: it shows on them too.
  editor->ForeColor = kRed;
  Choose(DesignTool::FilledRectangle);
  Drag(At(0, 0), At(20, 20), Qt::LeftButton);
  const DesignRaster painted = editor->Design();
  editor->ForeColor = kBlack;

  for (int ending = 0; ending < 3; ++ending) {
    SCOPED_TRACE(ending);
    Choose(DesignTool::Rectangle);
    Press(At(3, 3), Qt::LeftButton);
    Move(At(12, 9), Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_TRUE(Grid()->Band());
    const QRegion old_band = Grid()->Band()->Area();
    auto [black, white] = band_pixels();
    EXPECT_GT(black, 5);
    EXPECT_GT(white, 5);
    recorder.painted = {};
    Move(At(6, 14), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.painted.contains(old_band.boundingRect().topLeft()));
    EXPECT_EQ((old_band - recorder.painted), QRegion());
    const QRegion last_band = Grid()->Band()->Area();
    recorder.painted = {};
    if (ending == 0) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(Grid(), &escape);
    } else if (ending == 1) {
      QEvent lost(QEvent::UngrabMouse);
      QCoreApplication::sendEvent(Viewport(), &lost);
    } else {
      Move(At(7, 7), Qt::NoButton);  // the release went elsewhere
    }
    EXPECT_FALSE(Grid()->Dragging());
    QCoreApplication::processEvents();
    EXPECT_EQ(last_band - recorder.painted, QRegion());
    Release(At(6, 14), Qt::LeftButton);  // idle again: a late release paints nothing
    EXPECT_EQ(editor->Design(), painted);
    EXPECT_EQ(band_pixels().first, 0);
  }
  Viewport()->removeEventFilter(&recorder);
}

TEST_F(DesignEditor, ADragBelongsToItsButtonAndKeepsItsCellsWhileTheGridScrolls) {
  Choose(DesignTool::Line);
  Press(At(1, 1), Qt::LeftButton);
  Press(At(9, 2), Qt::RightButton);  // ignored, and so is its release
  Release(At(9, 2), Qt::RightButton);
  Move(At(6, 1), Qt::LeftButton | Qt::RightButton);
  Release(At(6, 1), Qt::LeftButton);
  DesignRaster expected(50, 50);
  PaintLine(expected, {1, 1}, {6, 1}, kBlack);
  EXPECT_EQ(editor->Design(), expected);

  Resize(300, 300);
  Grid()->ScrollTo(120, 150);
  ASSERT_EQ(Grid()->horizontalScrollBar()->value(), 120);
  Choose(DesignTool::Pencil);
  Press(At(125, 157), Qt::RightButton);
  Release(At(125, 157), Qt::RightButton);
  EXPECT_EQ(editor->Design().At(125, 157), kBlanc);
  Choose(DesignTool::Rectangle);
  Press(At(130, 160), Qt::LeftButton);
  Grid()->ScrollTo(126, 155);
  Move(At(134, 162), Qt::LeftButton);
  Release(At(134, 162), Qt::LeftButton);
  expected = DesignRaster(300, 300);
  expected.Set(125, 157, kBlanc);
  PaintRectangle(expected, {130, 160}, {134, 162}, kBlack);
  EXPECT_EQ(editor->Design(), expected);
}

TEST_F(DesignEditor, TheColourListsAddEachNameOnceAndPaintTheColourTheyShow) {
  editor->CtrlDmcNames->setCurrentIndex(1);
  editor->ctrladdfore->click();
  editor->ctrladdfore->click();
  EXPECT_EQ(Items(editor->CtrlForeColor), QStringList({"310", "321"}));
  EXPECT_EQ(editor->CtrlForeColor->currentIndex(), 1);
  EXPECT_EQ(editor->ForeColor, kRed);
  // The palette's second "321" chooses the listed one, with the colour it was listed with.
  editor->CtrlDmcNames->setCurrentIndex(4);
  editor->ctrladdfore->click();
  EXPECT_EQ(Items(editor->CtrlForeColor), QStringList({"310", "321"}));
  EXPECT_EQ(editor->ForeColor, kRed);
  editor->ctrladdback->click();
  EXPECT_EQ(Items(editor->CtrlBackColor), QStringList({"Blanc", "321"}));
  EXPECT_EQ(editor->BackColor, kRed2);
  editor->CtrlForeColor->setCurrentIndex(0);
  EXPECT_EQ(editor->ForeColor, kBlack);

  // Pick-up of a colour not in the palette: the nearest entry's exact colour is added.
  const QString path = QString::fromStdString(files.File("near.bmp"));
  WriteFileBytes(path.toStdString(),
                 HandMadeBitmap(1, 1, 24, 0, {}, std::string("\x05\x96\x05\x00", 4)));
  Load(path);
  ASSERT_EQ(editor->Design().At(0, 0), MakeColor(5, 150, 5));
  Choose(DesignTool::Pickup);
  Press(At(0, 0), Qt::RightButton);
  Release(At(0, 0), Qt::RightButton);
  EXPECT_EQ(editor->CtrlDmcNames->currentIndex(), 3);
  EXPECT_EQ(Items(editor->CtrlBackColor), QStringList({"Blanc", "321", "702"}));
  EXPECT_EQ(editor->BackColor, kGreen);
  // The left button adds to the foreground list, dragging or not.
  Press(At(0, 0), Qt::LeftButton);
  Move(At(7, 7), Qt::LeftButton);
  Release(At(0, 0), Qt::LeftButton);
  EXPECT_EQ(Items(editor->CtrlForeColor), QStringList({"310", "321", "702"}));
  EXPECT_EQ(editor->ForeColor, kGreen);
  EXPECT_FALSE(editor->Modified());  // picking up paints nothing
}

TEST_F(DesignEditor, AnEmptyMainPaletteGivesBlackAndWhiteAndNothingToAdd) {
  palette.Clear();
  Open();
  EXPECT_EQ(editor->CtrlDmcNames->count(), 0);
  EXPECT_EQ(editor->CtrlForeColor->count(), 0);
  EXPECT_EQ(editor->ForeColor, kBlack);
  EXPECT_EQ(editor->BackColor, kDesignWhite);
  editor->ctrladdfore->click();
  Choose(DesignTool::Pickup);
  Press(At(1, 1), Qt::LeftButton);
  Release(At(1, 1), Qt::LeftButton);
  EXPECT_EQ(editor->CtrlForeColor->count(), 0);
  Choose(DesignTool::Pencil);
  Press(At(1, 1), Qt::LeftButton);
  Release(At(1, 1), Qt::LeftButton);
  EXPECT_EQ(editor->Design().At(1, 1), kBlack);
}

TEST_F(DesignEditor, ResizingAsksOnlyWhenItWouldEraseWork) {
  LeaveSize(editor->CtrlWidth, 60);  // unmodified: no question
  EXPECT_EQ(editor->Design(), DesignRaster(60, 50));
  EXPECT_TRUE(messages.shown.empty());
  Press(At(2, 2), Qt::LeftButton);
  Release(At(2, 2), Qt::LeftButton);
  const DesignRaster painted = editor->Design();
  LeaveSize(editor->CtrlWidth, 60);  // the same numbers keep it
  EXPECT_EQ(editor->Design(), painted);
  messages.Answer(false);
  LeaveSize(editor->CtrlHeight, 75);
  EXPECT_EQ(editor->Design(), painted);
  EXPECT_EQ(editor->CtrlHeight->value(), 50);
  messages.Answer(true);
  LeaveSize(editor->CtrlHeight, 75);
  EXPECT_EQ(editor->Design(), DesignRaster(60, 75));
  EXPECT_EQ(messages.shown, std::vector<std::string>(
                                2, "Confirm: Changing the size erases the design. Continue ?"));
  EXPECT_EQ(Grid()->verticalScrollBar()->maximum() + Grid()->verticalScrollBar()->pageStep(), 75);
  LeaveSize(editor->CtrlGridSize, 12);
  EXPECT_EQ(Grid()->CellSize(), 12);
}

TEST_F(DesignEditor, LoadedSizesOutsideTheFieldsAreShownAndKept) {
  for (auto [width, height] : {std::pair{1200, 80}, {5, 5}}) {
    DesignRaster picture(width, height);
    picture.Set(width - 1, 0, kNavy);
    const std::string path = files.File("odd.bmp");
    WriteDesignPicture(path, picture, DesignFormat::Bmp);
    Load(QString::fromStdString(path));
    EXPECT_EQ(editor->CtrlWidth->value(), width);
    EXPECT_EQ(editor->CtrlHeight->value(), height);
    emit editor->CtrlWidth->editingFinished();
    emit editor->CtrlHeight->editingFinished();
    EXPECT_EQ(editor->Design(), picture);
    EXPECT_EQ(Grid()->horizontalScrollBar()->maximum() + Grid()->horizontalScrollBar()->pageStep(),
              std::max(width, Grid()->horizontalScrollBar()->pageStep()));
  }
  EXPECT_EQ(editor->Caption(), "Design Editor [odd.bmp]");
  EXPECT_TRUE(messages.shown.empty());
  // A picture too large is refused and changes nothing.
  const std::string large = files.File("large.bmp");
  WriteBitmapFile(large, PictureBlock(PictureBytes(4097, 1), 0), 4097, 1);
  const DesignRaster before = editor->Design();
  Load(QString::fromStdString(large));
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Design too large (at most 4096 by 4096 cells) !"});
  EXPECT_EQ(editor->Design(), before);
}

TEST_F(DesignEditor, SavesTheBytesOfTheBitmapExportAndLoadsThemBack) {
  Choose(DesignTool::FilledEllipse);
  Drag(At(3, 4), At(30, 41), Qt::LeftButton);
  LeaveSize(editor->CtrlGridSize, 5);
  ASSERT_TRUE(editor->Modified());
  EXPECT_TRUE(editor->isWindowModified());
  const DesignRaster painted = editor->Design();
  const std::string saved = files.File("motif.bmp"), reference = files.File("reference.bmp");
  dialogs.AnswerSave(QString::fromStdString(saved));
  ASSERT_TRUE(editor->Save1Click());
  const FileDialogRequest& asked = dialogs.requests.back();
  EXPECT_EQ(asked.title, "Save Design");
  EXPECT_EQ(asked.folder, QString::fromStdString(files.Path()));
  EXPECT_EQ(asked.filter, "BMP files (*.bmp)|*.bmp|PNG files (*.png)|*.png");
  EXPECT_EQ(asked.fileName, "Untitled");
  EXPECT_EQ(asked.defaultSuffix, "bmp");
  // The same pixels exported as a composition's picture.
  PictureBlock block(PictureBytes(50, 50), 0);
  for (uint32_t y = 0; y < 50; ++y)
    for (uint32_t x = 0; x < 50; ++x)
      PutPixelAt(block.data(), PixelOffset(50, 50, x, y), painted.At(int(x), int(y)));
  WriteBitmapFile(reference, block, 50, 50);
  EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(reference));
  EXPECT_EQ(editor->Caption(), "Design Editor [motif.bmp]");
  EXPECT_FALSE(editor->Modified());
  EXPECT_FALSE(editor->isWindowModified());

  // PNG too; a name without extension gets ".bmp" (asking before replacing); any other
  // extension writes nothing.
  const std::string png = files.File("motif.png");
  dialogs.AnswerSave(QString::fromStdString(png));
  ASSERT_TRUE(editor->Save1Click());
  EXPECT_EQ(dialogs.requests.back().folder, QString::fromStdString(files.Path()).chopped(1));
  messages.Answer(false);
  dialogs.AnswerSave(QString::fromStdString(files.File("motif")));
  EXPECT_FALSE(editor->Save1Click());
  dialogs.AnswerSave(QString::fromStdString(files.File("motif.gif")));
  EXPECT_FALSE(editor->Save1Click());
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"Confirm: \"" + saved + "\" already exists. Replace it ?",
                                      "Error: Unknown picture file extension (.gif)"}));
  EXPECT_FALSE(FileExists(files.File("motif.gif")));
  for (const std::string& path : {saved, png}) {
    Open();
    Load(QString::fromStdString(path));
    EXPECT_EQ(editor->Design(), painted) << path;
    EXPECT_FALSE(editor->Modified());
  }
  const FileDialogRequest& load = dialogs.requests.back();
  EXPECT_EQ(load.title, "Load Design");
  EXPECT_FALSE(load.multiple);
}

TEST_F(DesignEditor, LoadsHandMadeBitmapsOfEveryDepthWithTheirColours) {
  const TColor a = MakeColor(10, 200, 30), b = MakeColor(240, 5, 120), c = MakeColor(1, 2, 3);
  // Two by two: the top row a b, the bottom row b c (rows stored bottom first).
  const std::vector<TColor> table = {a, b, c};
  const std::string cases[] = {
      HandMadeBitmap(2, 2, 1, 0, {a, b}, std::string("\x80\0\0\0\x40\0\0\0", 8)),
      HandMadeBitmap(2, 2, 4, 0, table, std::string("\x12\0\0\0\x01\0\0\0", 8)),
      HandMadeBitmap(2, 2, 8, 0, table, std::string("\x01\x02\0\0\0\x01\0\0", 8)),
      HandMadeBitmap(2, 2, 8, 1, table,
                     std::string("\x01\x01\x01\x02\0\0\x01\0\x01\x01\0\0\0\x01", 14)),
      HandMadeBitmap(2, 2, 32, 0, {},
                     std::string("\x78\x05\xF0\0\x03\x02\x01\0\x1E\xC8\x0A\0\x78\x05\xF0\0", 16)),
  };
  const TColor bottom_right[] = {a, c, c, c, c};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const std::string path = files.File("hand.bmp");
    WriteFileBytes(path, cases[i]);
    Load(QString::fromStdString(path));
    ASSERT_EQ(editor->Design().Width(), 2);
    EXPECT_EQ(editor->Design().At(0, 0), a);
    EXPECT_EQ(editor->Design().At(1, 0), b);
    EXPECT_EQ(editor->Design().At(0, 1), b);
    EXPECT_EQ(editor->Design().At(1, 1), bottom_right[i]);
  }
  EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
}

TEST_F(DesignEditor, ADamagedFileOrAFailedWriteChangesNothing) {
  Press(At(2, 2), Qt::LeftButton);
  Release(At(2, 2), Qt::LeftButton);
  const DesignRaster painted = editor->Design();
  const std::string damaged = files.File("damaged.bmp");
  WriteFileBytes(damaged, HandMadeBitmap(4, 4, 24, 0, {}, "").substr(0, 30));
  messages.Answer(false);  // the question about the painted cell: go on without saving
  Load(QString::fromStdString(damaged));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].rfind("Error: Unable to load the design \"damaged.bmp\" :", 0), 0u)
      << messages.shown[1];
  EXPECT_EQ(editor->Design(), painted);
  EXPECT_EQ(editor->Caption(), "Design Editor [ UNTITLED.BMP]");
  EXPECT_TRUE(editor->Modified());

  // The target a folder, and a folder that is a file: nothing written, nothing lost.
  std::filesystem::create_directory(files.File("taken.bmp"));
  WriteFileBytes(files.File("plain"), "old");
  const std::string listed = ListFolder(files.Path());
  for (const std::string& target : {files.File("taken.bmp"), files.File("plain/x.bmp")}) {
    messages.shown.clear();
    dialogs.AnswerSave(QString::fromStdString(target));
    EXPECT_FALSE(editor->Save1Click());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("Error: ", 0), 0u);
    EXPECT_EQ(editor->Caption(), "Design Editor [ UNTITLED.BMP]");
    EXPECT_TRUE(editor->Modified());
  }
  EXPECT_EQ(ReadFileBytes(files.File("plain")), "old");
  EXPECT_EQ(ListFolder(files.Path()), listed);  // no temporary file left behind
}

TEST_F(DesignEditor, ClosingAndLoadingAskAboutUnsavedChanges) {
  const std::string question = "Confirm: Save changes to :\"UNTITLED.BMP\" ?";
  EXPECT_TRUE(editor->close());  // unmodified: no question
  const auto paint = [&] {
    Open();
    Press(At(2, 2), Qt::LeftButton);
    Release(At(2, 2), Qt::LeftButton);
  };
  paint();
  messages.Answer(false);
  EXPECT_TRUE(editor->close());
  paint();
  messages.Answer(true);  // Yes, then the save dialog cancelled: the editor stays
  EXPECT_FALSE(editor->close());
  EXPECT_TRUE(editor->isVisible());
  messages.Answer(true);
  dialogs.AnswerSave(QString::fromStdString(files.File("kept.bmp")));
  EXPECT_TRUE(editor->close());
  EXPECT_TRUE(FileExists(files.File("kept.bmp")));
  // Load: Yes then cancel stops the load before its dialog.
  paint();
  const size_t dialogs_before = dialogs.requests.size();
  messages.Answer(true);
  dialogs.AnswerOpen({QString::fromStdString(files.File("kept.bmp"))});
  editor->Load1Click();
  EXPECT_EQ(dialogs.requests.size(), dialogs_before + 1);  // the save dialog only
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(messages.shown, std::vector<std::string>(4, question));
  // Undoing back to the saved state leaves nothing to ask.
  editor->Undo1->trigger();
  EXPECT_FALSE(editor->Modified());
  EXPECT_TRUE(editor->close());
}

TEST_F(DesignEditor, UndoAndRedoGiveBackEachStepExactly) {
  std::vector<DesignRaster> states{editor->Design()};
  const auto step = [&](DesignTool tool, Cell from, Cell to, Qt::MouseButton button) {
    Choose(tool);
    Drag(At(from.col, from.row), At(to.col, to.row), button);
    states.push_back(editor->Design());
  };
  step(DesignTool::Pencil, {3, 3}, {3, 3}, Qt::LeftButton);
  step(DesignTool::Line, {0, 0}, {9, 4}, Qt::LeftButton);
  step(DesignTool::FilledRectangle, {5, 5}, {12, 9}, Qt::RightButton);
  step(DesignTool::Ellipse, {1, 2}, {14, 11}, Qt::LeftButton);
  step(DesignTool::Fill, {0, 20}, {0, 20}, Qt::LeftButton);
  messages.Answer(true);
  LeaveSize(editor->CtrlWidth, 25);
  states.push_back(editor->Design());
  step(DesignTool::Fill, {3, 3}, {3, 3}, Qt::RightButton);
  ASSERT_EQ(editor->History().Stack().count(), 7);
  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(editor->Undo1->isEnabled());
    editor->Undo1->trigger();
    EXPECT_EQ(editor->Design(), states[i - 1]) << i;
  }
  EXPECT_FALSE(editor->Undo1->isEnabled());
  EXPECT_FALSE(editor->Modified());
  EXPECT_EQ(editor->CtrlWidth->value(), 50);
  for (size_t i = 1; i < states.size(); ++i) {
    editor->Redo1->trigger();
    EXPECT_EQ(editor->Design(), states[i]) << i;
  }
  EXPECT_FALSE(editor->Redo1->isEnabled());
  EXPECT_EQ(editor->CtrlWidth->value(), 25);
  EXPECT_EQ(Shown({3, 3}), kBlanc);

  // Past the cap the oldest steps go, and a dropped saved state is never clean again.
  DesignHistory& history = editor->History();
  history.SetCap(2 * 25 * 50 * sizeof(TColor));  // two whole-design steps
  Choose(DesignTool::Fill);
  for (TColor colour : {kRed, kNavy, kGreen}) {
    editor->ForeColor = colour;
    Drag(At(0, 0), At(0, 0), Qt::LeftButton);
  }
  EXPECT_EQ(history.Stack().count(), 2);
  EXPECT_LE(history.Bytes(), 2u * 25 * 50 * sizeof(TColor));
  history.Stack().undo();
  history.Stack().undo();
  EXPECT_EQ(editor->Design().At(0, 0), kRed);
  EXPECT_FALSE(history.Stack().canUndo());
  EXPECT_TRUE(editor->Modified());
}

TEST_F(DesignEditor, ZoomKeepsTheCellUnderTheMouse) {
  Resize(400, 400);
  Grid()->ScrollTo(100, 200);
  const QPoint mouse(203, 117);
  const auto under = [&] { return *Grid()->CellAt(mouse); };
  const Cell cell = under();
  EXPECT_EQ(cell, (Cell{100 + 203 / 8, 200 + 117 / 8}));
  for (int size : {8, 10, 12, 14, 17}) {
    QWheelEvent wheel(QPointF(mouse), Viewport()->mapToGlobal(QPointF(mouse)), {}, {0, 120},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Viewport(), &wheel);
    EXPECT_EQ(editor->CtrlGridSize->value(), size);
    EXPECT_EQ(under(), cell);
  }
  editor->ZoomOut1->trigger();
  EXPECT_EQ(Grid()->CellSize(), 14);
  for (int i = 0; i < 30; ++i) editor->ZoomOut1->trigger();
  EXPECT_EQ(editor->CtrlGridSize->value(), 5);
}

TEST_F(DesignEditor, F1AsksForTheEditorsHelpTopic) {
  std::vector<std::string> topics;
  const HelpSeam previous = InstallHelp([&](const std::string& topic) { topics.push_back(topic); });
  HelpKey help_key;  // as the frame installs it
  qApp->installEventFilter(&help_key);
  for (QWidget* focused :
       {static_cast<QWidget*>(editor->CtrlWidth), editor->DrawGrid1->viewport()}) {
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(focused, &f1);
  }
  qApp->removeEventFilter(&help_key);
  InstallHelp(previous);
  EXPECT_EQ(topics, std::vector<std::string>(2, "design-editor"));
}

class DesignEditorInFrame : public DocumentFixture {
 protected:
  ScriptedMessages messages;
};

TEST_F(DesignEditorInFrame, TheCommandOpensEditorsWhoseMenuFollowsFileAndTheFrameAsks) {
  Start();
  QAction* command = frame->Action(Command::DesignEditor);
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  command->trigger();
  EXPECT_EQ(frame->mdi->subWindowList().size(), 2);
  TDesignFrm* editor = frame->ActiveDesignEditor();
  ASSERT_TRUE(editor);
  const QList<QAction*> bar = frame->menuBar()->actions();
  ASSERT_GE(bar.size(), 2);
  EXPECT_EQ(bar[0], frame->FileMenu->menuAction());
  EXPECT_EQ(bar[1], editor->DesignMenu->menuAction());
  // A painted design stops the frame's close when its save is cancelled.
  editor->Tools->button(int(DesignTool::Pencil))->click();
  QWidget* viewport = editor->DrawGrid1->viewport();
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(3, 3), viewport->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  }
  ASSERT_TRUE(editor->Modified());
  // Another child window becoming current ends a drag, painting nothing.
  editor->Tools->button(int(DesignTool::Line))->click();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), viewport->mapToGlobal(QPointF(3, 3)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &press);
  ASSERT_TRUE(editor->DrawGrid1->Dragging());
  frame->mdi->activatePreviousSubWindow();
  EXPECT_FALSE(editor->DrawGrid1->Dragging());
  // The Window menu names it with Qt's modified mark.
  emit frame->WindowMenu->aboutToShow();
  QStringList listed;
  for (QAction* action : frame->WindowMenu->actions()) listed << action->text();
  EXPECT_TRUE(listed.contains("&1 Design Editor [ UNTITLED.BMP]"))
      << listed.join(", ").toStdString();
  EXPECT_TRUE(listed.contains("&2 Design Editor [ UNTITLED.BMP]*"));
  messages.Answer(true);
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(frame->mdi->subWindowList().size(), 1);  // the unmodified one closed
  messages.Answer(false);
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(messages.shown,
            std::vector<std::string>(2, "Confirm: Save changes to :\"UNTITLED.BMP\" ?"));
}

}  // namespace
