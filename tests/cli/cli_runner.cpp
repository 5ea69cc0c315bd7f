#include "tests/cli/cli_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/temp_folder.h"

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CliResult RunCli(const std::string& arguments) {
  TempFolder folder;
  std::string command = std::string(PUNTEL_RUNTIME_DIR) + "/puntel-cli " + arguments + " >" +
                        Quoted(folder.File("out")) + " 2>" + Quoted(folder.File("err"));
  CliResult result;
  int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFileBytes(folder.File("out"));
  result.err = ReadFileBytes(folder.File("err"));
  return result;
}
