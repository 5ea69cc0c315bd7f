// Makes a palette file from a floss table: one thread a line, tab-separated
// number, description, red, green, blue, after a header line.

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/int_parse.h"
#include "palette/floss_palette.h"

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

uint8_t Channel(const std::string& text, int line_number) {
  auto value = TryStrToInt(text);
  if (!value || *value < 0 || *value > 255)
    throw std::runtime_error("line " + std::to_string(line_number) + ": bad color value '" + text +
                             "'");
  return uint8_t(*value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_floss_table TABLE.tsv OUT.clr\n");
    return 1;
  }
  try {
    std::ifstream in(argv[1]);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    TpunPal palette;
    std::string line;
    std::getline(in, line);  // header
    for (int number = 2; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      auto fields = SplitTabs(line);
      if (fields.size() != 5)
        throw std::runtime_error("line " + std::to_string(number) + ": expected 5 fields");
      palette.AddClr(MakeColor(Channel(fields[2], number), Channel(fields[3], number),
                               Channel(fields[4], number)),
                     fields[0]);
    }
    palette.SaveToFile(argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_floss_table: %s\n", error.what());
    return 1;
  }
  return 0;
}
