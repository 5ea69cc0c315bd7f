#pragma once
// Runs the built puntel-cli and collects what it printed.

#include <string>

struct CliResult {
  int status = -1;
  std::string out, err;
};

// `arguments` is pasted into a shell command line after the program's path.
CliResult RunCli(const std::string& arguments);
// Quotes one word for that command line.
std::string Quoted(const std::string& word);
