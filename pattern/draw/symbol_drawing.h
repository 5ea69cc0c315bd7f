#pragma once
// The symbol drawing service: symbol i of the symbol table rendered into a white square
// cell, the font's point size fitted once per font and edge. Every window passes its own
// edge; nothing here depends on the screen's resolution.

#include <QImage>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "pattern/draw/symbol_face.h"
#include "pattern/symbol_table.h"

class QPainter;

class SymbolDrawing {
 public:
  explicit SymbolDrawing(::SymbolTable& table);

  // To be called whenever the table's entries were replaced (loaded, committed, sorted):
  // parses every entry once and empties the rendered symbols; the fitted sizes too unless
  // `keep_sizes` (the sort keeps them). Returns the message of the first entry that does
  // not parse ("'x' is not a valid integer value"), for the caller to show once.
  std::optional<std::string> TableChanged(bool keep_sizes = false);

  int32_t SymbolCount() const { return table_.Count(); }
  // Symbol `index` in a white square of `edge` pixels: the character in black with its
  // top-left at round(|edge - w| / 2) - 1 both ways (a byte a stand-in font lacks: its
  // value in small digits). Where device_pixel_ratio is above 1
  // the image has that many more pixels per edge, drawn from the same point size. A blank
  // white square for an index past the table or an entry that does not parse.
  QImage RenderSymbol(int32_t index, int edge, qreal device_pixel_ratio = 1.0,
                      bool antialiased = true);
  // The same pixels as RenderSymbol, drawn afresh: the rendered symbols are neither read
  // nor filled (the fitted sizes are).
  QImage RenderUncached(int32_t index, int edge, qreal device_pixel_ratio = 1.0,
                        bool antialiased = true);
  // Nothing for an index not below SymbolCount; else the rendered square at (x, y).
  void DrawSymbol(int32_t index, int x, int y, int edge, QPainter& painter);
  // The symbol of color `color` of a palette of `colors` colors (SymbolOfColor); nothing
  // when the color gets none.
  void DrawColourSymbol(uint32_t color, int x, int y, int edge, QPainter& painter, uint32_t colors);
  // The whiteness of every entry rendered at `edge` without antialiasing: its pixels that
  // are not pure black. An entry that does not parse counts as all white.
  std::vector<uint32_t> Whiteness(int edge);
  // Reorders the table by ink at `edge`, lightest first (InkSortOrder); returns the
  // whiteness of each entry in the new order. Keeps the fitted sizes.
  std::vector<uint32_t> SortByInk(int edge);
  // Empties the fitted sizes and the rendered symbols.
  void ResetFontCache();
  // Changes whenever a symbol may draw other pixels than before (a table change, a sort,
  // a reset of the fitted sizes): a window that painted part of its cells paints them all.
  uint64_t Generation() const { return generation_; }

  const SymbolFace& FaceOf(int32_t index) const { return faces_.at(size_t(index)); }
  // The point size entry `index` is drawn with at `edge` (fitted on its font's first use).
  int FittedSize(int32_t index, int edge);
  // The table's fonts that are not installed, each with the family that stands in for it,
  // in order of first use.
  std::vector<std::pair<std::string, QString>> MissingFonts() const;

  // The smallest point size the fitting loop goes down to.
  static constexpr int kSmallestSize = 1;
  // The rendered symbols kept, in pixels (about 64 MB); past it they are dropped at once.
  static constexpr int64_t kRenderedPixelLimit = int64_t(16) << 20;

 private:
  ::SymbolTable& table_;
  std::vector<SymbolFace> faces_;
  std::vector<std::string> font_names_;  // per entry, as stored
  // The size cache, keyed (font name, edge); digits have a key of their own.
  std::map<std::pair<std::string, int>, int> sizes_;
  // Rendered symbols by (edge, device pixel ratio x 100, antialiased), then by index; a
  // null image is one not rendered yet.
  std::map<std::tuple<int, int, bool>, std::vector<QImage>> rendered_;
  int64_t rendered_pixels_ = 0;
  uint64_t generation_ = 0;

  int FitSize(const QString& family, const QString& text, int edge) const;
  void DropRendered();
};

// A 96-dpi image: what symbols are measured and drawn on.
QImage SymbolCanvas(int width, int height);
