// puntel-cli pdf read back with poppler's tools, as a stitcher's PDF viewer would read it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>

#include "palette/floss_palette.h"
#include "pattern/floss_key.h"
#include "pattern/page_plan.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/floss_table.h"
#include "tests/support/temp_folder.h"

namespace {

bool HasTool(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

#define NEED_TOOL(tool) \
  if (!HasTool(tool)) GTEST_SKIP() << tool " is not installed"

// What a shell command printed on stdout.
std::string Output(const std::string& command) {
  TempFolder folder;
  const std::string file = folder.File("out");
  if (std::system((command + " >" + Quoted(file) + " 2>/dev/null").c_str()) != 0) return "";
  return ReadFileBytes(file);
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool HasWord(const std::string& line, const std::string& word) {
  const auto words = Words(line);
  return std::find(words.begin(), words.end(), word) != words.end();
}

// The text of pages first..last (all when 0), laid out as on the page.
std::string PageText(const std::string& pdf, int first = 0, int last = 0) {
  std::string range;
  if (first > 0) range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
  return Output("pdftotext -layout" + range + " " + Quoted(pdf) + " -");
}

// One page rendered at 150 dpi: RGB rows from the top.
struct Raster {
  int width = 0, height = 0;
  std::string rgb;
  int At(int x, int y, int channel) const {
    return uint8_t(rgb[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(channel)]);
  }
  int Grey(int x, int y) const { return (At(x, y, 0) + At(x, y, 1) + At(x, y, 2)) / 3; }
};
constexpr double kDpi = 150.0;
int Px(double mm) {
  return int(mm * kDpi / 25.4);
}

Raster RenderPage(const std::string& pdf, int page) {
  TempFolder folder;
  const std::string prefix = folder.File("page");
  const std::string command = "pdftoppm -r 150 -f " + std::to_string(page) + " -l " +
                              std::to_string(page) + " -singlefile " + Quoted(pdf) + " " +
                              Quoted(prefix);
  Raster raster;
  if (std::system(command.c_str()) != 0) return raster;
  const std::string bytes = ReadFileBytes(prefix + ".ppm");
  std::istringstream in(bytes);
  std::string magic;
  int depth = 0;
  in >> magic >> raster.width >> raster.height >> depth;
  in.get();
  raster.rgb = bytes.substr(size_t(in.tellg()));
  if (magic != "P6" || depth != 255 || raster.rgb.size() < size_t(raster.width) * raster.height * 3)
    raster = {};
  return raster;
}

// The palette of the pattern: plain DMC floss and one blend, each used by a block of cells.
struct Floss {
  std::string name;
  uint8_t r, g, b;
};
const std::vector<Floss> kFloss = {
    {"310", 0, 0, 0},     {"666", 227, 29, 66},    {"798", 70, 106, 142},   {"702", 71, 167, 47},
    {"444", 255, 214, 0}, {"3865", 249, 247, 241}, {"310+666", 113, 14, 33}};
constexpr int kWidth = 60, kHeight = 90;  // 2 by 2 chart pages on A4 at 3 mm
int FlossAt(int x, int y) {
  return (x / 7 + y / 5) % int(kFloss.size());
}

// One composition and its default PDF for the whole suite.
struct Made {
  TempFolder folder;
  std::string clr = folder.File("seven.clr"), dmc = folder.File("Fox Den.dmc"),
              pdf = folder.File("fox.pdf"), with_palette = " --palette " + Quoted(clr);
  CliResult run;
  std::vector<std::string> lines;
};
std::unique_ptr<Made> made;

struct PdfCli : ::testing::Test {
  static void SetUpTestSuite() {
    made = std::make_unique<Made>();
    TpunPal palette;
    for (const Floss& f : kFloss) palette.AddClr(MakeColor(f.r, f.g, f.b), f.name);
    palette.SaveToFile(made->clr);
    // A 24-bit bitmap, rows from the bottom.
    std::string bmp;
    const uint32_t row = (kWidth * 3 + 3) / 4 * 4, size = 54 + row * kHeight;
    auto put = [&bmp](uint32_t value, int bytes) {
      for (int k = 0; k < bytes; ++k) bmp += char((value >> (8 * k)) & 0xFF);
    };
    bmp = "BM";
    put(size, 4), put(0, 4), put(54, 4), put(40, 4), put(kWidth, 4), put(kHeight, 4);
    put(1, 2), put(24, 2), put(0, 4), put(row * kHeight, 4), put(2835, 4), put(2835, 4);
    put(0, 4), put(0, 4);
    for (int y = kHeight - 1; y >= 0; --y) {
      for (int x = 0; x < kWidth; ++x) {
        const Floss& f = kFloss[size_t(FlossAt(x, y))];
        bmp += {char(f.b), char(f.g), char(f.r)};
      }
      bmp.append(row - kWidth * 3, '\0');
    }
    WriteFileBytes(made->folder.File("p.bmp"), bmp);
    const CliResult imported = RunCli("import " + Quoted(made->folder.File("p.bmp")) + " " +
                                      Quoted(made->dmc) + made->with_palette);
    EXPECT_EQ(imported.status, 0) << imported.err;
    made->run = RunCli("pdf " + Quoted(made->dmc) + " " + Quoted(made->pdf) + made->with_palette);
    made->lines = Lines(made->run.out);
  }
  static void TearDownTestSuite() { made.reset(); }

  const std::string& Pdf() const { return made->pdf; }
  // The 1-based page of the first page of `kind` ("bw", "color") in the command's output.
  static int FirstPage(const std::string& kind) {
    for (size_t k = 0; k < made->lines.size(); ++k)
      if (made->lines[k].find("\t" + kind + "\t") != std::string::npos) return int(k) + 1;
    return 0;
  }
  CliResult Pdf(const std::string& options, const std::string& out) const {
    return RunCli("pdf " + Quoted(made->dmc) + " " + Quoted(out) + made->with_palette + options);
  }
};

TEST_F(PdfCli, PagesFollowThePlanAndTheOutputNamesEach) {
  NEED_TOOL("pdfinfo");
  ASSERT_EQ(made->run.status, 0) << made->run.err;
  const PagePlan plan(kWidth, kHeight, PagePlanOptions{});
  ASSERT_EQ(plan.PageCount(), 4);
  const auto& lines = made->lines;
  ASSERT_GE(lines.size(), 2u + 8u);
  EXPECT_EQ(lines[0], "1\tcover\t");
  const size_t key_pages = lines.size() - 1 - 8;
  for (size_t k = 0; k < key_pages; ++k)
    EXPECT_EQ(lines[1 + k], std::to_string(k + 2) + "\tkey\t" + std::to_string(k + 1) + " of " +
                                std::to_string(key_pages));
  for (int style = 0; style < 2; ++style)
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(lines[1 + key_pages + size_t(style * 4 + k)],
                std::to_string(2 + key_pages + size_t(style * 4 + k)) + "\t" +
                    (style ? "color" : "bw") + "\t" + plan.Page(k).RangeText());
  const std::string info = Output("pdfinfo " + Quoted(Pdf()));
  EXPECT_NE(info.find("Pages:           " + std::to_string(lines.size()) + "\n"), std::string::npos)
      << info;
  EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;

  // Other choices, other plan.
  const std::string other = made->folder.File("a3.pdf");
  const CliResult small =
      Pdf(" --paper A3 --landscape --cell-mm 2.5 --overlap 0 --charts color --no-cover --no-key",
          other);
  ASSERT_EQ(small.status, 0) << small.err;
  PagePlanOptions options;
  options.paper = PaperOf(PaperSize::A3), options.landscape = true, options.cell_mm = 2.5;
  options.overlap = 0;
  const PagePlan a3(kWidth, kHeight, options);
  const auto a3_lines = Lines(small.out);
  ASSERT_EQ(a3_lines.size(), size_t(a3.PageCount()));
  EXPECT_EQ(a3_lines[0], "1\tcolor\t" + a3.Page(0).RangeText());
  const std::string a3_info = Output("pdfinfo " + Quoted(other));
  EXPECT_NE(a3_info.find("1191 x 842 pts"), std::string::npos) << a3_info;
}

TEST_F(PdfCli, TextHoldsTitlePageNumbersGridNumbersAndTheWholeKey) {
  NEED_TOOL("pdftotext");
  ASSERT_EQ(made->run.status, 0) << made->run.err;
  const std::string text = PageText(Pdf());
  const int bw = FirstPage("bw");
  EXPECT_NE(text.find("Fox Den"), std::string::npos);
  const size_t pages = made->lines.size();
  for (size_t n = size_t(bw); n <= pages; ++n)
    EXPECT_NE(text.find("Page " + std::to_string(n) + " of " + std::to_string(pages)),
              std::string::npos)
        << n;
  // Column and row numbers of the whole design at every tenth line.
  const std::string first = PageText(Pdf(), bw, bw), last = PageText(Pdf(), bw + 3, bw + 3);
  for (int n = 10; n <= 80; n += 10) EXPECT_TRUE(HasWord(first, std::to_string(n))) << n;
  for (const char* n : {"60", "90"}) EXPECT_TRUE(HasWord(last, n)) << n;

  // Every floss with its description, stitches and skeins on one line of the key.
  std::map<std::string, std::string> description;
  for (const FlossRow& row : ReadFlossTable("dmc.tsv")) description[row.number] = row.description;
  std::map<std::string, uint64_t> stitches;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ++stitches[kFloss[size_t(FlossAt(x, y))].name];
  const std::string key = PageText(Pdf(), 2, bw - 1);
  const auto key_lines = Lines(key);
  auto line_with = [&key_lines](const std::string& a, const std::string& b) {
    for (const std::string& line : key_lines)
      if (HasWord(line, a) && line.find(b) != std::string::npos) return line;
    return std::string();
  };
  // The floss report, read as its own command prints it: thread -> dots, skeins, length.
  std::map<std::string, std::vector<std::string>> report;
  const CliResult floss = RunCli("report floss " + Quoted(made->dmc) + made->with_palette);
  ASSERT_EQ(floss.status, 0) << floss.err;
  for (const std::string& line : Lines(floss.out)) {
    const auto words = Words(line);  // 3072 -> 44 Dot(s), 1 Coil(s) (15.84 cm)
    if (words.size() >= 7 && words[1] == "->") report[words[0]] = words;
  }
  ASSERT_EQ(report.size(), 6u) << floss.out;
  for (const Floss& f : kFloss) {
    const bool blend = f.name.find('+') != std::string::npos;
    const std::string words =
        blend ? description[f.name.substr(0, 3)] + " + " + description[f.name.substr(4)]
              : description[f.name];
    const std::string row = line_with(f.name, words);
    ASSERT_FALSE(row.empty()) << f.name << " / " << words << "\n" << key;
    EXPECT_TRUE(HasWord(row, std::to_string(stitches[f.name]))) << row;
    if (blend)
      EXPECT_NE(row.find(" + ", row.find(std::to_string(stitches[f.name]))), std::string::npos)
          << row;
    else if (f.name != "310" && f.name != "666")  // alone on their thread: the report's skeins
      EXPECT_TRUE(
          HasWord(row.substr(row.find(std::to_string(stitches[f.name]))), report[f.name][3]))
          << row;
  }
  // "Floss to buy": the report's figures, thread by thread, and the totals.
  const size_t buy = key.find("Floss to buy");
  ASSERT_NE(buy, std::string::npos) << key;
  const auto buy_lines = Lines(key.substr(buy));
  for (const auto& [thread, words] : report) {
    const uint64_t hundredths = uint64_t(std::stod(words[5].substr(1)) * 100 + 0.5);
    bool found = false;
    for (const std::string& line : buy_lines)
      found =
          found || (HasWord(line, thread) && HasWord(line, MetresText(hundredths)) &&
                    HasWord(line, words[3]) && line.find(description[thread]) != std::string::npos);
    EXPECT_TRUE(found) << thread << " " << MetresText(hundredths) << " " << words[3] << "\n"
                       << key.substr(buy);
  }
}

TEST_F(PdfCli, EveryFontIsEmbedded) {
  NEED_TOOL("pdffonts");
  ASSERT_EQ(made->run.status, 0) << made->run.err;
  const auto lines = Lines(Output("pdffonts " + Quoted(Pdf())));
  ASSERT_GT(lines.size(), 2u);  // the heads, then a font a line
  const size_t emb = lines[0].find("emb");
  ASSERT_NE(emb, std::string::npos);
  for (size_t k = 2; k < lines.size(); ++k) EXPECT_EQ(lines[k].substr(emb, 3), "yes") << lines[k];
}

TEST_F(PdfCli, RenderedChartsShowFlossTenthLinesAndGreysOnly) {
  NEED_TOOL("pdftoppm");
  ASSERT_EQ(made->run.status, 0) << made->run.err;
  const PagePlan plan(kWidth, kHeight, PagePlanOptions{});
  const ChartPage page = plan.Page(0);
  const double cell = plan.Options().cell_mm;

  // A colour cell, away from its symbol in the middle and its lines at the edges.
  const Raster color = RenderPage(Pdf(), FirstPage("color"));
  ASSERT_GT(color.width, 0);
  for (auto [x, y] : {std::pair{0, 0}, {8, 3}, {23, 41}, {49, 79}}) {
    const MmRect r = *plan.Cell(page, x, y);
    const Floss& f = kFloss[size_t(FlossAt(x, y))];
    const int px = Px(r.x + 0.2 * cell), py = Px(r.y + 0.2 * cell);
    EXPECT_NEAR(color.At(px, py, 0), f.r, 8) << x << "," << y;
    EXPECT_NEAR(color.At(px, py, 1), f.g, 8) << x << "," << y;
    EXPECT_NEAR(color.At(px, py, 2), f.b, 8) << x << "," << y;
  }

  // Across a vertical line, the lightest grey of every row's middle: the line alone.
  const Raster bw = RenderPage(Pdf(), FirstPage("bw"));
  ASSERT_GT(bw.width, 0);
  struct Profile {
    int darkest = 255, dark_pixels = 0;
  };
  auto across = [&](int k) {
    const int centre = Px(plan.LineX(page, k));
    Profile profile;
    for (int x = centre - 4; x <= centre + 4; ++x) {
      int lightest = 0;
      for (int row = 0; row < 80; ++row)
        lightest = std::max(lightest, bw.Grey(x, Px(plan.LineY(page, row) + cell / 2)));
      profile.darkest = std::min(profile.darkest, lightest);
      profile.dark_pixels += lightest < 160;
    }
    return profile;
  };
  const Profile tenth = across(10), thin = across(5);
  EXPECT_LT(tenth.darkest + 40, thin.darkest) << tenth.darkest << " " << thin.darkest;
  EXPECT_GT(tenth.dark_pixels, thin.dark_pixels);
  EXPECT_GE(tenth.dark_pixels, 2);

  for (int k = 0; k < 4; ++k) {
    const Raster grey = k == 0 ? bw : RenderPage(Pdf(), FirstPage("bw") + k);
    ASSERT_GT(grey.width, 0);
    int coloured = 0;
    for (int y = 0; y < grey.height; ++y)
      for (int x = 0; x < grey.width; ++x)
        coloured += std::max({grey.At(x, y, 0), grey.At(x, y, 1), grey.At(x, y, 2)}) -
                        std::min({grey.At(x, y, 0), grey.At(x, y, 1), grey.At(x, y, 2)}) >
                    3;
    EXPECT_EQ(coloured, 0) << "page " << FirstPage("bw") + k;
  }
}

TEST_F(PdfCli, RefusalsAndFailedWritesLeaveNoFileAndKeepAnExistingOne) {
  const std::string out = made->folder.File("refused.pdf");
  // A table of two symbols for seven colours.
  const std::string table = made->folder.File("two.tbl");
  WriteFileBytes(table, "DejaVu Sans,65\r\nDejaVu Sans,66\r\n");
  const CliResult many = Pdf(" --table " + Quoted(table), out);
  EXPECT_EQ(many.status, 1);
  EXPECT_NE(many.err.find("Too many colors !"), std::string::npos) << many.err;
  EXPECT_EQ(many.out, "");
  EXPECT_FALSE(FileExists(out));

  const std::string missing = made->folder.File("no such folder/out.pdf");
  const CliResult nowhere = Pdf("", missing);
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("Cannot create file"), std::string::npos) << nowhere.err;
  EXPECT_FALSE(FileExists(missing));

  WriteFileBytes(out, "kept");
  const std::string before = ListFolder(made->folder.Path());
  {
    const FileSizeLimit full_disk(4096);  // the PDF is larger: its write fails half-way
    ASSERT_TRUE(full_disk.Active());
    const CliResult failed = Pdf("", out);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("puntel-cli: "), std::string::npos);
    EXPECT_EQ(failed.out, "");
  }
  EXPECT_EQ(ReadFileBytes(out), "kept");
  EXPECT_EQ(ListFolder(made->folder.Path()), before);  // no partial file beside it
  EXPECT_EQ(RunCli("pdf " + Quoted(made->dmc) + " " + Quoted(made->dmc)).status, 1);
}

TEST_F(PdfCli, BadOptionsNameTheOptionAndItsRange) {
  const std::string out = made->folder.File("bad.pdf");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--cell-mm 1.9", "--cell-mm must be a number from 2.0 to 8.0"},
      {"--cell-mm 8.01", "--cell-mm must be a number from 2.0 to 8.0"},
      {"--cell-mm 3,5", "--cell-mm must be a number from 2.0 to 8.0"},
      {"--cell-mm nan", "--cell-mm must be a number from 2.0 to 8.0"},
      {"--overlap 6", "--overlap must be a whole number from 0 to 5"},
      {"--overlap -1", "--overlap must be a whole number from 0 to 5"},
      {"--paper b5", "--paper must be a4, letter or a3"},
      {"--charts none", "--charts must be bw, color or both"},
      {"--brand coats", "--brand must be auto, dmc, anchor, madeira or none"},
      {"--landscape extra", "usage"},
  };
  for (const auto& [option, message] : cases) {
    const CliResult result = Pdf(" " + option, out);
    EXPECT_EQ(result.status, 1) << option;
    EXPECT_NE(result.err.find(message), std::string::npos) << option << ": " << result.err;
    EXPECT_FALSE(FileExists(out)) << option;
  }
  // The ends of the ranges are allowed.
  EXPECT_EQ(Pdf(" --cell-mm 8 --overlap 5 --paper letter --charts bw", out).status, 0);
  EXPECT_EQ(Pdf(" --cell-mm 2.0 --overlap 0 --no-key --no-cover --brand none", out).status, 0);
}

}  // namespace
