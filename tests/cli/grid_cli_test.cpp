// puntel-cli grid: the pattern window's pixels for the whole pattern, written atomically.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <memory>

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
