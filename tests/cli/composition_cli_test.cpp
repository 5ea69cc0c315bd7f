#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>

#include "composition/bitmap_file.h"
#include "palette/floss_palette.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace {

using PixelSource = std::function<TColor(uint32_t x, uint32_t y)>;

void WritePicture(const std::string& path, uint16_t width, uint16_t height,
                  const PixelSource& pixel) {
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, height, x, y), pixel(x, y));
  WriteBitmapFile(path, block, width, height);
}

// The pixels of a 24-bit bitmap file, rows from the top; empty when the file is refused.
std::vector<std::vector<TColor>> ReadPicture(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  BitmapLayout layout;
  auto data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (CheckBitmap(data, bytes.size(), layout) != BitmapVerdict::Taken) return {};
  std::vector<std::vector<TColor>> rows(layout.height);
  for (uint32_t y = 0; y < layout.height; ++y)
    for (uint32_t x = 0; x < layout.width; ++x)
      rows[y].push_back(
          PixelAt(data + layout.pixel_offset, PixelOffset(layout.width, layout.height, x, y)));
  return rows;
}

// A colorful test picture: many distinct colors, no two neighbours alike.
TColor Colorful(uint32_t x, uint32_t y) {
  return MakeColor(uint8_t(x * 37 + y * 11), uint8_t(y * 53 + x * 5), uint8_t((x ^ y) * 29 + 7));
}

std::map<std::string, std::string> Info(const std::string& file, const std::string& extra = "") {
  std::map<std::string, std::string> info;
  for (const auto& line : Lines(RunCli("info " + Quoted(file) + extra).out)) {
    auto tab = line.find('\t');
    info[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
  }
  return info;
}

int Colors(const std::string& file) {
  return std::stoi("0" + Info(file)["colors"]);
}

// The lowest-index floss at the least squared distance, searched the plain way.
int32_t LinearNearest(const TpunPal& palette, TColor c) {
  int32_t best = 0;
  int64_t best_distance = INT64_MAX;
  for (int32_t i = 0; i < palette.Count(); ++i) {
    TColor f = palette.GetClr(i);
    int64_t dr = RedOf(f) - RedOf(c), dg = GreenOf(f) - GreenOf(c), db = BlueOf(f) - BlueOf(c);
    int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) best = i, best_distance = distance;
  }
  return best;
}

class CompositionCli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_THROW(dmc_.LoadFromFile(kDmc)); }
  std::string Import(const std::string& bmp, const std::string& name,
                     const std::string& extra = "") {
    auto result = RunCli("import " + Quoted(bmp) + " " + Quoted(folder_.File(name)) + extra);
    EXPECT_EQ(result.status, 0) << result.err;
    return folder_.File(name);
  }
  std::string File(const std::string& name) const { return folder_.File(name); }

  TempFolder folder_;
  TpunPal dmc_;
};

TEST_F(CompositionCli, ImportKeepsSizesSettingsAndNotesAndRefusesOtherPictures) {
  WritePicture(File("p.bmp"), 7, 5, Colorful);
  auto info = Info(Import(File("p.bmp"), "p.dmc"));
  EXPECT_EQ(info["width"], "7");
  EXPECT_EQ(info["height"], "5");
  EXPECT_EQ(info["zoom"], "0");
  EXPECT_EQ(info["cotton"], "1");
  EXPECT_EQ(info["fabric"], "14");
  EXPECT_EQ(info["colors"], "454");
  EXPECT_EQ(info["notes"].rfind("Composition version 13 \\r\\nCreated : ", 0), 0u) << info["notes"];
  EXPECT_EQ(info["notes"].find('\r'), std::string::npos);
  EXPECT_EQ(Info(Import(File("p.bmp"), "c3.dmc", " --cotton 3"))["fabric"], "22");

  std::string bmp = ReadFileBytes(File("p.bmp"));
  std::string eight_bit = bmp;
  eight_bit[28] = 8;  // bits per pixel
  WriteFileBytes(File("8.bmp"), eight_bit);
  WriteFileBytes(File("cut.bmp"), bmp.substr(0, bmp.size() - 10));
  for (auto [picture, message] :
       {std::pair{"8.bmp", "Not true color image !"}, {"cut.bmp", "Invalid bitmap file !"}}) {
    auto result = RunCli("import " + Quoted(File(picture)) + " " + Quoted(File("bad.dmc")));
    EXPECT_EQ(result.status, 1) << picture;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_FALSE(FileExists(File("bad.dmc"))) << picture;
  }
}

