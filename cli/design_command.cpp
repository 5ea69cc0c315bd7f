#include "cli/drawing_commands.h"

Command DesignCommand() {
  return {"puntel-cli design ...", "(not built yet)",
          [](Arguments&, const std::string&) { throw CliError("design: not built yet"); }};
}
