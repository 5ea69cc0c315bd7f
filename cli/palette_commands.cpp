#include "cli/palette_commands.h"

#include "cli/command_line.h"
#include "cli/document.h"
#include "palette/floss_palette.h"

namespace {

const char* const kPaletteHelp =
    "puntel-cli palette COMMAND ...  floss palette files (.clr native, CWPAL when the name\n"
    "                                contains \".cla\")\n"
    "  dump FILE               one line per entry: index, name, red, green, blue\n"
    "  convert IN OUT          load IN in any format, save OUT (OUT's name chooses the format)\n"
    "  nearest FILE R G B [--match rgb|ciede2000]\n"
    "                          the entry nearest to a color: index and name\n"
    "  threads FILE            the distinct thread names, one a line\n"
    "  sort IN OUT             sort brightest first and save\n"
    "  mix IN OUT              add the blend of every pair of plain colors and save\n";

void Dump(Arguments& args, const std::string& usage) {
  auto files = args.Positional(1, usage);
  TpunPal palette;
  LoadPalette(palette, files[0]);
  for (int32_t i = 0; i < palette.Count(); ++i) {
    TColor c = palette.GetClr(i);
    PrintLine(std::to_string(i) + "\t" + palette.GetName(i) + "\t" + std::to_string(RedOf(c)) +
              "\t" + std::to_string(GreenOf(c)) + "\t" + std::to_string(BlueOf(c)));
  }
}

void Nearest(Arguments& args, const std::string& usage) {
  const ColorMatch rule = TakeColorMatch(args);
  auto words = args.Positional(4, usage);
  TpunPal palette;
  palette.SetColorMatch(rule);
  LoadPalette(palette, words[0]);
  TColor wanted = MakeColor(uint8_t(ParseNumber(words[1], 0, 255, "red")),
                            uint8_t(ParseNumber(words[2], 0, 255, "green")),
                            uint8_t(ParseNumber(words[3], 0, 255, "blue")));
  if (palette.Count() == 0) throw CliError(words[0] + ": the palette is empty");
  int32_t index = palette.NearestClr(wanted);
  PrintLine(std::to_string(index) + "\t" + palette.GetName(index));
}

void Threads(Arguments& args, const std::string& usage) {
  auto files = args.Positional(1, usage);
  TpunPal palette;
  LoadPalette(palette, files[0]);
  std::vector<std::string> threads;
  palette.ListThreads(threads);
  for (const auto& thread : threads) PrintLine(thread);
}

// Loads IN, changes it and saves OUT.
void Transform(Arguments& args, const std::string& usage, void (TpunPal::*change)()) {
  auto files = args.Positional(2, usage);
  FileLock lock(files[0]);  // OUT may be IN: changed in place, from the load to the save
  TpunPal palette;
  LoadPalette(palette, files[0]);
  if (change) (palette.*change)();
  palette.SaveToFile(files[1]);
}

const CommandTable& Commands() {
  static const CommandTable commands = {
      {"dump",
       {"puntel-cli palette dump FILE", "one line per entry: index, name, red, green, blue", Dump}},
      {"convert",
       {"puntel-cli palette convert IN OUT",
        "load IN in any palette format and save it as OUT; the native enciphered format, or "
        "CWPAL when OUT's name contains \".cla\"",
        [](Arguments& a, const std::string& u) { Transform(a, u, nullptr); }}},
      {"nearest",
       {"puntel-cli palette nearest FILE R G B [--match rgb|ciede2000]",
        "the index and name of the entry nearest to the color R G B (0-255), by exact RGB "
        "or by CIEDE2000",
        Nearest}},
      {"threads",
       {"puntel-cli palette threads FILE",
        "the distinct thread names (a blend A+B counts as A and B), one a line", Threads}},
      {"sort",
       {"puntel-cli palette sort IN OUT",
        "sort the entries brightest first (red + green + blue) and save them as OUT",
        [](Arguments& a, const std::string& u) { Transform(a, u, &TpunPal::Sort); }}},
      {"mix",
       {"puntel-cli palette mix IN OUT",
        "add the half-and-half blend A+B of every pair of plain colors; save as OUT",
        [](Arguments& a, const std::string& u) { Transform(a, u, &TpunPal::MixColors); }}},
  };
  return commands;
}

}  // namespace

int RunPaletteCommand(std::vector<std::string> words) {
  if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
    PrintLine(kPaletteHelp);
    return 0;
  }
  return RunCommand(Commands(), "palette", words);
}