TEST_F(CompositionCli, MappedTakesTheNearestFlossAndExportGivesThePictureBack) {
  WritePicture(File("p.bmp"), 7, 5, Colorful);  // 21-byte rows, padded to 24
  std::string dmc = Import(File("p.bmp"), "p.dmc");
  ASSERT_EQ(RunCli("mapped " + Quoted(dmc) + " " + Quoted(File("m.bmp"))).status, 0);
  auto mapped = ReadPicture(File("m.bmp"));
  ASSERT_EQ(mapped.size(), 5u);
  for (uint32_t y = 0; y < 5; ++y)
    for (uint32_t x = 0; x < 7; ++x)
      EXPECT_EQ(mapped[y][x], dmc_.GetClr(LinearNearest(dmc_, Colorful(x, y)))) << x << "," << y;

  ASSERT_EQ(RunCli("export " + Quoted(dmc) + " " + Quoted(File("e.bmp"))).status, 0);
  EXPECT_EQ(ReadFileBytes(File("e.bmp")), ReadFileBytes(File("p.bmp")));
}

TEST_F(CompositionCli, RotateTransposesAndColorsWritesTheWorkingPalette) {
  WritePicture(File("p.bmp"), 7, 5, Colorful);
  std::string dmc = Import(File("p.bmp"), "p.dmc");
  std::string before = ReadFileBytes(dmc);
  ASSERT_EQ(RunCli("rotate " + Quoted(dmc) + " -o " + Quoted(File("r.dmc"))).status, 0);
  EXPECT_EQ(ReadFileBytes(dmc), before);
  auto info = Info(File("r.dmc"));
  EXPECT_EQ(info["width"] + "x" + info["height"], "5x7");
  ASSERT_EQ(RunCli("export " + Quoted(File("r.dmc")) + " " + Quoted(File("r.bmp"))).status, 0);
  auto rotated = ReadPicture(File("r.bmp"));
  ASSERT_EQ(rotated.size(), 7u);
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 5; ++x) EXPECT_EQ(rotated[y][x], Colorful(y, x)) << x << "," << y;

  ASSERT_EQ(RunCli("colors " + Quoted(dmc) + " " + Quoted(File("w.clr"))).status, 0);
  EXPECT_EQ(RunCli("palette dump " + Quoted(File("w.clr"))).out,
            RunCli("palette dump " + Quoted(kDmc)).out);
}

