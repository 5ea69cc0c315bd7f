#include "cli/drawing_commands.h"

#include "app/program_folders.h"

const CommandTable& DrawingCommands() {
  static const CommandTable commands = {
      {"grid", GridCommand()}, {"design", DesignCommand()}, {"pdf", PdfCommand()}};
  return commands;
}

std::string SymbolTableArgument(Arguments& args) {
  return args.TakeOption("--table", SymbolTableFile(ProgramDataFolder()));
}
