// puntel-cli grid: the pattern window's pixels for the whole pattern, written atomically.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <map>
#include <memory>
#include <set>

#include "composition/bitmap_file.h"
#include "composition/composition.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/draw/symbol_drawing.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr uint16_t kWidth = 23, kHeight = 12;
const std::string kTable = std::string(PUNTEL_RUNTIME_DIR) + "/carac.tbl";

QGuiApplication& Gui() {
  static int argc = 1;
  static char name[] = "grid_cli_test";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication app(argc, argv);
  return app;
}

class GridCli : public ::testing::Test {
 protected:
  void SetUp() override {
    PictureBlock block(PictureBytes(kWidth, kHeight), 0);
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y),
                   MakeColor(uint8_t(x * 11), uint8_t(y * 21), uint8_t((x * y) % 200)));
    WriteBitmapFile(File("p.bmp"), block, kWidth, kHeight);
    ASSERT_EQ(RunCli("import " + Quoted(File("p.bmp")) + " " + Quoted(File("p.dmc"))).status, 0);
    // Transparent cells too: the colour of the first pixel.
    TpunCompo compo;
    compo.LoadFromFile(File("p.dmc"));
    compo.SetTransparentColor(compo.Palette().NearestClr(
        PixelAt(compo.SourcePicture().Data(), PixelOffset(kWidth, kHeight, 0, 0))));
    compo.SetTransparencyOn(true);
    compo.SaveToFile(File("p.dmc"));
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  // What the window paints for the composition file at `edge`.
  QImage Expected(int edge) {
    Gui();
    TpunCompo compo;
    compo.LoadFromFile(File("p.dmc"));
    SymbolTable table;
    table.LoadFromFile(kTable);
    SymbolDrawing symbols(table);
    symbols.TableChanged();
    QImage image(PatternSize(kWidth, kHeight, edge), QImage::Format_RGB32);
    QPainter painter(&image);
    StitchPattern(compo, symbols, edge, QGuiApplication::palette().color(QPalette::Button))
        .PaintAll(painter);
    return image;
  }

  TempFolder folder_;
};

TEST_F(GridCli, ThePngHoldsTheWindowsPixelsAtEachCellSize) {
  for (const int edge : {18, 9}) {
    const std::string out = File("g" + std::to_string(edge) + ".png");
    const std::string cell = edge == 18 ? "" : " --cell " + std::to_string(edge);
    const auto result = RunCli("grid " + Quoted(File("p.dmc")) + " " + Quoted(out) + cell +
                               " --table " + Quoted(kTable));
    ASSERT_EQ(result.status, 0) << result.err;
    const QImage written(QString::fromStdString(out));
    ASSERT_EQ(written.size(), QSize(kWidth * edge + 1, kHeight * edge + 1));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), Expected(edge)) << edge;
  }
}

TEST_F(GridCli, AfterASearchEveryFlossHasOneSymbolOfItsOwnInEveryCell) {
  // A smooth picture of many colours, brought down to 40 floss.
  constexpr uint16_t w = 64, h = 41;
  PictureBlock block(PictureBytes(w, h), 0);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      PutPixelAt(block.data(), PixelOffset(w, h, x, y),
                 MakeColor(uint8_t(x * 4), uint8_t(y * 6), uint8_t(255 - (x + y) * 2)));
  WriteBitmapFile(File("s.bmp"), block, w, h);
  ASSERT_EQ(RunCli("import " + Quoted(File("s.bmp")) + " " + Quoted(File("s.dmc"))).status, 0);
  ASSERT_EQ(RunCli("search " + Quoted(File("s.dmc")) + " --max-floss 40 --in-place").status, 0);
  ASSERT_EQ(RunCli("mapped " + Quoted(File("s.dmc")) + " " + Quoted(File("m.bmp"))).status, 0);
  for (const int edge : {18, 8}) {
    const std::string out = File("s" + std::to_string(edge) + ".png");
    ASSERT_EQ(RunCli("grid " + Quoted(File("s.dmc")) + " " + Quoted(out) + " --cell " +
                     std::to_string(edge) + " --table " + Quoted(kTable))
                  .status,
              0);
    const QImage grid = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
    const QImage mapped(QString::fromStdString(File("m.bmp")));
    ASSERT_EQ(grid.size(), QSize(w * edge + 1, h * edge + 1));
    // Each cell inside its lines, by the floss colour of its stitch.
    std::map<QRgb, std::set<QByteArray>> cells;
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col) {
        const QImage cell = grid.copy(col * edge + 1, row * edge + 1, edge - 1, edge - 1);
        cells[mapped.pixel(col, row)].insert(
            QByteArray(reinterpret_cast<const char*>(cell.constBits()), int(cell.sizeInBytes())));
      }
    ASSERT_GT(cells.size(), 20u);
    std::set<QByteArray> symbols;
    for (const auto& [colour, shapes] : cells) {
      EXPECT_EQ(shapes.size(), 1u) << edge << ": floss " << std::hex << colour;
      symbols.insert(*shapes.begin());
    }
    EXPECT_EQ(symbols.size(), cells.size()) << edge << ": flosses share a symbol";
    for (int k = 0; k <= w; ++k)
      EXPECT_EQ(grid.pixel(k * edge, edge / 2), k % 10 ? kPatternLine : kPatternTenthLine) << k;
    for (int k = 0; k <= h; ++k)
      EXPECT_EQ(grid.pixel(edge / 2, k * edge), k % 10 ? kPatternLine : kPatternTenthLine) << k;
  }
}

TEST_F(GridCli, BadArgumentsWriteNothing) {
  const std::string p = Quoted(File("p.dmc"));
  const std::string before = ReadFileBytes(File("p.dmc"));
  for (const std::string& arguments :
       {"grid " + p + " " + Quoted(File("o.png")) + " --cell 7",
        "grid " + p + " " + Quoted(File("o.png")) + " --cell x",
        "grid " + p + " " + Quoted(File("o.png")) + " --table " + Quoted(File("none.tbl")),
        "grid " + Quoted(File("p.bmp")) + " " + Quoted(File("o.png")), "grid " + p + " " + p}) {
    const auto result = RunCli(arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_FALSE(result.err.empty()) << arguments;
    EXPECT_FALSE(FileExists(File("o.png"))) << arguments;
  }
  EXPECT_EQ(ReadFileBytes(File("p.dmc")), before);
}

}  // namespace
