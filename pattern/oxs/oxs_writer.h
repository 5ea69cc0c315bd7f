#pragma once
// Writes a chart as an OXS file: UTF-8 XML through Qt's stream writer, which escapes every
// attribute text.

#include <string>

#include "pattern/oxs/oxs_chart.h"

// The file's bytes.
std::string OxsBytes(const OxsChart& chart);
// Replaces `path` as a whole (atomically); raises EInOutError, leaving it as it was.
void WriteOxsFile(const std::string& path, const OxsChart& chart);