TEST_F(CompositionCli, ColorReductions) {
  WritePicture(File("big.bmp"), 40, 30, Colorful);
  std::string big = Import(File("big.bmp"), "big.dmc");
  ASSERT_EQ(RunCli("search " + Quoted(big) + " -o " + Quoted(File("s.dmc"))).status, 0);
  int found = Colors(File("s.dmc"));
  EXPECT_GT(found, 1);
  EXPECT_LE(found, 50);
  uint64_t pixels = 0;  // every floss left is used, and every pixel is counted once
  for (const auto& line : Lines(RunCli("report usage " + Quoted(File("s.dmc"))).out)) {
    uint64_t dots = std::stoull(line.substr(line.find("->") + 2));
    EXPECT_GT(dots, 0u) << line;
    pixels += dots;
  }
  EXPECT_EQ(pixels, 40u * 30u);
  std::string before = ReadFileBytes(big);
  ASSERT_EQ(RunCli("search " + Quoted(big) + " --max-floss 10 --increment 5 --in-place").status, 0);
  EXPECT_NE(ReadFileBytes(big), before);
  EXPECT_LE(Colors(big), 10);

  // Used: floss 100, 5, 40, 7 of the main palette, met in that order from the top left.
  const int32_t order[] = {100, 5, 100, 40, 5, 7};
  WritePicture(File("few.bmp"), 3, 2,
               [&](uint32_t x, uint32_t y) { return dmc_.GetClr(order[y * 3 + x]); });
  std::string few = Import(File("few.bmp"), "few.dmc");
  ASSERT_EQ(RunCli("used " + Quoted(few) + " --in-place").status, 0);
  ASSERT_EQ(RunCli("colors " + Quoted(few) + " " + Quoted(File("few.clr"))).status, 0);
  std::string expected;
  int row = 0;
  for (int32_t k : {100, 5, 40, 7}) {
    int32_t floss = LinearNearest(dmc_, dmc_.GetClr(k));  // a duplicate color maps to its first
    TColor c = dmc_.GetClr(floss);
    expected += std::to_string(row++) + "\t" + dmc_.GetName(floss) + "\t" +
                std::to_string(RedOf(c)) + "\t" + std::to_string(GreenOf(c)) + "\t" +
                std::to_string(BlueOf(c)) + "\n";
  }
  EXPECT_EQ(RunCli("palette dump " + Quoted(File("few.clr"))).out, expected);

  // At tolerance 255 every floss without a zero channel merges into the first of them.
  int zero_channel = 0;
  for (int32_t i = 0; i < dmc_.Count(); ++i) {
    TColor c = dmc_.GetClr(i);
    zero_channel += RedOf(c) == 0 || GreenOf(c) == 0 || BlueOf(c) == 0;
  }
  std::string all = Import(File("big.bmp"), "all.dmc");
  ASSERT_EQ(RunCli("similar " + Quoted(all) + " 255 --in-place").status, 0);
  EXPECT_EQ(Colors(all), zero_channel + 1);

  // Unique: one black pixel and one white pixel among grey ones.
  const TColor grey = dmc_.GetClr(LinearNearest(dmc_, MakeColor(128, 128, 128)));
  WritePicture(File("u.bmp"), 4, 4, [&](uint32_t x, uint32_t y) {
    return x + y == 0 ? MakeColor(0, 0, 0) : x + y == 6 ? MakeColor(255, 255, 255) : grey;
  });
  std::string unique = Import(File("u.bmp"), "u.dmc");
  ASSERT_EQ(RunCli("used " + Quoted(unique) + " --in-place").status, 0);
  ASSERT_EQ(Colors(unique), 3);
  ASSERT_EQ(RunCli("unique " + Quoted(unique) + " 50 1 -o " + Quoted(File("u50.dmc"))).status, 0);
  EXPECT_EQ(Lines(RunCli("report usage " + Quoted(File("u50.dmc"))).out).size(), 2u);
  EXPECT_EQ(RunCli("report usage " + Quoted(File("u50.dmc"))).out.find("310 "), std::string::npos);
  ASSERT_EQ(RunCli("unique " + Quoted(unique) + " 99 1 --in-place").status, 0);
  EXPECT_EQ(Colors(unique), 1);
}

TEST_F(CompositionCli, ReportLayoutsOnASmallPalette) {
  WriteFileBytes(File("s.cla"),
                 "CWPAL\r\n100\r\n3\r\n0 0 0\r\n255 255 255\r\n127 127 127\r\n"
                 "310\r\nblanc\r\n310+blanc\r\n");
  const std::string palette = " --palette " + Quoted(File("s.cla"));
  // 100 black, 5 white and 5 grey pixels; 11-pixel rows need padding.
  WritePicture(File("p.bmp"), 11, 10, [](uint32_t x, uint32_t y) {
    return x < 10  ? MakeColor(0, 0, 0)
           : y < 5 ? MakeColor(255, 255, 255)
                   : MakeColor(127, 127, 127);
  });
  std::string dmc = Import(File("p.bmp"), "p.dmc", palette + " --cotton 0");
  EXPECT_EQ(Lines(RunCli("report floss " + Quoted(dmc) + palette).out),
            (std::vector<std::string>{"       310 ->    205 Dot(s),  1 Coil(s) (94.30 cm)",
                                      "     blanc ->     15 Dot(s),  1 Coil(s) ( 6.90 cm)"}));
  EXPECT_EQ(Lines(RunCli("report usage " + Quoted(dmc) + palette).out),
            (std::vector<std::string>{"       310 ->    100 Dot(s)", "     blanc ->      5 Dot(s)",
                                      " 310+blanc ->      5 Dot(s)"}));
  WritePicture(File("b.bmp"), 80, 80, [](uint32_t, uint32_t) { return MakeColor(0, 0, 0); });
  EXPECT_EQ(
      RunCli("report floss " + Quoted(Import(File("b.bmp"), "b.dmc", palette + " --cotton 0"))).out,
      "       310 ->  12800 Dot(s),  2 Coil(s) (5888.00 cm)\n"
      "     blanc ->      0 Dot(s),  0 Coil(s) ( 0.00 cm)\n");
}

