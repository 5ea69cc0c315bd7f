#pragma once
// What a printed pattern shows, taken from a composition at one moment: the cells, the
// floss, the symbols and the key. Pages are made from this copy alone, so they can be made
// on a worker thread while the window stays free.

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "base/exceptions.h"

#include "base/color.h"
#include "base/progress.h"
#include "pattern/draw/symbol_face.h"
#include "pattern/floss_brands.h"
#include "pattern/floss_key.h"

class SymbolTable;
class TpunCompo;

// "Too many colors !": the table has fewer symbols than the working palette has colours.
class ETooManyColors : public Exception {
 public:
  ETooManyColors() : Exception("Too many colors !") {}
};

struct PrintedFloss {
  TColor color = 0;
  std::string name;         // the palette name: "310", "310+666"
  SymbolFace face;          // how its symbol is drawn; parsed false: a blank cell
  bool has_symbol = false;  // the table gives it an entry
};

struct PrintedPattern {
  std::string title;  // the caption without ".dmc"
  int32_t width = 0, height = 0;
  // The palette entry of every cell, row by row from the top; kNotStitched for the cells
  // of the transparent colour when transparency is on.
  std::vector<int32_t> cells;
  static constexpr int32_t kNotStitched = -1;
  std::vector<PrintedFloss> floss;  // by palette index
  // Every entry of the symbol table as drawn here: a font's one size on the chart fits all
  // of that font's characters in the table, whichever colours a pattern uses.
  std::vector<SymbolFace> table_faces;
  FlossKey key;
  FlossBrand brand = FlossBrand::kNone;  // whose descriptions the key shows
  std::string notes;
  uint64_t stitches = 0;  // stitched cells

  int32_t Cell(int32_t column, int32_t row) const {
    return cells[size_t(row) * size_t(width) + size_t(column)];
  }
};

// The pattern of `compo` (with a picture) for printing with `symbols`; `threads` is the
// working palette's thread list (ListThreads). Raises ETooManyColors first of all when the
// table has fewer entries than the palette colours. The key's descriptions come from the
// brand `request` resolves to among `brands`.
// Reports to `progress` as the floss key's pass over the picture does.
PrintedPattern SnapshotPattern(const TpunCompo& compo, const SymbolTable& symbols,
                               const std::vector<std::string>& threads, const FlossBrands& brands,
                               const BrandRequest& request, const std::string& title,
                               const ProgressHandler& progress);

// The caption without its ".dmc" (any letter case): the pattern's title.
std::string PatternTitle(const std::string& caption);
