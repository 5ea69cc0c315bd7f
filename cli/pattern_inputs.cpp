#include "cli/pattern_inputs.h"

#include <filesystem>

#include "app/program_folders.h"
#include "pattern/draw/printed_pattern.h"

std::string ChartTitle(const std::string& file_name) {
  return PatternTitle(std::filesystem::path(file_name).filename().string());
}

BrandRequest TakeBrand(Arguments& args) {
  const std::string word = args.TakeOption("--brand", "auto");
  const auto request = ParseBrandRequest(word);
  if (!request)
    throw CliError("--brand must be auto, dmc, anchor, madeira or none, not \"" + word + "\"");
  return *request;
}

SymbolTable LoadSymbols(const std::string& file) {
  SymbolTable table;
  try {
    table.LoadFromFile(file);
  } catch (const std::exception& error) {
    throw CliError(file + ": " + error.what());
  }
  return table;
}

FlossBrands LoadBrandsFor(const BrandRequest& request) {
  if (!request.automatic && request.brand == FlossBrand::kNone) return FlossBrands();
  try {
    return FlossBrands::Load(ProgramDataFolder());
  } catch (const Exception& error) {
    throw CliError(error.Message());
  }
}
