#include "cli/command_line.h"

#include <algorithm>
#include <cstdio>

#include "base/exceptions.h"
#include "base/int_parse.h"
#include "cli/terminal_text.h"
#include "palette/floss_palette.h"

bool Arguments::WantsHelp() const {
  return std::find_if(words_.begin(), words_.end(), [](const std::string& w) {
           return w == "--help" || w == "-h";
         }) != words_.end();
}

std::string Arguments::TakeOption(const std::string& name, const std::string& fallback) {
  auto at = std::find(words_.begin(), words_.end(), name);
  if (at == words_.end()) return fallback;
  if (at + 1 == words_.end()) throw CliError(name + " needs a value");
  std::string value = *(at + 1);
  words_.erase(at, at + 2);
  return value;
}

bool Arguments::TakeFlag(const std::string& name) {
  auto at = std::find(words_.begin(), words_.end(), name);
  if (at == words_.end()) return false;
  words_.erase(at);
  return true;
}

std::vector<std::string> Arguments::Positional(size_t count, const std::string& usage) const {
  for (const auto& word : words_)
    if (word.size() > 1 && word[0] == '-' && !TryStrToInt(word))
      throw CliError("unknown option " + word + "\nusage: " + usage);
  if (words_.size() != count) throw CliError("usage: " + usage);
  return words_;
}

int32_t ParseNumber(const std::string& text, int32_t low, int32_t high, const std::string& what) {
  auto value = TryStrToInt(text);
  if (!value || *value < low || *value > high)
    throw CliError(what + " must be a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high) + ", not \"" + text + "\"");
  return *value;
}

void LoadPalette(TpunPal& palette, const std::string& file_name) {
  try {
    palette.LoadFromFile(file_name);
  } catch (const Exception& error) {
    throw CliError(file_name + ": " + error.Message());
  }
}

void PrintLine(const std::string& line) {
  const std::string shown = TerminalText(line);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
}

int RunCommand(const CommandTable& table, const std::string& what,
               const std::vector<std::string>& words) {
  const std::string kind = what.empty() ? "command" : what + " command";
  if (words.empty()) throw CliError("a " + kind + " is missing");
  auto found = table.find(words[0]);
  if (found == table.end()) {
    throw CliError("unknown " + kind + " \"" + words[0] + "\" (puntel-cli " +
                   (what.empty() ? "" : what + " ") + "--help lists them)");
  }
  const Command& command = found->second;
  Arguments args(std::vector<std::string>(words.begin() + 1, words.end()));
  if (args.WantsHelp()) {
    PrintLine(std::string("usage: ") + command.usage + "\n" + command.summary);
    return 0;
  }
  command.run(args, command.usage);
  return 0;
}
