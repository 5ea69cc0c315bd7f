// puntel-cli grid: the whole stitch pattern as the grid window paints it, as a PNG.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <filesystem>
#include <iostream>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "cli/document.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/draw/symbol_drawing.h"

namespace {

// Qt's PNG quality q gives zlib level (100 - q) * 9 / 91: 85 is level 1, the fastest that
// still compresses (a 400 by 400 pattern at 18 is 7,201 pixels square).
constexpr int kFastPngQuality = 85;

void RefuseOverwritingInput(const std::string& input, const std::string& output) {
  std::error_code error;
  if (std::filesystem::equivalent(input, output, error))
    throw CliError(output + ": is the composition itself");
}

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

// The picture one byte a pixel when every pixel is grey, else a null image.
QImage GreyCopy(const QImage& image) {
  QImage grey(image.size(), QImage::Format_Grayscale8);
  if (grey.isNull()) return grey;
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* out = grey.scanLine(y);
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = row[x];
      if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)) return QImage();
      out[x] = uchar(qRed(pixel));
    }
  }
  return grey;
}

void WritePng(const QImage& image, const std::string& file_name) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  // Black symbols on white, grey lines and a grey button face make a grey picture: written
  // as one byte a pixel it encodes three times faster, with the same pixels.
  const QImage grey = GreyCopy(image);
  const QImage& written = grey.isNull() ? image : grey;
  if (!written.save(&buffer, "PNG", kFastPngQuality))
    throw CliError(file_name + ": cannot encode the pattern");
  ReplacementFile file(file_name);
  if (!file.Created()) throw EInOutError("Cannot create file \"" + file_name + "\"");
  file.Write(bytes.constData(), size_t(bytes.size()));
  file.Commit();
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
  SymbolTable table;
  try {
    table.LoadFromFile(table_file);
  } catch (const std::exception& error) {
    throw CliError(table_file + ": " + error.what());
  }
  GuiSession session;
  SymbolDrawing symbols(table);
  // The window shows this once and draws the entry blank; so does the command.
  if (const auto problem = symbols.TableChanged())
    std::cerr << "puntel-cli: " << table_file << ": " << *problem << "\n";
  WritePng(PatternImage(*document, symbols, edge), files[1]);
}

}  // namespace

Command GridCommand() {
  return {"puntel-cli grid FILE.dmc OUT.png [--cell N] [--table FILE] [--palette FILE]",
          "the whole stitch pattern as the pattern window paints it (cell 8 to 64, 18 unless "
          "given)",
          Grid};
}
