// Any bytes as a symbol table file: reading never fails or reads out of bounds, every
// entry is UTF-8 (a Latin-1 line converted, at most twice its bytes) and parses or raises
// the conversion error, and a saved table reads back the same; all in memory.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "base/latin1.h"
#include "fuzz/fuzz_support.h"
#include "pattern/symbol_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  SymbolTable table(SymbolTableEntries(bytes));
  size_t characters = 0;
  for (const std::string& entry : table.Entries()) {
    FuzzCheck(entry.find_first_of("\r\n") == std::string::npos, "an entry holds a line end");
    FuzzCheck(IsValidUtf8(entry), "an entry is not UTF-8");
    characters += entry.size();
    try {
      const SymbolEntry parsed = ParseSymbolEntry(entry);
      FuzzCheck(entry.compare(0, parsed.FontName.size() + 1, parsed.FontName + ",") == 0,
                "the font name is not the text before the first comma");
      FuzzCheck(parsed.FontName.find(',') == std::string::npos, "the font name holds a comma");
    } catch (const EConvertError&) {
      // A malformed code: the message names it.
    }
  }
  FuzzCheck(characters <= 2 * bytes.size(), "the entries hold more than the file");
  for (uint32_t color = 0; color < 4; ++color)
    if (auto symbol = table.SymbolOfColor(color, 3))
      FuzzCheck(*symbol < uint32_t(table.Count()), "symbol out of the table");

  const SymbolTable again(SymbolTableEntries(SymbolTableBytes(table.Entries(), "fuzz")));
  FuzzCheck(again.Entries() == table.Entries(), "a saved table does not read back");
  return 0;
}
