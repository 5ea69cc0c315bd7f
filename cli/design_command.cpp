#include <QFont>
#include <QGuiApplication>

#include "base/int_parse.h"
#include "cli/document.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "composition/ui/screen_bitmap.h"
#include "pattern/draw/design_chart.h"

namespace {

// "FAMILY" or "FAMILY:POINTS"; the windows' own font when none is given.
QFont LegendFont(const std::string& text) {
  if (text.empty()) return QGuiApplication::font();
  const size_t colon = text.find_last_of(':');
  if (colon == std::string::npos) return QFont(QString::fromStdString(text));
  const std::string family = text.substr(0, colon);
  const int32_t points = ParseNumber(text.substr(colon + 1), 1, 500, "--font points");
  if (family.empty()) throw CliError("--font needs a family before its points");
  return QFont(QString::fromStdString(family), points);
}

void Design(Arguments& args, const std::string& usage) {
  GuiSession gui;
  auto palette = LoadMainPalette(args);
  const int32_t cell = ParseNumber(args.TakeOption("--cell", std::to_string(kDefaultDesignCell)),
                                   kSmallestDesignCell, kLargestDesignCell, "--cell");
  const QFont font = LegendFont(args.TakeOption("--font", ""));
  const auto files = args.Positional(2, usage);
  auto document = LoadDocument(*palette, files[0], nullptr);
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  // The picture as the document window shows it once mapped, and as its design window copies.
  const std::optional<TPicture> mapped = document->MapPicture(nullptr, NeverCancelled());
  const QImage picture = CreateScreenBitmap(mapped ? *mapped : document->MappedPicture());
  const ChartGeometry chart = ChartOf(picture, cell);
  QImage image = BlankChart(chart);  // refuses a chart over the size limit
  DrawChartGrid(image, chart, nullptr);
  DrawChartPicture(image, chart, picture, nullptr);
  const TpunPal& colors = document->Palette();
  const LegendGeometry legend =
      LegendLayoutOf(font, LegendImageWidth(chart.Width()), colors.Count());
  const QImage legend_image = DrawLegend(legend, font, colors, nullptr);
  const std::string legend_file = LegendFileName(files[1]);
  // Both files or neither.
  RefuseUnwritable(files[1]);
  RefuseUnwritable(legend_file);
  SaveDesignBitmap(files[1], image);
  SaveDesignBitmap(legend_file, legend_image);
}

}  // namespace

Command DesignCommand() {
  return {
      "puntel-cli design FILE.dmc OUT.bmp [--cell N] [--font FAMILY[:POINTS]] [--palette FILE] "
      "[--match rgb|ciede2000]",
      "the colour chart of the mapped picture, one cell of N pixels (3 to 50, 10 unless "
      "given) per stitch between one-pixel grid lines, as a 24-bit bitmap, and its legend "
      "of floss as OUT-legend.bmp",
      Design};
}
