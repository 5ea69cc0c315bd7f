// puntel-cli pdf: the printed pattern (cover, floss key, charts) as a PDF file.

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "cli/document.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/pattern_inputs.h"
#include "cli/progress_bar.h"
#include "pattern/draw/print_pages.h"

namespace {

std::string Lower(std::string word) {
  std::transform(word.begin(), word.end(), word.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return word;
}

Paper TakePaper(Arguments& args) {
  const std::string word = args.TakeOption("--paper", "a4");
  const std::string lower = Lower(word);
  if (lower == "a4") return PaperOf(PaperSize::A4);
  if (lower == "letter") return PaperOf(PaperSize::Letter);
  if (lower == "a3") return PaperOf(PaperSize::A3);
  throw CliError("--paper must be a4, letter or a3, not \"" + word + "\"");
}

// A decimal number with a point, whatever the locale says.
double TakeCellMm(Arguments& args) {
  const std::string text = args.TakeOption("--cell-mm", "3.0");
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value) || value < kMinCellMm || value > kMaxCellMm)
    throw CliError("--cell-mm must be a number from 2.0 to 8.0, not \"" + text + "\"");
  return value;
}

void TakeCharts(Arguments& args, PrintChoices& choices) {
  const std::string word = args.TakeOption("--charts", "both");
  const std::string lower = Lower(word);
  if (lower != "bw" && lower != "color" && lower != "both")
    throw CliError("--charts must be bw, color or both, not \"" + word + "\"");
  choices.bw_chart = lower != "color";
  choices.color_chart = lower != "bw";
}

PrintChoices TakeChoices(Arguments& args) {
  PrintChoices choices;
  choices.plan.paper = TakePaper(args);
  choices.plan.landscape = args.TakeFlag("--landscape");
  choices.plan.cell_mm = TakeCellMm(args);
  choices.plan.overlap = ParseNumber(args.TakeOption("--overlap", std::to_string(kDefaultOverlap)),
                                     0, kMaxOverlap, "--overlap");
  TakeCharts(args, choices);
  choices.cover = !args.TakeFlag("--no-cover");
  choices.key = !args.TakeFlag("--no-key");
  return choices;
}

void Pdf(Arguments& args, const std::string& usage) {
  const PrintChoices choices = TakeChoices(args);
  const BrandRequest request = TakeBrand(args);
  const std::string table_file = SymbolTableArgument(args);
  auto palette = LoadMainPalette(args);
  const auto files = args.Positional(2, usage);
  RefuseOverwritingInput(files[0], files[1]);
  ProgressBar bar;
  auto document = LoadDocument(*palette, files[0], bar.Handler());
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  const SymbolTable symbols = LoadSymbols(table_file);
  const FlossBrands brands = LoadBrandsFor(request);
  std::vector<std::string> threads;
  document->Palette().ListThreads(threads);
  GuiSession session;  // fonts are measured and pages painted with Qt Gui
  // Checked before anything is written: "Too many colors !" leaves no file behind.
  const PrintedPattern pattern = SnapshotPattern(*document, symbols, threads, brands, request,
                                                 ChartTitle(files[0]), bar.Handler());
  document.reset();  // the pages are made from the copy alone
  const PatternPrintout printout(pattern, choices);
  const std::atomic<bool> never(false);
  WritePdfFile(files[1], printout, bar.Handler(), never);
  for (int32_t k = 0; k < printout.PageCount(); ++k)
    PrintLine(std::to_string(k + 1) + "\t" + PatternPrintout::KindWord(printout.Page(k).kind) +
              "\t" + printout.PageWhat(k));
}

}  // namespace

Command PdfCommand() {
  return {
      "puntel-cli pdf FILE.dmc OUT.pdf [--paper a4|letter|a3] [--landscape] [--cell-mm X] "
      "[--overlap N] [--charts bw|color|both] [--no-cover] [--no-key] "
      "[--brand auto|dmc|anchor|madeira|none] [--table FILE] [--palette FILE] "
      "[--match rgb|ciede2000]",
      "the printed pattern as a PDF file: a cover, the floss key and the charts in black "
      "and white and in colour (A4 portrait, cells of 3.0 mm from 2.0 to 8.0, an overlap "
      "of 2 stitches from 0 to 5 unless given); prints a line per page: number, kind "
      "(cover, key, bw, color) and what it shows",
      Pdf};
}
