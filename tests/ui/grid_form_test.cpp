// The stitch pattern window: every cell as the symbols draw it, the lines, the counts that
// follow the picture, the caption and the line about colours without a symbol.
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <filesystem>

#include "app/app_settings.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/ui/grid_form.h"
#include "pattern/ui/pattern_grid_widget.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

class StitchPatternWindow : public DocumentFixture {
 protected:
  // A document whose working palette is its picture's own colours, pixel i (row by row)
  // being palette entry i, and a symbol table of `symbols` letters.
  TMDIChild* Document(uint16_t width, uint16_t height, int symbols) {
    Start();
    TMDIChild* document = Import(width, height);
    if (!document) return nullptr;
    TpunPal& palette = document->Composition->Palette();
    palette.Clear();
    const TPicture& picture = document->Composition->SourcePicture();
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        palette.AddClr(PixelAt(picture.Data(), PixelOffset(width, height, x, y)),
                       std::to_string(palette.Count()));
    std::vector<std::string> entries;
    for (int i = 0; i < symbols; ++i) entries.push_back("DejaVu Sans," + std::to_string(65 + i));
    frame->SymbolTable = ::SymbolTable(entries);
    frame->Symbols.TableChanged();
    return document;
  }
  TGridForm* OpenGrid(TMDIChild* document) {
    frame->Action(Command::StitchPattern)->trigger();
    return qobject_cast<TGridForm*>(document->GridWindow.data());
  }
  static QImage Shown(TGridForm* grid) {
    return grid->DrawGrid1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static QImage Cell(const QImage& grid, int col, int row, int edge) {
    return grid.copy(col * edge + 1, row * edge + 1, edge - 1, edge - 1);
  }
};

TEST_F(StitchPatternWindow, EveryCellIsItsSymbolTheTransparentOnesButtonFace) {
  TMDIChild* document = Document(3, 2, 8);
  ASSERT_TRUE(document);
  document->Composition->SetTransparencyOn(true);
  document->Composition->SetTransparentColor(2);
  TGridForm* grid = OpenGrid(document);
  ASSERT_TRUE(grid);
  EXPECT_TRUE(document->GridOpen);
  EXPECT_EQ(grid->windowTitle(), "Pattern of : \"" + document->Caption() + "\"");
  const int edge = grid->DrawGrid1->Edge();
  ASSERT_EQ(edge, 18);
  const QImage shown = Shown(grid);
  ASSERT_EQ(shown.size(), QSize(3 * 18 + 1, 2 * 18 + 1));  // 3 columns, 2 rows
  const QColor button = grid->DrawGrid1->palette().color(QPalette::Button);
  for (int i = 0; i < 6; ++i) {
    const QImage cell = Cell(shown, i % 3, i / 3, edge);
    if (i == 2) {
      EXPECT_EQ(cell.pixelColor(5, 5), button);
      EXPECT_EQ(cell.pixelColor(16, 16), button);
      continue;
    }
    const auto symbol = frame->SymbolTable.SymbolOfColor(uint32_t(i), 6);
    ASSERT_TRUE(symbol);
    const QImage fresh = SymbolDrawing(frame->SymbolTable)
                             .RenderSymbol(int32_t(*symbol), edge)
                             .convertToFormat(QImage::Format_RGB32);
    // The line over its first column and row takes nothing a symbol draws.
    EXPECT_TRUE(AllWhite(fresh.copy(0, 0, edge, 1)) && AllWhite(fresh.copy(0, 0, 1, edge))) << i;
    EXPECT_EQ(cell, fresh.copy(1, 1, edge - 1, edge - 1)) << "cell " << i;
  }
  // puntel-cli grid paints through the same code with the application's button colour.
  QImage painted(shown.size(), QImage::Format_RGB32);
  QPainter painter(&painted);
  StitchPattern(*document->Composition, frame->Symbols, edge,
                QGuiApplication::palette().color(QPalette::Button))
      .PaintAll(painter);
  painter.end();
  EXPECT_EQ(painted, shown);
  // Transparency off: the same cell shows colour 2's symbol.
  document->Composition->SetTransparencyOn(false);
  const QImage opaque = Shown(grid);
  EXPECT_NE(Cell(opaque, 2, 0, edge), Cell(shown, 2, 0, edge));
  // Asked again it is the same window, and closing it tells the document.
  frame->Action(Command::StitchPattern)->trigger();
  EXPECT_EQ(document->GridWindow.data(), grid);
  QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow*>(grid->parentWidget());
  ASSERT_TRUE(sub);
  sub->close();
  EXPECT_FALSE(document->GridOpen);
  EXPECT_FALSE(document->GridWindow);
  EXPECT_TRUE(WaitFor([&] { return sub.isNull(); }));
}

TEST_F(StitchPatternWindow, ColoursWithoutSymbolsStayWhiteAndTheLineSaysWhy) {
  TMDIChild* document = Document(3, 2, 4);
  ASSERT_TRUE(document);
  TGridForm* grid = OpenGrid(document);
  ASSERT_TRUE(grid);
  const QImage shown = Shown(grid);
  EXPECT_FALSE(AllWhite(Cell(shown, 0, 1, 18)));  // colour 3 has symbol 2
  EXPECT_TRUE(AllWhite(Cell(shown, 1, 1, 18)));   // colours 4 and 5 have none
  EXPECT_TRUE(AllWhite(Cell(shown, 2, 1, 18)));
  EXPECT_FALSE(grid->ShortageLine->isHidden());
  EXPECT_EQ(grid->ShortageLine->text(),
            "Too many colors ! 4 symbols for 6 colors: colors from 5 on have no symbol.");
  // Once the table has a symbol for every colour the line goes at the next paint.
  frame->SymbolTable = ::SymbolTable(std::vector<std::string>(6, "DejaVu Sans,66"));
  frame->Symbols.TableChanged();
  grid->DrawGrid1->grab();
  EXPECT_TRUE(grid->ShortageLine->isHidden());
}

TEST_F(StitchPatternWindow, EveryTenthLineIsDarkerAndTurnsChangeTheCounts) {
  TMDIChild* document = Document(25, 12, 60);
  ASSERT_TRUE(document);
  Settings().CellSize = 3;  // the windows draw with 8 at least
  TGridForm* grid = OpenGrid(document);
  Settings().CellSize = 18;
  ASSERT_TRUE(grid);
  const int e = grid->DrawGrid1->Edge();
  ASSERT_EQ(e, kSmallestCell);
  const QImage shown = Shown(grid);
  ASSERT_EQ(shown.size(), QSize(25 * e + 1, 12 * e + 1));
  for (int k = 0; k <= 25; ++k)
    EXPECT_EQ(shown.pixel(k * e, e / 2) | 0xFF000000, k % 10 ? kPatternLine : kPatternTenthLine)
        << "column line " << k;
  for (int k = 0; k <= 12; ++k)
    EXPECT_EQ(shown.pixel(e / 2, k * e) | 0xFF000000, k % 10 ? kPatternLine : kPatternTenthLine)
        << "row line " << k;

  // Painted in small pieces, as scrolling exposes it, the grid is the same.
  QImage pieces(shown.size(), QImage::Format_RGB32);
  for (int y = 0; y < shown.height(); y += 11)
    for (int x = 0; x < shown.width(); x += 13)
      grid->DrawGrid1->render(&pieces, QPoint(x, y), QRegion(x, y, 13, 11));
  EXPECT_EQ(pieces, shown);

  document->TurnRightClick();
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_EQ(grid->DrawGrid1->Columns(), 12);
  EXPECT_EQ(grid->DrawGrid1->Rows(), 25);
  EXPECT_EQ(grid->DrawGrid1->grab().size(), QSize(12 * e + 1, 25 * e + 1));

  // A picture update repaints the grid.
  int paints = 0;
  QObject::connect(grid->DrawGrid1, &PatternGridWidget::painted, [&] { ++paints; });
  document->StartPictureUpdate(true);
  EXPECT_TRUE(WaitFor([&] { return !document->Working() && paints > 0; }));
  // A picture replaced without a set-up: the paint reads only what the picture holds, and
  // the counts follow it.
  document->Composition->SetPicture(TPicture(5, 4, PictureBlock(PictureBytes(5, 4), 0)));
  grid->DrawGrid1->grab();
  EXPECT_TRUE(WaitFor([&] { return grid->DrawGrid1->Columns() == 5; }));
  EXPECT_EQ(grid->DrawGrid1->Rows(), 4);
}

TEST_F(StitchPatternWindow, ABadEntryIsNamedOnceAtLoadAndNeverWhilePainting) {
  std::filesystem::create_directories(config.Path() + "puntel");
  WriteFileBytes(config.Path() + "puntel/carac.tbl", "DejaVu Sans,65\r\nDejaVu Sans,6x\r\n");
  ScriptedMessages messages;
  Start();
  const std::vector<std::string> once{"Error: '6x' is not a valid integer value"};
  EXPECT_EQ(messages.shown, once);
  TMDIChild* document = Import(20, 10);
  ASSERT_TRUE(document);
  // Two colours: the picture's first and last pixels, so both are drawn.
  TpunPal& palette = document->Composition->Palette();
  const TPicture& picture = document->Composition->SourcePicture();
  const TColor first = PixelAt(picture.Data(), PixelOffset(20, 10, 0, 0));
  const TColor last = PixelAt(picture.Data(), PixelOffset(20, 10, 19, 9));
  palette.Clear();
  palette.AddClr(first, "first");
  palette.AddClr(last, "last");
  TGridForm* grid = OpenGrid(document);
  ASSERT_TRUE(grid);
  const QImage shown = Shown(grid);  // 200 cells
  grid->DrawGrid1->grab();
  EXPECT_EQ(messages.shown, once);
  // Colour 1 has the entry that does not parse: its cells are blank.
  EXPECT_FALSE(AllWhite(Cell(shown, 0, 0, 18)));
  EXPECT_TRUE(AllWhite(Cell(shown, 19, 9, 18)));
}

TEST_F(StitchPatternWindow, ANewCompositionAndTheWindowsSetUpFitTheSymbolsAfresh) {
  Start();
  // The per mille sign is wider than it is high: fitted first, it makes the font smaller.
  frame->SymbolTable = ::SymbolTable({"DejaVu Sans,137", "DejaVu Sans,65"});
  frame->Symbols.TableChanged();
  const int wide = frame->Symbols.FittedSize(0, 18);
  EXPECT_EQ(frame->Symbols.FittedSize(1, 18), wide);
  frame->Action(Command::New)->trigger();
  const int letter = frame->Symbols.FittedSize(1, 18);
  EXPECT_GT(letter, wide);
  EXPECT_EQ(frame->Symbols.FittedSize(0, 18), letter);
  TMDIChild* document = Import(3, 2);
  ASSERT_TRUE(document);
  frame->Symbols.ResetFontCache();
  ASSERT_EQ(frame->Symbols.FittedSize(0, 18), wide);
  ASSERT_TRUE(OpenGrid(document));
  EXPECT_EQ(frame->Symbols.FittedSize(1, 18), letter);
}

TEST_F(StitchPatternWindow, ChangedSymbolsArePaintedWholeNotOnlyWhereExposed) {
  TMDIChild* document = Document(3, 2, 8);
  ASSERT_TRUE(document);
  TGridForm* grid = OpenGrid(document);
  ASSERT_TRUE(grid);
  PatternGridWidget* cells = grid->DrawGrid1;
  ASSERT_TRUE(WaitFor([&] { return !cells->visibleRegion().isEmpty(); }));
  WaitFor([] { return false; }, 100);  // the paints of opening are over
  int paints = 0;
  const auto counting = QObject::connect(cells, &PatternGridWidget::painted, [&] { ++paints; });
  // A table edited elsewhere: a small exposed piece brings a paint of the whole.
  frame->SymbolTable = ::SymbolTable(std::vector<std::string>(8, "DejaVu Sans,90"));
  frame->Symbols.TableChanged();
  cells->repaint(QRect(0, 0, 5, 5));
  EXPECT_TRUE(WaitFor([&] { return paints >= 2; }));
  // Unchanged symbols: a piece stays a piece.
  paints = 0;
  cells->repaint(QRect(0, 0, 5, 5));
  WaitFor([] { return false; }, 50);
  EXPECT_EQ(paints, 1);
  // Activated again after the table changed (back from the character table): painted.
  frame->Symbols.ResetFontCache();
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(cells, &activate);
  EXPECT_TRUE(WaitFor([&] { return paints >= 2; }));
  QObject::disconnect(counting);
}

TEST_F(StitchPatternWindow, RefusedWhileBusyAndClosedWithItsDocument) {
  TMDIChild* document = Document(3, 2, 8);
  ASSERT_TRUE(document);
  document->SetWork(DocWork::Reporting);
  document->Stitchpattern1Click();
  EXPECT_FALSE(document->GridOpen);
  document->SetWork(DocWork::Idle);
  QPointer<TGridForm> grid = OpenGrid(document);
  ASSERT_TRUE(grid);
  auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget());
  ASSERT_TRUE(sub);
  // A save asked for that fails keeps the document, and its pattern with it.
  document->Composition->SetModified(true);
  document->FileName = "/no such folder/pattern.dmc";
  {
    ScriptedMessages messages;
    messages.Answer(true);
    EXPECT_FALSE(sub->close());
  }
  EXPECT_TRUE(document->GridOpen);
  EXPECT_FALSE(grid.isNull());
  document->Composition->SetModified(false);
  sub->close();
  EXPECT_TRUE(WaitFor([&] { return grid.isNull(); }));
}

}  // namespace
