// puntel-cli grid: the whole stitch pattern as the grid window paints it, as a PNG.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <iostream>

#include "base/exceptions.h"
#include "cli/document.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/pattern_inputs.h"
#include "cli/png_file.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/draw/symbol_drawing.h"

namespace {

QImage PatternImage(const TpunCompo& composition, SymbolDrawing& symbols, int edge) {
  const QSize size = PatternSize(composition.Width(), composition.Height(), edge);
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) throw CliError("Not enough memory for this operation.");
  image.fill(QColor::fromRgb(kPatternBase));
  QPainter painter(&image);
  // The window's button colour on the same platform: what its transparent cells show.
  const QColor transparent = QGuiApplication::palette().color(QPalette::Button);
  StitchPattern(composition, symbols, edge, transparent).PaintAll(painter);
  return image;
}

void Grid(Arguments& args, const std::string& usage) {
  const int edge =
      ParseNumber(args.TakeOption("--cell", "18"), kSmallestCell, kLargestCell, "--cell");
  const std::string table_file = SymbolTableArgument(args);
  auto palette = LoadMainPalette(args);
  const auto files = args.Positional(2, usage);
  RefuseOverwritingInput(files[0], files[1]);
  auto document = LoadDocument(*palette, files[0], nullptr);
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  SymbolTable table = LoadSymbols(table_file);
  GuiSession session;
  SymbolDrawing symbols(table);
  // The window shows this once and draws the entry blank; so does the command.
  if (const auto problem = symbols.TableChanged())
    std::cerr << "puntel-cli: " << table_file << ": " << *problem << "\n";
  WritePngFile(PatternImage(*document, symbols, edge), files[1]);
}

}  // namespace

Command GridCommand() {
  return {
      "puntel-cli grid FILE.dmc OUT.png [--cell N] [--table FILE] [--palette FILE] "
      "[--match rgb|ciede2000]",
      "the whole stitch pattern as the pattern window paints it (cell 8 to 64, 18 unless "
      "given)",
      Grid};
}
