#include "cli/drawing_commands.h"

const CommandTable& ChartableCommands() {
  static const CommandTable commands = {};
  return commands;
}
