// puntel-cli chartable: the character table drawn as the dialog's grid shows it, and its
// sort by ink.

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cstdio>

#include "base/exceptions.h"
#include "cli/document.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/png_file.h"
#include "pattern/draw/symbol_drawing.h"

namespace {

// The dialog's grid: 20 columns, (entries div 20) + 1 rows.
constexpr int kColumns = 20;
// The edge the dialog draws and sorts at.
constexpr int kDialogEdge = 20;

SymbolTable LoadTable(const std::string& path) {
  try {
    return SymbolTable(LoadSymbolTable(path));
  } catch (const Exception& error) {
    throw CliError(error.Message());
  }
}

// The table's entries parsed; an entry that does not parse is named once, as the windows
// name it, and draws blank.
void Prepare(SymbolDrawing& symbols) {
  if (const auto error = symbols.TableChanged())
    std::fprintf(stderr, "puntel-cli: warning: %s\n", error->c_str());
}

QImage TablePicture(SymbolDrawing& symbols, int cell) {
  const int pitch = cell + 1;
  const int rows = symbols.SymbolCount() / kColumns + 1;
  // The dialog's colours on the same platform: its grid lines, one pixel right of and
  // below every cell, in the button colour, and the cells past the table in the base one.
  const QPalette colours = QGuiApplication::palette();
  QImage image = SymbolCanvas(kColumns * pitch, rows * pitch);
  image.fill(colours.color(QPalette::Button));
  QPainter painter(&image);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int index = row * kColumns + column;
      const int x = column * pitch, y = row * pitch;
      painter.fillRect(x, y, cell, cell, colours.color(QPalette::Base));
      symbols.DrawSymbol(index, x, y, cell, painter);
    }
  }
  return image;
}

std::string Hex(char32_t character) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", unsigned(character));
  return text;
}

// What an entry draws: its character, the digits standing for a missing shape, or "-".
std::string Drawn(const SymbolFace& face) {
  if (!face.parsed) return "-";
  if (face.digits) return "digits " + std::to_string(face.byte);
  return face.character ? Hex(face.character) : "-";
}

void Render(Arguments& args, const std::string& usage) {
  const int cell = ParseNumber(args.TakeOption("--cell", "20"), 1, 256, "--cell");
  const auto files = args.Positional(2, usage);
  SymbolTable table = LoadTable(files[0]);
  GuiSession session;
  SymbolDrawing symbols(table);
  Prepare(symbols);
  // Drawn first, so that every font's size is the one fitted with its first cell.
  const QImage picture = TablePicture(symbols, cell);
  WritePngFile(picture, files[1]);
  for (int32_t i = 0; i < symbols.SymbolCount(); ++i) {
    const SymbolFace& face = symbols.FaceOf(i);
    const bool drawn = face.parsed && (face.digits || face.character);
    PrintLine(std::to_string(i) + "\t" + table.Entry(i) + "\t" +
              (face.parsed ? (face.digits ? "DejaVu Sans" : face.family.toStdString()) : "-") +
              "\t" + Drawn(face) + "\t" +
              (drawn ? std::to_string(symbols.FittedSize(i, cell)) : "-"));
  }
}

void Sort(Arguments& args, const std::string& usage) {
  const std::string out = args.TakeOption("-o", "");
  const auto files = args.Positional(1, usage);
  FileLock lock(files[0]);  // sorted in place: from the load to the save
  SymbolTable table = LoadTable(files[0]);
  GuiSession session;
  SymbolDrawing symbols(table);
  Prepare(symbols);
  const std::vector<uint32_t> whiteness = symbols.SortByInk(kDialogEdge);
  try {
    SaveSymbolTable(out.empty() ? files[0] : out, table.Entries());
  } catch (const Exception& error) {
    throw CliError(error.Message());
  }
  for (int32_t i = 0; i < table.Count(); ++i)
    PrintLine(std::to_string(whiteness[size_t(i)]) + "\t" + table.Entry(i));
}

}  // namespace

const CommandTable& ChartableCommands() {
  static const CommandTable commands = {
      {"render",
       {"puntel-cli chartable render TABLE.tbl OUT.png [--cell N]",
        "the table as the character table's grid shows it: 20 columns of N-pixel cells (20 "
        "unless given, 1 to 256), each followed right and below by a 1-pixel grid line in the "
        "button colour; "
        "per entry on stdout: index, entry, font drawn, character (U+XXXX, \"digits N\" for a "
        "shape the stand-in font lacks, \"-\" for none), fitted point size; an entry that "
        "does not parse draws blank and is named once on stderr",
        Render}},
      {"sort",
       {"puntel-cli chartable sort TABLE.tbl [-o OUT]",
        "sort the table by ink at 20 pixels, lightest first; prints whiteness and entry in the "
        "new order and writes the table to OUT, or over TABLE.tbl",
        Sort}},
  };
  return commands;
}

int RunChartableCommand(const std::vector<std::string>& words) {
  // Without a word, or asked, it lists its two commands rather than calling help unknown.
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::string help = "puntel-cli chartable COMMAND ...  draw or sort a character table";
    for (const auto& [name, command] : ChartableCommands())
      help += std::string("\n  ") + command.usage + "\n      " + command.summary;
    if (words.empty()) {
      std::fprintf(stderr, "%s\n", help.c_str());
      return 1;
    }
    PrintLine(help);
    return 0;
  }
  return RunCommand(ChartableCommands(), "chartable", words);
}
