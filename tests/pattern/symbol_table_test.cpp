#include "pattern/symbol_table.h"

#include <gtest/gtest.h>

#include "tests/support/message_of.h"

#include <functional>

#include "base/exceptions.h"
#include "base/int_parse.h"
#include "tests/support/temp_folder.h"

namespace {

using Entries = std::vector<std::string>;

// Entries as they were read before: only the first 30 characters count.
SymbolEntry CutTo30(const std::string& entry) {
  const std::string head = entry.substr(0, 30);
  const size_t comma = head.find(',');
  return {head.substr(0, comma), StrToInt(head.substr(comma + 1, 10))};
}

}  // namespace

TEST(SymbolEntry, FontNameBeforeTheFirstCommaAndUpToTenCharactersOfCode) {
  EXPECT_EQ(ParseSymbolEntry("wingdings,32"), (SymbolEntry{"wingdings", 32}));
  EXPECT_EQ(ParseSymbolEntry("DejaVu Sans,291").Character(), 35);  // drawn through its low 8 bits
  EXPECT_EQ(ParseSymbolEntry("f,-1"), (SymbolEntry{"f", -1}));
  EXPECT_EQ(ParseSymbolEntry("f,-1").Character(), 255);
  EXPECT_EQ(ParseSymbolEntry("f, 65"), (SymbolEntry{"f", 65}));
  EXPECT_EQ(ParseSymbolEntry("f,12345678901"), (SymbolEntry{"f", 1234567890}));
}

TEST(SymbolEntry, MalformedCodesAndEntriesWithoutACommaRaiseTheConversionError) {
  EXPECT_EQ(MessageOf<EConvertError>([] { ParseSymbolEntry("a,b,7"); }),
            "'b,7' is not a valid integer value");
  EXPECT_EQ(MessageOf<EConvertError>([] { ParseSymbolEntry("Arial,"); }),
            "'' is not a valid integer value");
  EXPECT_EQ(MessageOf<EConvertError>([] { ParseSymbolEntry("Arial,65 "); }),
            "'65 ' is not a valid integer value");
  EXPECT_EQ(MessageOf<EConvertError>([] { ParseSymbolEntry("wingdings"); }),
            "'wingdings' is not a valid integer value");
  EXPECT_EQ(MessageOf<EConvertError>([] { ParseSymbolEntry(""); }),
            "'' is not a valid integer value");
}

TEST(SymbolEntry, LongEntriesKeepTheirCodeAndShortOnesReadAsBefore) {
  EXPECT_EQ(ParseSymbolEntry("Noto Sans Canadian Aboriginal,65"),
            (SymbolEntry{"Noto Sans Canadian Aboriginal", 65}));
  EXPECT_EQ(ParseSymbolEntry("Noto Sans Canadian Aboriginal,1234567890123"),
            (SymbolEntry{"Noto Sans Canadian Aboriginal", 1234567890}));
  for (const std::string entry :
       {"wingdings,32", "DejaVu Sans,126", "Some Font With A Long Nam,1234",
        "Some Font With A Long Na,12345", "f,2147483647", "x,-2147483648", "a,b", "a,", ",9",
        "012345678901234567890123456,9"}) {
    ASSERT_LE(entry.size(), 30u);
    const std::string before = MessageOf<EConvertError>([&] { CutTo30(entry); });
    const std::string now = MessageOf<EConvertError>([&] { ParseSymbolEntry(entry); });
    EXPECT_EQ(now, before) << entry;
    if (before == "no exception") {
      EXPECT_EQ(ParseSymbolEntry(entry), CutTo30(entry)) << entry;
    }
  }
}

