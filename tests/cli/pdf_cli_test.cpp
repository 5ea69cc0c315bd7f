// puntel-cli pdf read back with poppler's tools, as a stitcher's PDF viewer would read it.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "composition/bitmap_file.h"
#include "palette/floss_palette.h"
#include "pattern/floss_key.h"
#include "pattern/page_plan.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/floss_table.h"
#include "tests/support/temp_folder.h"

namespace {

#define NEED_TOOL(tool)                                        \
  if (std::system("command -v " tool " >/dev/null 2>&1") != 0) \
  GTEST_SKIP() << tool " is not installed"

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

std::string Pages(int first, int last) {
  return " -f " + std::to_string(first) + " -l " + std::to_string(last) + " ";
}
// The text of pages first..last, laid out as on the page.
std::string PageText(const std::string& pdf, int first, int last) {
  return Output("pdftotext -layout" + Pages(first, last) + Quoted(pdf) + " -");
}
// One page rendered at 150 dpi.
QImage RenderPage(const std::string& pdf, int page) {
  TempFolder folder;
  const std::string prefix = folder.File("page");
  const std::string command = "pdftoppm -r 150 -singlefile" + Pages(page, page) + Quoted(pdf);
  if (std::system((command + " " + Quoted(prefix)).c_str()) != 0) return {};
  return QImage(QString::fromStdString(prefix + ".ppm")).convertToFormat(QImage::Format_RGB32);
}
int Px(double mm) {
  return int(mm * 150.0 / 25.4);
}

// The palette of the pattern: plain DMC floss and one blend, each used by blocks of cells.
struct Floss {
  std::string name;
  uint8_t r, g, b;
};
const std::vector<Floss> kFloss = {
    {"310", 0, 0, 0},     {"666", 227, 29, 66},    {"798", 70, 106, 142},   {"702", 71, 167, 47},
    {"444", 255, 214, 0}, {"3865", 249, 247, 241}, {"310+666", 113, 14, 33}};
constexpr int kWidth = 60, kHeight = 90;  // 2 by 2 chart pages on A4 at 3 mm
const Floss& FlossAt(int x, int y) {
  return kFloss[size_t((x / 7 + y / 5) % int(kFloss.size()))];
}

// One composition and its PDF with the defaults, for the whole suite.
struct Made {
  TempFolder folder;
  std::string clr = folder.File("seven.clr"), dmc = folder.File("Fox Den.dmc"),
              pdf = folder.File("fox.pdf"), palette = " --palette " + Quoted(clr);
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
    PictureBlock block(PictureBytes(kWidth, kHeight), 0);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y),
                   MakeColor(FlossAt(x, y).r, FlossAt(x, y).g, FlossAt(x, y).b));
    WriteBitmapFile(made->folder.File("p.bmp"), block, kWidth, kHeight);
    EXPECT_EQ(RunCli("import " + Quoted(made->folder.File("p.bmp")) + " " + Quoted(made->dmc) +
                     made->palette)
                  .status,
              0);
    made->run = Pdf("", made->pdf);
    made->lines = Lines(made->run.out);
  }
  static void TearDownTestSuite() { made.reset(); }
  void SetUp() override { ASSERT_EQ(made->run.status, 0) << made->run.err; }

  static CliResult Pdf(const std::string& options, const std::string& out) {
    return RunCli("pdf " + Quoted(made->dmc) + " " + Quoted(out) + made->palette + options);
  }
  // The first page of `kind` ("bw", "color") by the command's output, from 1.
  static int FirstPage(const std::string& kind) {
    for (size_t k = 0; k < made->lines.size(); ++k)
      if (made->lines[k].find("\t" + kind + "\t") != std::string::npos) return int(k) + 1;
    return 0;
  }
};

TEST_F(PdfCli, PagesFollowThePlanAndTheOutputNamesEach) {
  NEED_TOOL("pdfinfo");
  const PagePlan plan(kWidth, kHeight, PagePlanOptions{});
  ASSERT_EQ(plan.PageCount(), 4);
  const auto& lines = made->lines;
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0], "1\tcover\t");
  const size_t keys = lines.size() - 9;
  for (size_t k = 0; k < keys; ++k)
    EXPECT_EQ(lines[1 + k], std::to_string(k + 2) + "\tkey\t" + std::to_string(k + 1) + " of " +
                                std::to_string(keys));
  for (size_t k = 0; k < 8; ++k)
    EXPECT_EQ(lines[1 + keys + k], std::to_string(2 + keys + k) + (k < 4 ? "\tbw\t" : "\tcolor\t") +
                                       plan.Page(int32_t(k % 4)).RangeText());
  const std::string info = Output("pdfinfo " + Quoted(made->pdf));
  EXPECT_NE(info.find("Pages:           " + std::to_string(lines.size()) + "\n"),
            std::string::npos);
  EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;

  const std::string other = made->folder.File("a3.pdf");
  const CliResult a3 =
      Pdf(" --paper A3 --landscape --cell-mm 2.5 --overlap 0 --charts color --no-cover --no-key",
          other);
  ASSERT_EQ(a3.status, 0) << a3.err;
  PagePlanOptions options{PaperOf(PaperSize::A3), true, 2.5, 0};
  const PagePlan a3_plan(kWidth, kHeight, options);
  ASSERT_EQ(Lines(a3.out).size(), size_t(a3_plan.PageCount()));
  EXPECT_EQ(Lines(a3.out)[0], "1\tcolor\t" + a3_plan.Page(0).RangeText());
  EXPECT_NE(Output("pdfinfo " + Quoted(other)).find("1191 x 842 pts"), std::string::npos);
}

