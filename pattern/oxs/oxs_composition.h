#pragma once
// Between compositions and OXS charts: the chart a composition's stitches make, and the
// composition an OXS chart gives on the main palette.

#include <string>

#include "pattern/floss_brands.h"
#include "pattern/oxs/oxs_chart.h"

class SymbolTable;
class TpunCompo;
class TpunPal;

// What a written chart names its floss by.
struct OxsFlossNames {
  FlossBrand brand = FlossBrand::kNone;  // written before each floss name
  const FlossTable* table = nullptr;     // the descriptions; none leaves them empty
};

// The names of `brands` that `request` asks for: the brand it names, or with auto the one
// whose table holds most of the threads of `palette`.
OxsFlossNames ChooseFlossNames(const FlossBrands& brands, const BrandRequest& request,
                               TpunPal& palette);

// The chart of every cell of `compo` mapped onto its working palette, the cells of the
// transparent colour (when transparency is on) left unstitched. The palette has the cloth,
// then one item per colour that a stitch uses, in palette order, each with its chart
// symbol: the character the table-level rules of symbol_character.h give its entry (a
// Wingdings or Symbol byte the stand-in tables lack, or a malformed entry, gives none).
OxsChart ChartOfComposition(const TpunCompo& compo, const SymbolTable& symbols,
                            const OxsFlossNames& names, const std::string& title);

// The chart's symbol of palette entry `color` of `colors` with `symbols`; 0 when none.
char32_t ChartSymbolCharacter(const SymbolTable& symbols, uint32_t color, uint32_t colors);

// The picture of `chart` on `compo` (a composition on the main palette): each stitch in
// the main-palette floss nearest to its item's colour, the cloth and unstitched cells
// white. The fabric follows the chart's count when it is one the program knows.
void PutChartOnComposition(const OxsChart& chart, TpunCompo& compo);
