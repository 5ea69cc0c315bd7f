#pragma once
// A printed pattern: its pages in order (cover, floss key, black-and-white chart, colour
// chart) and the painting of each on a paged device (a QPrinter or a QPdfWriter) whose
// page is the plan's paper, drawn with the painter's own coordinates in device pixels.
// Symbols are text, one text object per cell, sized once per font.

#include <QFont>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pattern/draw/key_layout.h"
#include "pattern/draw/printed_pattern.h"
#include "pattern/page_plan.h"

class QPainter;

// What the user chose in "Print Pattern" (or on puntel-cli's command line).
struct PrintChoices {
  PagePlanOptions plan;
  bool cover = true;
  bool key = true;
  bool bw_chart = true;
  bool color_chart = true;
};

enum class PageKind { kCover, kKey, kBwChart, kColorChart };

struct PrintedPage {
  PageKind kind = PageKind::kCover;
  int32_t part_index = 0;  // the key page or chart page within its part, from 0
};

class PatternPrintout {
 public:
  // Raises EPagePlanError for options the plan refuses, and when no part is chosen. Keeps
  // a reference to `pattern`.
  PatternPrintout(const PrintedPattern& pattern, const PrintChoices& choices);

  const PrintedPattern& Pattern() const { return pattern_; }
  const PagePlan& Plan() const { return plan_; }
  const DocumentPages& Parts() const { return parts_; }
  int32_t PageCount() const { return int32_t(pages_.size()); }
  // Page `index`, from 0; raises EListError outside.
  PrintedPage Page(int32_t index) const;
  // "cover", "key", "bw" or "color".
  static std::string KindWord(PageKind kind);
  // What page `index` shows: "" for the cover, "1 of 2" for a key page, a chart page's
  // RangeText ("Columns 1–50, rows 1–80").
  std::string PageWhat(int32_t index) const;
  // "14 pages: cover, key, 2 × 6 chart pages".
  std::string CountLine() const { return PageCountLine(parts_, plan_.PageCount()); }

  // Paints page `index` filling the painter's device, `dots_per_mm` device pixels a
  // millimetre. The device's page is the plan's paper, margins included.
  void Paint(QPainter& painter, int32_t index, double dots_per_mm) const;

  // The point size of a symbol font: the largest at which every character of that font in
  // the symbol table fits within 78% of the cell.
  double SymbolPointSize(const QString& family) const;

  // The lines of key page `key_page`, from 0.
  const std::vector<KeyLine>& KeyLines(int32_t key_page) const {
    return key_lines_.at(size_t(key_page));
  }
  // The 1-based page number of chart page `index` of a style among all pages.
  int32_t ChartPageNumber(bool color, int32_t index) const {
    return ::ChartPageNumber(parts_, plan_.PageCount(), color, index);
  }

 private:
  void FitSymbolSizes();

  const PrintedPattern& pattern_;
  PagePlan plan_;
  DocumentPages parts_;
  std::vector<std::vector<KeyLine>> key_lines_;
  std::vector<PrintedPage> pages_;
  std::map<QString, double> symbol_sizes_;  // per family
};
