#pragma once
// The commands that draw the pattern (they start Qt Gui, offscreen): the stitch pattern,
// the colour chart, the printed pattern and the character table.

#include <string>
#include <vector>

#include "cli/command_line.h"

// "grid", "design" and "pdf".
const CommandTable& DrawingCommands();
Command GridCommand();
Command DesignCommand();
Command PdfCommand();
// "render" and "sort", under "puntel-cli chartable".
const CommandTable& ChartableCommands();
// "puntel-cli chartable ...": `words` are the words after "chartable"; lists the two
// commands when asked or given none.
int RunChartableCommand(const std::vector<std::string>& words);
// The symbol table the program would load, or `--table FILE` when given.
std::string SymbolTableArgument(Arguments& args);
