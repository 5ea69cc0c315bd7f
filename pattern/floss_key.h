#pragma once
// The floss key of a printed chart: one row per palette color the picture uses, in
// palette order, and "Floss to buy": one row per thread with its length and skeins, the
// same figures as the floss report, and the totals. The figures only; drawing them is
// the renderer's.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/progress.h"

class TpunCompo;

// The key's note for a cotton size without a fabric; its lengths use 14 count then.
inline constexpr const char* kFabricUnknownNote = "fabric count unknown, 14 assumed";

// The description of a floss or blend name ("310", "310+666"); empty when none is known.
using FlossDescriber = std::function<std::string(const std::string& name)>;

struct KeyRow {
  int32_t palette_index = 0;
  std::optional<uint32_t> symbol;  // the symbol table entry of this color, if any
  TColor color = 0;
  std::string floss;  // the palette name
  std::string description;
  // Cells of this color. The transparent color's cells are not stitched: the row says so
  // and its skeins are empty.
  uint64_t stitches = 0;
  bool not_stitched = false;
  // One figure for a plain color (2 uses per stitch), two for a blend (1 use per stitch
  // for each of its threads).
  std::vector<uint64_t> skeins;

  // "3", or a blend's "1 + 1"; empty for the transparent color.
  std::string SkeinsText() const;
};

struct BuyRow {
  std::string thread;
  std::string description;
  uint64_t uses = 0;        // as the floss report counts them
  uint64_t hundredths = 0;  // length in hundredths of a centimetre
  uint64_t skeins = 0;
};

struct FlossKey {
  std::vector<KeyRow> rows;
  std::vector<BuyRow> to_buy;
  uint16_t fabric_count = 14;   // stitches per inch the lengths are reckoned at
  std::string fabric_note;      // kFabricUnknownNote when 14 was assumed, else empty
  uint64_t total_stitches = 0;  // stitched cells
  uint64_t total_hundredths = 0;
  uint64_t total_skeins = 0;
};

// The key of `compo` for a symbol table of `symbols` entries. `threads` is the working
// palette's thread list as ListThreads makes it: "Floss to buy" has a row for each, in that
// order, used or not, as the floss report has. One pass over the picture, reported to
// `progress` as the histogram reports, then the empty report.
// Cells of the transparent color (transparency on) are not stitched, so they count for no
// thread: with transparency on the figures of "Floss to buy" are the floss report's less
// those cells.
FlossKey MakeFlossKey(const TpunCompo& compo, const std::vector<std::string>& threads,
                      uint32_t symbols, const FlossDescriber& describe,
                      const ProgressHandler& progress);

// A length in hundredths of a centimetre as metres with two decimals, rounded up so that
// the thread bought is never short: 9200 gives "0.92", 26 gives "0.01".
std::string MetresText(uint64_t hundredths);