TEST_F(PdfCli, TextHoldsTitlePageNumbersGridNumbersAndTheWholeKey) {
  NEED_TOOL("pdftotext");
  const int bw = FirstPage("bw"), pages = int(made->lines.size());
  const std::string text = PageText(made->pdf, 1, pages);
  EXPECT_NE(text.find("Fox Den"), std::string::npos);
  for (int n = 2; n <= pages; ++n)
    EXPECT_NE(text.find("Page " + std::to_string(n) + " of " + std::to_string(pages)),
              std::string::npos)
        << n;
  // Numbers of the whole design at every tenth line: 1-50 x 1-80, then 51-60 x 81-90.
  const std::string first = PageText(made->pdf, bw, bw), last = PageText(made->pdf, bw + 3, bw + 3);
  for (int n = 10; n <= 80; n += 10) EXPECT_TRUE(HasWord(first, std::to_string(n))) << n;
  for (const char* n : {"60", "90"}) EXPECT_TRUE(HasWord(last, n)) << n;

  std::map<std::string, std::string> described;
  for (const FlossRow& row : ReadFlossTable("dmc.tsv")) described[row.number] = row.description;
  std::map<std::string, int> stitches;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ++stitches[FlossAt(x, y).name];
  const std::string key = PageText(made->pdf, 2, bw - 1);
  const size_t buy = key.find("Floss to buy");
  ASSERT_NE(buy, std::string::npos) << key;
  // The line of the key (or of "Floss to buy") naming `word` and holding `text`.
  auto line_with = [&key, buy](bool to_buy, const std::string& word, const std::string& text) {
    for (const std::string& line : Lines(to_buy ? key.substr(buy) : key.substr(0, buy)))
      if (HasWord(line, word) && line.find(text) != std::string::npos) return line;
    return std::string();
  };
  // The floss report: "3072 -> 44 Dot(s), 1 Coil(s) (15.84 cm)" for each thread.
  const CliResult floss = RunCli("report floss " + Quoted(made->dmc) + made->palette);
  std::map<std::string, std::vector<std::string>> report;
  for (const std::string& line : Lines(floss.out))
    if (Words(line).size() == 8 && Words(line)[1] == "->") report[Words(line)[0]] = Words(line);
  ASSERT_EQ(report.size(), 6u) << floss.out;

  for (const Floss& f : kFloss) {
    const bool blend = f.name.size() == 7;
    const std::string count = std::to_string(stitches[f.name]);
    const std::string row =
        line_with(false, f.name,
                  blend ? described["310"] + " + " + described["666"] : described[f.name] + " ");
    ASSERT_TRUE(HasWord(row, count)) << f.name << "\n" << key;
    if (blend)  // a skein figure for each thread
      EXPECT_TRUE(std::regex_search(row, std::regex(count + " +[1-9][0-9]* ?\\+ ?[1-9][0-9]*$")));
    else if (f.name != "310" && f.name != "666")  // alone on their thread: the report's skeins
      EXPECT_TRUE(std::regex_search(row, std::regex(count + " +" + report[f.name][4] + "$")));
  }
  uint64_t all_hundredths = 0, all_skeins = 0;
  for (const auto& [thread, words] : report) {
    const auto hundredths = uint64_t(std::stod(words[6].substr(1)) * 100 + 0.5);
    all_hundredths += hundredths;
    all_skeins += std::stoul(words[4]);
    EXPECT_TRUE(std::regex_search(line_with(true, thread, described[thread]),
                                  std::regex(MetresText(hundredths) + " +" + words[4] + "$")))
        << thread << "\n"
        << key.substr(buy);
  }
  EXPECT_TRUE(std::regex_search(
      line_with(true, "Total", ""),
      std::regex(MetresText(all_hundredths) + " +" + std::to_string(all_skeins) + "$")));
}

