#pragma once
// What the commands that make a printed or exported pattern of a composition share: its
// title, the brand asked for, the symbol table and the floss tables.

#include <string>

#include "cli/command_line.h"
#include "pattern/floss_brands.h"
#include "pattern/symbol_table.h"

// The file's name without its folder and ".dmc": what the chart is called.
std::string ChartTitle(const std::string& file_name);
// "--brand auto|dmc|anchor|madeira|none", auto unless given.
BrandRequest TakeBrand(Arguments& args);
SymbolTable LoadSymbols(const std::string& file);
// The floss tables of the program folder, when `request` may name a brand; none otherwise.
FlossBrands LoadBrandsFor(const BrandRequest& request);