TEST_F(CompositionCli, SymbolsByPosition) {
  WriteFileBytes(File("ten.tbl"),
                 "a,1\r\nb,2\r\nc,3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\nh,8\r\ni,9\r\nj,10\r\n");
  EXPECT_EQ(RunCli("symbols " + Quoted(File("ten.tbl")) + " 4").out, "0\t0\n1\t2\n2\t5\n3\t8\n");
  WriteFileBytes(File("three.tbl"), "a,1\r\nb,2\r\nc,3\r\n");
  EXPECT_EQ(RunCli("symbols " + Quoted(File("three.tbl")) + " 5").out,
            "0\t0\n1\t1\n2\t1\n3\t-\n4\t-\n");
  // More symbols than 16 bits count: the table's size must not wrap to 0.
  std::string big;
  for (int k = 0; k < 65536; ++k) big += "a,1\r\n";
  WriteFileBytes(File("big.tbl"), big);
  EXPECT_EQ(RunCli("symbols " + Quoted(File("big.tbl")) + " 3").out, "0\t0\n1\t21845\n2\t43691\n");
}

TEST_F(CompositionCli, BadInputFailsAndChangesNothing) {
  WritePicture(File("p.bmp"), 7, 5, Colorful);
  std::string dmc = Import(File("p.bmp"), "p.dmc");
  std::string before = ReadFileBytes(dmc);
  WriteFileBytes(File("notes.txt"), "just some text\n");
  const std::string out = " -o " + Quoted(File("out.dmc"));
  const std::pair<std::string, std::string> cases[] = {
      {"info " + Quoted(File("none.dmc")), "no such file"},
      {"rotate " + Quoted(File("notes.txt")) + " --in-place", "not a composition file"},
      {"rotate " + Quoted(File("notes.txt")) + out, "not a composition file"},
      {"import " + Quoted(File("p.bmp")) + " " + Quoted(File("out.dmc")) + " --cotton 4",
       "--cotton must be"},
      {"import " + Quoted(File("none.bmp")) + " " + Quoted(File("out.dmc")), "none.bmp"},
      {"similar " + Quoted(dmc) + " x --in-place", "TOLERANCE must be"},
      {"similar " + Quoted(dmc) + " x" + out, "TOLERANCE must be"},
      {"unique " + Quoted(dmc) + " 256 1 --in-place", "LIGHT must be"},
      {"search " + Quoted(dmc) + " --max-floss 0 --in-place", "--max-floss must be"},
      {"rotate " + Quoted(dmc) + " --bogus", "unknown option --bogus"},
      {"rotate " + Quoted(dmc) + " -o", "-o needs a value"},
      {"report frobnicate " + Quoted(dmc), "usage:"},
      {"mapped " + Quoted(File("notes.txt")) + " " + Quoted(File("m.bmp")),
       "not a composition file"},
      {"symbols " + Quoted(File("none.tbl")) + " 4", "none.tbl"},
  };
  for (const auto& [arguments, message] : cases) {
    auto result = RunCli(arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_NE(result.err.find(message), std::string::npos) << arguments << "\n" << result.err;
    EXPECT_EQ(result.out, "") << arguments;
  }
  EXPECT_EQ(ReadFileBytes(dmc), before);
  EXPECT_EQ(ReadFileBytes(File("notes.txt")), "just some text\n");
  EXPECT_EQ(ListFolder(folder_.Path()),
            "notes.txt p.bmp p.dmc");  // nothing new, not even half written
}

// Whole commands run as a shell sees them: several at once, or under a file-size limit.
int RunShell(const std::string& script) {
  const int raw = std::system(("/bin/sh -c " + Quoted(script)).c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(CompositionCli, InPlaceChangesWaitForEachOtherAndRefuseCleanly) {
  WritePicture(File("p.bmp"), 300, 200, Colorful);
  const std::string dmc = Import(File("p.bmp"), "p.dmc");
  const std::string rotate = std::string(PUNTEL_RUNTIME_DIR) + "/puntel-cli rotate --in-place " +
                             Quoted(dmc) + " 2>>" + Quoted(File("err"));
  // Two rotations at once leave the picture as it was: neither is lost.
  for (int round = 0; round < 4; ++round) {
    EXPECT_EQ(RunShell(rotate + " & a=$!; " + rotate + " & b=$!; wait $a && wait $b"), 0);
    EXPECT_EQ(Info(dmc)["width"], "300") << "round " << round;
  }
  EXPECT_EQ(ReadFileBytes(File("err")), "");

  // Past a file-size limit the save fails with a message, not a signal, and changes nothing.
  const std::string before = ReadFileBytes(dmc);
  EXPECT_EQ(RunShell("ulimit -f 64; " + rotate), 1);
  EXPECT_NE(ReadFileBytes(File("err")).find("Unable to write to"), std::string::npos);
  // A file the user made read-only is not replaced.
  ASSERT_EQ(chmod(dmc.c_str(), 0444), 0);
  auto refused = RunCli("rotate --in-place " + Quoted(dmc));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Unable to write to " + dmc), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFileBytes(dmc), before);
  EXPECT_EQ(ListFolder(folder_.Path()), "err p.bmp p.dmc");
}

TEST_F(CompositionCli, AKilledSaveLeavesNoTemporaryFile) {
  WritePicture(File("p.bmp"), 2000, 1500, Colorful);
  const std::string dmc = Import(File("p.bmp"), "p.dmc");
  const std::string rotate = std::string(PUNTEL_RUNTIME_DIR) + "/puntel-cli rotate --in-place " +
                             Quoted(dmc) + " 2>/dev/null";
  for (const char* delay : {"0.02", "0.05", "0.08", "0.11", "0.14", "0.17"}) {
    RunShell(rotate + " & p=$!; sleep " + std::string(delay) + "; kill -9 $p; wait $p");
    EXPECT_EQ(ListFolder(folder_.Path()), "p.bmp p.dmc") << "killed after " << delay << " s";
  }
  auto info = Info(dmc);  // whole, rotated or not
  EXPECT_TRUE(info["width"] == "2000" || info["width"] == "1500") << info["width"];
}

TEST_F(CompositionCli, BytesFromFilesReachTheTerminalEscaped) {
  WritePicture(File("p.bmp"), 3, 2, Colorful);
  const std::string dmc = Import(File("p.bmp"), "p.dmc");
  std::string bytes = ReadFileBytes(dmc);
  const size_t notes = bytes.find("Composition version");
  ASSERT_NE(notes, std::string::npos);
  bytes.replace(notes, 11, "\x1b]0;\x07\ttabs\x7f");  // as long as "Composition"
  WriteFileBytes(dmc, bytes);
  const std::string shown = Info(dmc)["notes"];
  EXPECT_EQ(shown.rfind("\\x1b]0;\\x07\ttabs\\x7f version 13", 0), 0u) << shown;

  const std::string odd = File("a\x1b[2Jb.dmc");
  auto missing = RunCli("info " + Quoted(odd));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("a\\x1b[2Jb.dmc"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find('\x1b'), std::string::npos);
  for (const char* device : {"symbols /dev/zero 4", "palette dump /dev/zero"}) {
    auto result = RunCli(device);
    EXPECT_EQ(result.status, 1) << device;
    EXPECT_NE(result.err.find("Unable to read /dev/zero"), std::string::npos) << result.err;
  }
  // A pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(mkfifo(File("pipe.bmp").c_str(), 0600), 0);
  auto pipe = RunCli("import " + Quoted(File("pipe.bmp")) + " " + Quoted(File("out.dmc")));
  EXPECT_EQ(pipe.status, 1);
  EXPECT_NE(pipe.err.find("Cannot open file"), std::string::npos) << pipe.err;
}

}  // namespace

namespace {

// The same composition in the older version's header layout.
std::string AsVersion12(const std::string& v13) {
  std::string v12(290, '\0');
  v12[0] = 12;
  v12.replace(4, 8, v13.substr(3, 8));    // both picture sizes
  v12.replace(12, 6, v13.substr(11, 6));  // width, height, zoom
  v12.replace(18, 2, v13.substr(17, 2));  // palette entries, 16 bits
  v12.replace(20, 5, v13.substr(21, 5));  // palette image size, cotton
  v12.replace(26, 5, v13.substr(26, 5));  // threads, transparency, transparent color
  v12.replace(34, 256, v13.substr(31, 256));
  return v12 + v13.substr(287);
}

}  // namespace

TEST_F(CompositionCli, ALoadThatWarnsFailsAndNoReadingCommandWritesItsInput) {
  WritePicture(File("p.bmp"), 6, 4, Colorful);
  const std::string good = ReadFileBytes(Import(File("p.bmp"), "p.dmc"));
  const size_t image_at = 287 + 6 * 3 * 4;
  std::string damaged = good;  // the palette image is no palette
  damaged.replace(image_at, std::string::npos, std::string(good.size() - image_at, 'z'));
  std::string no_width = good;
  no_width[11] = no_width[12] = 0;
  const std::string files[][2] = {
      {"damaged.dmc", damaged}, {"nowidth.dmc", no_width}, {"old.dmc", AsVersion12(good)}};
  for (const auto& [name, bytes] : files) WriteFileBytes(File(name), bytes);
  const std::string out = File("out");
  const std::pair<std::string, std::string> failing[] = {
      {"rotate", "Error loading composition colors !"},
      {"used", "Error loading composition colors !"},
      {"similar", "Error loading composition colors !"},
      {"unique", "Error loading composition colors !"},
      {"info", "Error loading composition colors !"},
  };
  for (const auto& [command, message] : failing) {
    std::string extra = command == "similar" ? " 10" : command == "unique" ? " 75 1" : "";
    if (command != "info") extra += " --in-place";
    auto result = RunCli(command + " " + Quoted(File("damaged.dmc")) + extra);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_NE(result.err.find(message), std::string::npos) << command << ": " << result.err;
    auto zero = RunCli(command + " " + Quoted(File("nowidth.dmc")) + extra);
    EXPECT_EQ(zero.status, 1) << command;
    EXPECT_NE(zero.err.find("Invalid composition file !"), std::string::npos) << zero.err;
  }
  // Every reading command takes the older file as it is and leaves it so.
  EXPECT_EQ(Info(File("old.dmc")), Info(File("p.dmc")));
  for (const std::string& command :
       {"info " + Quoted(File("old.dmc")), "export " + Quoted(File("old.dmc")) + " " + Quoted(out),
        "mapped " + Quoted(File("old.dmc")) + " " + Quoted(out),
        "colors " + Quoted(File("old.dmc")) + " " + Quoted(out),
        "report floss " + Quoted(File("old.dmc")), "report usage " + Quoted(File("old.dmc"))}) {
    EXPECT_EQ(RunCli(command).status, 0) << command;
    EXPECT_EQ(ReadFileBytes(File("old.dmc")), AsVersion12(good)) << command;
  }
  for (const auto& [name, bytes] : files) EXPECT_EQ(ReadFileBytes(File(name)), bytes) << name;
  EXPECT_EQ(ListFolder(folder_.Path()), "damaged.dmc nowidth.dmc old.dmc out p.bmp p.dmc");
}