TEST_F(PdfCli, EveryFontIsEmbedded) {
  NEED_TOOL("pdffonts");
  const auto lines = Lines(Output("pdffonts " + Quoted(made->pdf)));
  ASSERT_GT(lines.size(), 2u);  // the heads, then a font a line
  const size_t emb = lines[0].find("emb");
  ASSERT_NE(emb, std::string::npos);
  for (size_t k = 2; k < lines.size(); ++k) EXPECT_EQ(lines[k].substr(emb, 3), "yes") << lines[k];
}

TEST_F(PdfCli, RenderedChartsShowFlossTenthLinesAndGreysOnly) {
  NEED_TOOL("pdftoppm");
  const PagePlan plan(kWidth, kHeight, PagePlanOptions{});
  const ChartPage page = plan.Page(0);
  const double cell = plan.Options().cell_mm;
  // A colour cell near its corner: away from its symbol and its lines.
  const QImage color = RenderPage(made->pdf, FirstPage("color"));
  ASSERT_FALSE(color.isNull());
  for (auto [x, y] : {std::pair{0, 0}, {8, 3}, {23, 41}, {49, 79}}) {
    const MmRect r = *plan.Cell(page, x, y);
    const QRgb pixel = color.pixel(Px(r.x + 0.2 * cell), Px(r.y + 0.2 * cell));
    const Floss& f = FlossAt(x, y);
    EXPECT_LE(
        std::abs(qRed(pixel) - f.r) + std::abs(qGreen(pixel) - f.g) + std::abs(qBlue(pixel) - f.b),
        12)
        << x << "," << y;
  }

  // Across a vertical line, the lightest grey over every row's middle: the line alone.
  const QImage bw = RenderPage(made->pdf, FirstPage("bw"));
  ASSERT_FALSE(bw.isNull());
  auto across = [&](int k) {
    std::pair<int, int> darkest_and_wide{255, 0};
    for (int x = Px(plan.LineX(page, k)) - 4; x <= Px(plan.LineX(page, k)) + 4; ++x) {
      int lightest = 0;
      for (int row = 0; row < 80; ++row)
        lightest = std::max(lightest, qGray(bw.pixel(x, Px(plan.LineY(page, row) + cell / 2))));
      darkest_and_wide.first = std::min(darkest_and_wide.first, lightest);
      darkest_and_wide.second += lightest < 160;
    }
    return darkest_and_wide;
  };
  const auto tenth = across(10), thin = across(5);
  EXPECT_LT(tenth.first + 40, thin.first);
  EXPECT_GT(tenth.second, thin.second);
  EXPECT_GE(tenth.second, 2);

  for (int k = 0; k < 4; ++k) {
    const QImage grey = k == 0 ? bw : RenderPage(made->pdf, FirstPage("bw") + k);
    ASSERT_FALSE(grey.isNull());
    int coloured = 0;
    for (int y = 0; y < grey.height(); ++y)
      for (int x = 0; x < grey.width(); ++x) {
        const QRgb p = grey.pixel(x, y);
        coloured +=
            std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 3;
      }
    EXPECT_EQ(coloured, 0) << "page " << FirstPage("bw") + k;
  }
}

TEST_F(PdfCli, RefusalsAndFailedWritesLeaveNoFileAndKeepAnExistingOne) {
  const std::string out = made->folder.File("refused.pdf"), table = made->folder.File("two.tbl");
  WriteFileBytes(table, "DejaVu Sans,65\r\nDejaVu Sans,66\r\n");  // two symbols, seven colours
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
    EXPECT_EQ(failed.out, "");
  }
  EXPECT_EQ(ReadFileBytes(out), "kept");
  EXPECT_EQ(ListFolder(made->folder.Path()), before);  // no partial file beside it
  EXPECT_EQ(RunCli("pdf " + Quoted(made->dmc) + " " + Quoted(made->dmc)).status, 1);
}

TEST_F(PdfCli, BadOptionsNameTheOptionAndItsRange) {
  const std::string out = made->folder.File("bad.pdf");
  const std::string cell = "--cell-mm must be a number from 2.0 to 8.0";
  const std::string overlap = "--overlap must be a whole number from 0 to 5";
  for (const auto& [option, message] : std::vector<std::pair<std::string, std::string>>{
           {"--cell-mm 1.9", cell},
           {"--cell-mm 8.01", cell},
           {"--cell-mm 3,5", cell},
           {"--cell-mm nan", cell},
           {"--overlap 6", overlap},
           {"--overlap -1", overlap},
           {"--paper b5", "--paper must be a4, letter or a3"},
           {"--charts none", "--charts must be bw, color or both"},
           {"--brand coats", "--brand must be auto, dmc, anchor, madeira or none"},
           {"--landscape extra", "usage"}}) {
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
