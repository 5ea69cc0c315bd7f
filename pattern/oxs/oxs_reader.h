#pragma once
// Reads an OXS file through Qt's stream reader. Only what the program uses is kept: the
// sizes, the palette and the full stitches; other elements are passed over.

#include <string>

#include "pattern/oxs/oxs_chart.h"

// The chart of a file's bytes; raises EInvalidOxs for damaged or truncated XML, missing or
// out-of-range sizes (1 to 65535 a side), a palette item without an RRGGBB colour, and a
// stitch outside the chart or of no palette item. Memory grows with the bytes only, never
// with the sizes a file claims.
OxsChart ReadOxs(const std::string& bytes);
// Raises EInOutError "Unable to read <path>" when the file cannot be read.
OxsChart ReadOxsFile(const std::string& path);
