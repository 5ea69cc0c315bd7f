#pragma once
// Dot counts: how many pixels of a composition's source picture map onto each entry of a
// palette, and the text lines that show them. The color search and both reports share
// these, so their counts and layouts cannot drift apart.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/progress.h"

class TpunCompo;
class TpunPal;

// Counts are 64-bit: a floss report adds two per pixel, and a 65535 x 65535 picture has
// nearly 2^32 pixels.
using DotCounts = std::vector<uint64_t>;

// counts[k] = the pixels whose nearest entry of `palette` is k. Reports "Creating image
// histogram..." after each row to `progress`; the closing empty report is the caller's.
// No picture or an empty palette counts nothing and reports nothing.
DotCounts CountDots(const TpunCompo& compo, const TpunPal& palette,
                    const ProgressHandler& progress);

// The histogram's report after row y: (width + 1) * (y + 1) * 100 / (width * height), in
// 64 bits so that no picture size overflows it. Up to 200 on the last rows.
uint16_t HistogramPercent(uint32_t width, uint32_t height, uint32_t y);

// `text` with blanks put in front until it is `width` characters long.
std::string LeftPadded(std::string_view text, size_t width);

// "<name padded to 10> -> <dots padded to 6> Dot(s)".
std::string HistogramLine(std::string_view name, uint64_t dots);

// The histogram line of every entry of `palette`, counts[k] being entry k's dots.
std::vector<std::string> HistogramLines(const TpunPal& palette, const DotCounts& counts);

// The name a histogram line shows: its text after the leading blanks, up to the first blank.
std::string HistogramLineName(std::string_view line);
