#pragma once
// Runs the built puntel-cli and collects what it printed.

#include <sstream>
#include <string>
#include <vector>

struct CliResult {
  int status = -1;
  std::string out, err;
};

// `arguments` is pasted into a shell command line after the program's path.
CliResult RunCli(const std::string& arguments);
// Quotes one word for that command line.
std::string Quoted(const std::string& word);

// The dmc25.clr the build made.
inline const std::string kDmc = std::string(PUNTEL_RUNTIME_DIR) + "/dmc25.clr";

// A command's output, a line each.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
