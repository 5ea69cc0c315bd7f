#include "cli/oxs_commands.h"

#include "app/program_folders.h"
#include "cli/document.h"
#include "cli/pattern_inputs.h"
#include "pattern/floss_brands.h"
#include "pattern/oxs/oxs_composition.h"
#include "pattern/oxs/oxs_reader.h"
#include "pattern/oxs/oxs_writer.h"
#include "pattern/symbol_table.h"

namespace {

void Export(Arguments& args, const std::string& usage) {
  const BrandRequest request = TakeBrand(args);
  const std::string table_file = args.TakeOption("--table", SymbolTableFile(ProgramDataFolder()));
  auto palette = LoadMainPalette(args);
  const auto files = args.Positional(2, usage);
  RefuseOverwritingInput(files[0], files[1]);
  auto document = LoadDocument(*palette, files[0], nullptr);
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  const SymbolTable symbols = LoadSymbols(table_file);
  const FlossBrands brands = LoadBrandsFor(request);
  const OxsFlossNames names = ChooseFlossNames(brands, request, document->Palette());
  const OxsChart chart = ChartOfComposition(*document, symbols, names, ChartTitle(files[0]));
  WriteOxsFile(files[1], chart);
  PrintLine("brand\t" +
            (names.brand == FlossBrand::kNone ? std::string("none") : BrandLabel(names.brand)));
  PrintLine("colors\t" + std::to_string(chart.palette.size() - 1));
  PrintLine("stitches\t" + std::to_string(chart.stitches.size()));
}

void Import(Arguments& args, const std::string& usage) {
  auto palette = LoadMainPalette(args);
  const auto files = args.Positional(2, usage);
  RefuseOverwritingInput(files[0], files[1]);
  if (!IsRegularFile(files[0])) throw CliError(files[0] + ": no such file");
  OxsChart chart;
  try {
    chart = ReadOxsFile(files[0]);
  } catch (const Exception& error) {
    throw CliError(files[0] + ": " + error.Message());
  }
  auto document = NewDocument(*palette, nullptr);
  PutChartOnComposition(chart, *document);
  document->SaveToFile(files[1]);
}

}  // namespace

const CommandTable& OxsCommands() {
  static const CommandTable commands = {
      {"oxs",
       {"puntel-cli oxs FILE.dmc OUT.oxs [--brand auto|dmc|anchor|madeira|none] [--table FILE] "
        "[--palette FILE] [--match rgb|ciede2000]",
        "the pattern as an open cross-stitch (OXS) chart: one palette item per floss a stitch "
        "uses, named by the brand whose table holds most of the threads unless --brand says "
        "which; prints brand, colors and stitches",
        Export}},
      {"oxs-import",
       {"puntel-cli oxs-import FILE.oxs OUT.dmc [--palette FILE] [--match rgb|ciede2000]",
        "a new composition of an OXS chart: each stitch in the floss of the floss palette "
        "nearest to its colour, the cloth white",
        Import}},
  };
  return commands;
}
