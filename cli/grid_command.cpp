#include "cli/drawing_commands.h"

Command GridCommand() {
  return {"puntel-cli grid ...", "(not built yet)",
          [](Arguments&, const std::string&) { throw CliError("grid: not built yet"); }};
}
