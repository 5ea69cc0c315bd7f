#pragma once
// What every puntel-cli command shares: its arguments, its errors and its output.

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

class TpunPal;

// A failure that ends the command with its message on stderr and exit status 1.
class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A CliError whose message is printed as it is, without the program's name before it.
class BareCliError : public CliError {
 public:
  using CliError::CliError;
};

// What a command that changes a composition says when told neither where to write nor to
// change its input.
inline constexpr const char* kGiveOutput = "give -o OUT.dmc, or --in-place to change FILE.dmc";

class Arguments {
 public:
  Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

  bool WantsHelp() const;
  // Takes "--name VALUE" out of the words; the default when it is absent.
  std::string TakeOption(const std::string& name, const std::string& fallback);
  bool TakeFlag(const std::string& name);
  // The remaining words, which must be exactly `count` plain arguments.
  std::vector<std::string> Positional(size_t count, const std::string& usage) const;

 private:
  std::vector<std::string> words_;
};

// One command of a table: its usage line, what it does, and how it runs.
struct Command {
  const char* usage;
  const char* summary;
  std::function<void(Arguments& args, const std::string& usage)> run;
};
using CommandTable = std::map<std::string, Command>;

// Runs the command named by words[0] (`what` names the table in errors), or its help.
int RunCommand(const CommandTable& table, const std::string& what,
               const std::vector<std::string>& words);

// A whole number within [low, high]; `what` names it in the error.
int32_t ParseNumber(const std::string& text, int32_t low, int32_t high, const std::string& what);

// Loads a palette file of any format; "not a palette file" when it is none.
void LoadPalette(TpunPal& palette, const std::string& file_name);

void PrintLine(const std::string& line);
