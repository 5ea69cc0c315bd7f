#pragma once
// The lines of the floss report (stitches, thread length and skeins per thread) and of the
// color usage report (pixels per palette color).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/progress.h"

class TpunCompo;
class TpunPal;

// Longer report lines are cut to this many characters.
inline constexpr size_t kReportLineLength = 128;

// Thread length factor F for a cotton size: 23, 18, 15, 13 for 0 to 3. Other sizes have no
// fabric, so 0: their threads need no length and no skein.
uint32_t ThreadLengthFactor(uint8_t cotton_size);

// What `uses` uses of a thread need at length factor `factor`: L = uses * 0.01 * factor * 2
// cm, kept exactly in hundredths of a centimetre, and the fewest skeins of 4800 cm that
// hold L. The floss report and the floss key share this one rule.
struct ThreadNeed {
  uint64_t hundredths = 0;
  uint64_t skeins = 0;
};
ThreadNeed NeedOfThread(uint64_t uses, uint32_t factor);

// The uses of each thread of `threads` given dots[k] pixels of `palette` entry k: 2 per pixel
// of a plain color, 1 for A and 1 for B per pixel of a blend "A+B", a thread found by exact
// name, first match; a name not in `threads` adds nothing.
std::vector<uint64_t> ThreadUses(const TpunPal& palette, const std::vector<std::string>& threads,
                                 const std::vector<uint64_t>& dots);

// "<thread padded to 10> -> <count padded to 6> Dot(s),  <skeins> Coil(s) (<L> cm)" with
// L = count * 0.01 * F * 2 written with two decimals and padded to 5, and the skeins the
// fewest of 4800 cm that hold L; cut to kReportLineLength.
std::string FlossLine(const std::string& thread, uint64_t count, uint8_t cotton_size);

// One floss line per thread of `threads` (as ListThreads makes it from the working palette),
// in that order: a pixel of a plain color counts 2 for its thread, a pixel of a blend "A+B"
// 1 for A and 1 for B, a thread found by exact name, first match. Reports "Creating image
// histogram..." per row, "Calculating lengths..." per thread, then the empty report, to
// `progress` (the composition's OnProgress when none is given).
std::vector<std::string> FlossReportLines(const TpunCompo& compo,
                                          const std::vector<std::string>& threads,
                                          const ProgressHandler& progress);
std::vector<std::string> FlossReportLines(const TpunCompo& compo,
                                          const std::vector<std::string>& threads);

// One line "<name padded to 10> -> <count padded to 6> Dot(s)" per entry of `palette` (a
// copy of the composition's working palette), the pixels mapped onto it; cut to
// kReportLineLength. No lines and no reports for an empty palette.
std::vector<std::string> ColorUsageLines(const TpunCompo& compo, const TpunPal& palette,
                                         const ProgressHandler& progress);
std::vector<std::string> ColorUsageLines(const TpunCompo& compo, const TpunPal& palette);

// A color usage line with the index of the palette entry it counts. A line's first word
// need not be its entry's name (names may hold blanks, or repeat), so the window finds the
// entry by this index; it drops by one for every entry deleted before it.
struct UsageLine {
  std::string text;
  int32_t index = 0;
};

// ColorUsageLines, each line with the index of its entry in `palette` (line k, entry k).
std::vector<UsageLine> ColorUsageReport(const TpunCompo& compo, const TpunPal& palette,
                                        const ProgressHandler& progress);

// A color may be removed while the palette keeps one to map the picture onto.
bool MayRemoveColor(const TpunPal& palette);

// Deletes the palette entry of line `row` and the line; the later lines' indices follow
// their entries down. False, changing nothing, without such a line or entry or when
// MayRemoveColor does not hold.
bool RemoveUsageColor(TpunPal& palette, std::vector<UsageLine>& lines, size_t row);
