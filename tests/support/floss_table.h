#pragma once
// The rows of one of the project's floss tables (resources/floss/*.tsv), read without the
// code under test, so that tests can compare what the program made of them.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct FlossRow {
  std::string number, description, red, green, blue;  // as the table writes them
};

inline std::vector<FlossRow> ReadFlossTable(const std::string& table) {
  std::ifstream in(std::string(PUNTEL_SOURCE_DIR) + "/resources/floss/" + table);
  std::vector<FlossRow> rows;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    FlossRow row;
    for (std::string* field : {&row.number, &row.description, &row.red, &row.green, &row.blue})
      std::getline(fields, *field, '\t');
    rows.push_back(std::move(row));
  }
  return rows;
}
