// puntel-cli: the pattern designer's model on the command line, for batch work and scripts.

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/composition_commands.h"
#include "cli/drawing_commands.h"
#include "cli/oxs_commands.h"
#include "cli/palette_commands.h"
#include "cli/terminal_text.h"

namespace {

const char* const kHelp =
    "usage: puntel-cli COMMAND ...\n"
    "Counted cross-stitch patterns from pictures, on the command line.\n\n"
    "Commands:\n"
    "  import    a composition from a true-color bitmap, a PNG or a JPEG, resized if asked\n"
    "  info      the settings and sizes of a composition\n"
    "  mapped    the picture mapped onto its floss, as a bitmap\n"
    "  export    the picture as imported, as a bitmap\n"
    "  rotate    transpose the picture\n"
    "  turn      turn the picture a quarter right or left\n"
    "  resize    resize the picture to a width and height in stitches\n"
    "  colors    the floss palette of a composition as a palette file\n"
    "  search    the automatic color search\n"
    "  used      keep the floss the picture uses\n"
    "  similar   merge similar floss\n"
    "  unique    delete dark floss used by a given number of stitches\n"
    "  report    floss report and color usage report\n"
    "  symbols   the chart symbol of each color\n"
    "  palette   read, convert, sort and blend floss palette files\n"
    "  grid      the stitch pattern as a PNG picture\n"
    "  design    the colour chart and its legend as bitmaps\n"
    "  pdf       the printed pattern (cover, floss key, charts) as a PDF file\n"
    "  chartable draw or sort a character table\n"
    "  oxs       the pattern as an open cross-stitch (OXS) chart\n"
    "  oxs-import a composition of an OXS chart\n\n"
    "Commands that change a composition write it to -o OUT.dmc, or change FILE.dmc itself\n"
    "with --in-place. Commands that map the picture onto the floss take --match rgb (exact\n"
    "RGB, the default) or --match ciede2000 (colors as the eye sees them).\n"
    "puntel-cli COMMAND --help tells more about each command; puntel-cli --version the\n"
    "version.\n";

int Run(const std::vector<std::string>& words) {
  if (words.empty()) {
    std::fputs(kHelp, stderr);
    return 1;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (words[0] == "--version") {
    std::fputs("puntel-cli 2.0a\n", stdout);
    return 0;
  }
  std::vector<std::string> rest(words.begin() + 1, words.end());
  if (words[0] == "palette") return RunPaletteCommand(rest);
  if (words[0] == "chartable") return RunChartableCommand(rest);
  if (DrawingCommands().count(words[0])) return RunCommand(DrawingCommands(), "", words);
  if (OxsCommands().count(words[0])) return RunCommand(OxsCommands(), "", words);
  return RunCommand(CompositionCommands(), "", words);
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit a write fails and the command reports it, instead of the
  // process being killed half-way through a save.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    int status = Run(std::vector<std::string>(argv + 1, argv + argc));
    if (std::fflush(stdout) != 0) throw CliError("cannot write the output");
    return status;
  } catch (const std::bad_alloc&) {
    // A size the machine cannot hold (a resize to 65535 x 65535, say) says so in words.
    std::fputs("puntel-cli: Not enough memory for this operation.\n", stderr);
    return 1;
  } catch (const BareCliError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "puntel-cli: %s\n", TerminalText(error.what()).c_str());
    return 1;
  }
}
