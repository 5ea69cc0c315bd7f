// OXS of a 400 by 400 photograph mapped to 40 DMC floss: the chart made and written to a
// file, and the file read back into a composition, each against a plain reference in the
// same run: the same text formatted with std::string appends and written, and the same
// file only tokenised by Qt's XML reader.
//
// Targets: written in at most 0.5 s, read back in at most 1 s.

#include <QByteArray>
#include <QXmlStreamReader>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "bench/photograph_picture.h"
#include "composition/composition.h"
#include "pattern/floss_brands.h"
#include "pattern/oxs/oxs_composition.h"
#include "pattern/oxs/oxs_reader.h"
#include "pattern/oxs/oxs_writer.h"
#include "pattern/symbol_table.h"

namespace {

constexpr uint16_t kSide = 400;
constexpr int kColors = 40, kRuns = 5;

double Seconds(const std::function<void()>& body) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    body();
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The chart's text without an XML library: what writing costs at the least.
std::string PlainText(const OxsChart& chart) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<chart>\n <palette>\n";
  for (const OxsPaletteItem& item : chart.palette)
    text += "  <palette_item number=\"" + item.number + "\" name=\"" + item.name + "\"/>\n";
  text += " </palette>\n <fullstitches>\n";
  for (const OxsStitch& s : chart.stitches)
    text += "  <stitch x=\"" + std::to_string(s.x) + "\" y=\"" + std::to_string(s.y) +
            "\" palindex=\"" + std::to_string(s.palindex) + "\"/>\n";
  return text + " </fullstitches>\n</chart>\n";
}

void Report(const char* what, double seconds, double reference, double target) {
  std::printf("%-32s %8.3f s   reference %8.3f s   ratio %5.2f   target <= %.1f s: %s\n", what,
              seconds, reference, seconds / reference, target,
              seconds <= target ? "met" : "MISSED");
}

}  // namespace

int main() {
  const std::string data = std::string(PUNTEL_RUNTIME_DIR) + "/";
  TpunPal main;
  main.LoadFromFile(data + "dmc25.clr");
  TpunCompo compo(&main);
  GivePhotographPattern(compo, main, kSide, kColors, 20261211);
  SymbolTable symbols;
  symbols.LoadFromFile(data + "carac.tbl");
  const FlossBrands brands = FlossBrands::Load(data);
  const OxsFlossNames names{FlossBrand::kDmc, &brands.Table(FlossBrand::kDmc)};
  const std::string file =
      (std::filesystem::temp_directory_path() / "puntel_oxs_bench.oxs").string();

  const double write =
      Seconds([&] { WriteOxsFile(file, ChartOfComposition(compo, symbols, names, "bench")); });
  const double write_plain = Seconds([&] {
    ReplaceFileContents(file + ".plain",
                        PlainText(ChartOfComposition(compo, symbols, names, "bench")));
  });
  const double read = Seconds([&] {
    TpunCompo back(&main);
    PutChartOnComposition(ReadOxsFile(file), back);
  });
  const double read_plain = Seconds([&] {
    std::string bytes(std::filesystem::file_size(file), '\0');
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in && std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) bytes.clear();
    if (in) std::fclose(in);
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    while (!xml.atEnd()) xml.readNext();
  });
  std::printf("OXS: %d x %d stitches, %d colours, file %.1f MB\n", kSide, kSide, kColors,
              double(std::filesystem::file_size(file)) / 1e6);
  Report("chart made and written", write, write_plain, 0.5);
  Report("read back into a composition", read, read_plain, 1.0);
  std::filesystem::remove(file);
  std::filesystem::remove(file + ".plain");
  return 0;
}
