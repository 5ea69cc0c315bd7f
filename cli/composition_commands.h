#pragma once

#include "cli/command_line.h"

// The commands on pictures and compositions: import, info, search, report, ...
const CommandTable& CompositionCommands();