TEST(SymbolTableFile, AnyLineEndReadsAndEntriesAreWrittenWithCrLf) {
  TempFolder folder;
  const std::string path = folder.File("carac.tbl");
  auto read = [&](const std::string& bytes) {
    WriteFileBytes(path, bytes);
    return LoadSymbolTable(path);
  };
  EXPECT_EQ(read(""), Entries{});
  EXPECT_EQ(read("\r\n"), Entries{""});
  EXPECT_EQ(read("a,1\r\nb,2\nc,3\rd,4"), (Entries{"a,1", "b,2", "c,3", "d,4"}));
  EXPECT_EQ(read("a,1\n\rb,2\r\n\r\n"), (Entries{"a,1", "", "b,2", ""}));
  // UTF-8 lines read as they are; a line that is not UTF-8 is an older file's Latin-1.
  EXPECT_EQ(read(std::string("\xE9t\xE9,1\0x\r", 8)),
            Entries{std::string("\xC3\xA9t\xC3\xA9,1\0x", 9)});
  EXPECT_EQ(read("Caf\xC3\xA9,1\r\nCaf\xE9,2\r\n\xE2\x82,3\r\n"),
            (Entries{"Caf\xC3\xA9,1", "Caf\xC3\xA9,2", "\xC3\xA2\xC2\x82,3"}));

  WriteFileBytes(path, "an older and much longer table\r\nwith two lines\r\n");
  SaveSymbolTable(path, {"wingdings,32", "", "\xC3\xA9,1"});
  EXPECT_EQ(ReadFileBytes(path), "wingdings,32\r\n\r\n\xC3\xA9,1\r\n");
  EXPECT_EQ(LoadSymbolTable(path), (Entries{"wingdings,32", "", "\xC3\xA9,1"}));
  SaveSymbolTable(path, {});
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_EQ(ListFolder(folder.Path()), "carac.tbl");  // no temporary file left behind
}

TEST(SymbolTableFile, FailuresChangeNothing) {
  TempFolder folder;
  const std::string path = folder.File("carac.tbl");
  WriteFileBytes(path, "a,1\r\n");
  EXPECT_EQ(MessageOf<EInOutError>([&] {
              SaveSymbolTable(path, {"b,2", "c,\n3"});
            }),
            "Unable to write to " + path + ": an entry holds a line break");
  EXPECT_EQ(ReadFileBytes(path), "a,1\r\n");

  SymbolTable table({"x,1"});
  const std::string missing = folder.File("none.tbl");
  EXPECT_EQ(MessageOf<EInOutError>([&] { table.LoadFromFile(missing); }),
            "Unable to read " + missing);
  EXPECT_EQ(table.Entries(), Entries{"x,1"});
  EXPECT_THROW(SaveSymbolTable(folder.File("no/such/folder.tbl"), {"a,1"}), EInOutError);

  // Devices, folders and files past 1 MiB are not read at all.
  const std::string big = folder.File("big.tbl");
  WriteFileBytes(big, "");
  ASSERT_EQ(truncate(big.c_str(), (1 << 20) + 1), 0);
  for (const std::string& unreadable : {std::string("/dev/zero"), folder.Path(), big})
    EXPECT_EQ(MessageOf<EInOutError>([&] { table.LoadFromFile(unreadable); }),
              "Unable to read " + unreadable);
  EXPECT_EQ(table.Entries(), Entries{"x,1"});
}

TEST(SymbolTable, HoldsParsesAndGivesColorsTheirSymbols) {
  SymbolTable table;
  table.ClearToDefault();
  EXPECT_EQ(table.Entries(), Entries{"wingdings,32"});
  table.SetEntries({"f,1", "f,2", "g,3", "f,4", "f,5", "f,6", "f,7", "f,8", "f,9", "f,10"});
  EXPECT_EQ(table.Parse(2), (SymbolEntry{"g", 3}));
  EXPECT_EQ(MessageOf<EListError>([&] { table.Entry(10); }), "List index out of bounds");
  std::vector<std::optional<uint32_t>> symbols;
  for (uint32_t k = 0; k < 5; ++k) symbols.push_back(table.SymbolOfColor(k, 4));
  EXPECT_EQ(symbols, (std::vector<std::optional<uint32_t>>{0, 2, 5, 8,
                                                           9}));  // 9 * 2.5 = 22.5, held at S - 1
  EXPECT_EQ(table.SymbolOfColor(10, 4), std::nullopt);
  EXPECT_EQ(table.SymbolOfColor(0, 0), std::nullopt);

  EXPECT_EQ(SymbolOfColor(1, 3, 2), 2u);     // 1.5: halves to even
  EXPECT_EQ(SymbolOfColor(1, 5, 2), 2u);     // 2.5
  EXPECT_EQ(SymbolOfColor(11, 15, 22), 7u);  // 11 * (15 / 22) is just below 7.5
  EXPECT_EQ(SymbolOfColor(2, 3, 7), 1u);     // more colors than symbols: shared, then none
  EXPECT_EQ(SymbolOfColor(3, 3, 7), std::nullopt);
  EXPECT_EQ(SymbolOfColor(65534, 65535, 65535), 65534u);
}
