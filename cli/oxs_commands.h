#pragma once
// The commands on OXS charts: "oxs" writes a composition's pattern as one, "oxs-import"
// makes a composition of one. Qt Core only: they start no Qt Gui.

#include "cli/command_line.h"

const CommandTable& OxsCommands();
