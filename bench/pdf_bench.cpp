// The printed pattern of a 400 by 400 photograph mapped to 40 DMC floss, with the defaults
// (A4 portrait, 3 mm cells: cover, floss key and both charts, 80 chart pages):
//  - the whole `puntel-cli pdf` process: its time, the file's size and the child's peak
//    memory;
//  - the same printout in this process, page by page: time and bytes of each kind of page;
//  - the reference in the same run: the same chart pages drawn the plain way, one
//    QPainter::drawText per cell on a QPdfWriter of the same paper;
//  - one chart page of each style rendered by `pdftoppm -r 150`, as a tablet opens it.
//
// Targets: the command in at most 6 s, the file at most 20 MB, at most 300 MB peak memory,
// a chart page rendered in at most 1 s.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/photograph_picture.h"
#include "composition/composition.h"
#include "pattern/draw/print_pages.h"
#include "pattern/symbol_table.h"

namespace {

constexpr uint16_t kSide = 400;
constexpr int kColors = 40;

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

// Runs `argv` with its output sent to `out`; its exit status, or -1.
int RunChild(const std::vector<std::string>& argv, const std::string& out) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) dup2(fd, STDOUT_FILENO);
    std::vector<char*> words;
    for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
    words.push_back(nullptr);
    execvp(words[0], words.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(const QElapsedTimer& timer) {
  return double(timer.nsecsElapsed()) / 1e9;
}

// The chart pages the plain way: every cell filled (colour) and its symbol drawn with its
// own drawText, the grid one line per stitch; no numbers, header or marks.
double PlainChartPages(const PatternPrintout& printout, const std::string& file) {
  const PrintedPattern& pattern = printout.Pattern();
  const PagePlan& plan = printout.Plan();
  QElapsedTimer timer;
  timer.start();
  QPdfWriter writer(QString::fromStdString(file));
  writer.setResolution(600);
  writer.setPageLayout(PrintedPageLayout(plan));
  QPainter painter(&writer);
  const double dpmm = writer.logicalDpiX() / 25.4;
  std::map<QString, QFont> fonts;
  for (const PrintedFloss& floss : pattern.floss) {
    QFont font(floss.face.family);
    font.setPointSizeF(printout.SymbolPointSize(floss.face.family));
    fonts.emplace(floss.face.family, font);
  }
  for (int color = 0; color < 2; ++color)
    for (int32_t index = 0; index < plan.PageCount(); ++index) {
      if (color || index) writer.newPage();
      const ChartPage page = plan.Page(index);
      painter.setPen(QPen(Qt::gray, 0.1 * dpmm));
      for (int32_t k = page.shown_columns.first; k <= page.shown_columns.end; ++k)
        painter.drawLine(
            QPointF(plan.LineX(page, k) * dpmm, plan.LineY(page, page.shown_rows.first) * dpmm),
            QPointF(plan.LineX(page, k) * dpmm, plan.LineY(page, page.shown_rows.end) * dpmm));
      for (int32_t k = page.shown_rows.first; k <= page.shown_rows.end; ++k)
        painter.drawLine(
            QPointF(plan.LineX(page, page.shown_columns.first) * dpmm, plan.LineY(page, k) * dpmm),
            QPointF(plan.LineX(page, page.shown_columns.end) * dpmm, plan.LineY(page, k) * dpmm));
      for (int32_t row = page.shown_rows.first; row < page.shown_rows.end; ++row)
        for (int32_t column = page.shown_columns.first; column < page.shown_columns.end; ++column) {
          const int32_t cell = pattern.Cell(column, row);
          if (cell == PrintedPattern::kNotStitched) continue;
          const PrintedFloss& floss = pattern.floss[size_t(cell)];
          const MmRect r = *plan.Cell(page, column, row);
          const QRectF box(r.x * dpmm, r.y * dpmm, r.width * dpmm, r.height * dpmm);
          if (color)
            painter.fillRect(box,
                             QColor(RedOf(floss.color), GreenOf(floss.color), BlueOf(floss.color)));
          painter.setFont(fonts[floss.face.family]);
          painter.setPen(Qt::black);
          const char32_t character = floss.face.character;
          painter.drawText(box, Qt::AlignCenter, QString::fromUcs4(&character, 1));
        }
    }
  painter.end();
  return Seconds(timer);
}

struct KindFigures {
  int pages = 0;
  double seconds = 0, slowest = 0;
  qint64 bytes = 0;
};

// The printout in this process into one PDF, page by page: each page's time, and its bytes
// as the writer puts them out when the next page starts.
std::map<PageKind, KindFigures> PagesInProcess(const PatternPrintout& printout, double& whole) {
  std::map<PageKind, KindFigures> kinds;
  QElapsedTimer all;
  all.start();
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  QPdfWriter writer(&bytes);
  writer.setResolution(600);
  writer.setPageLayout(PrintedPageLayout(printout.Plan()));
  QPainter painter(&writer);
  const double dpmm = writer.logicalDpiX() / 25.4;
  qint64 before = 0;
  PageKind last = PageKind::kCover;
  for (int32_t k = 0; k < printout.PageCount(); ++k) {
    QElapsedTimer timer;
    timer.start();
    if (k) writer.newPage();  // puts out page k - 1
    if (k) kinds[last].bytes += bytes.size() - before;
    before = bytes.size();
    printout.Paint(painter, k, dpmm);
    const double seconds = Seconds(timer);
    last = printout.Page(k).kind;
    KindFigures& figures = kinds[last];
    ++figures.pages;
    figures.seconds += seconds;
    figures.slowest = std::max(figures.slowest, seconds);
  }
  painter.end();
  kinds[last].bytes += bytes.size() - before;  // with the fonts and the trailer
  whole = Seconds(all);
  return kinds;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir folder;
  if (!folder.isValid()) return 1;
  const std::string data = std::string(PUNTEL_RUNTIME_DIR) + "/";
  TpunPal main;
  main.LoadFromFile(data + "dmc25.clr");
  TpunCompo compo(&main);
  GivePhotographPattern(compo, main, kSide, kColors, 20261211);
  const std::string dmc = folder.filePath("photograph.dmc").toStdString();
  const std::string pdf = folder.filePath("photograph.pdf").toStdString();
  compo.SaveToFile(dmc);

  // The whole command, the median of three runs; its peak memory the largest of this
  // process's children so far.
  QElapsedTimer timer;
  int status = 0;
  std::vector<double> runs;
  for (int run = 0; run < 3 && status == 0; ++run) {
    timer.start();
    status = RunChild({PUNTEL_CLI, "pdf", dmc, pdf}, folder.filePath("pages.txt").toStdString());
    runs.push_back(Seconds(timer));
  }
  std::sort(runs.begin(), runs.end());
  const double command = runs[runs.size() / 2];
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const double peak_mb = double(usage.ru_maxrss) / 1024.0;
  if (status != 0) {
    std::printf("puntel-cli pdf failed (status %d)\n", status);
    return 1;
  }
  const double file_mb = double(std::filesystem::file_size(pdf)) / 1e6;

  // The same printout here, and the plain chart pages.
  SymbolTable symbols;
  symbols.LoadFromFile(data + "carac.tbl");
  std::vector<std::string> threads;
  compo.Palette().ListThreads(threads);
  const PrintedPattern pattern = SnapshotPattern(compo, symbols, threads, FlossBrands::Load(data),
                                                 BrandRequest{}, "bench", {});
  const PatternPrintout printout(pattern, PrintChoices{});
  double in_process = 0;
  const auto kinds = PagesInProcess(printout, in_process);
  const int32_t charts = 2 * printout.Plan().PageCount();
  double chart_seconds = 0;
  for (PageKind kind : {PageKind::kBwChart, PageKind::kColorChart})
    if (kinds.count(kind)) chart_seconds += kinds.at(kind).seconds;
  const std::string plain_file = folder.filePath("plain.pdf").toStdString();
  const double plain = PlainChartPages(printout, plain_file);
  const double plain_mb = double(std::filesystem::file_size(plain_file)) / 1e6;

  std::printf("PDF: %d x %d stitches, %d colours, %d pages (%d chart pages)\n", kSide, kSide,
              kColors, printout.PageCount(), charts);
  std::printf("  puntel-cli pdf, whole process   %7.2f s    target <= 6 s: %s\n", command,
              Verdict(command <= 6.0));
  std::printf("  file                            %7.2f MB   target <= 20 MB: %s\n", file_mb,
              Verdict(file_mb <= 20.0));
  std::printf("  peak memory of the command      %7.1f MB   target <= 300 MB: %s\n", peak_mb,
              Verdict(peak_mb <= 300.0));
  std::printf("  per page: %.1f ms, %.1f KB\n", command * 1e3 / printout.PageCount(),
              file_mb * 1e3 / printout.PageCount());
  for (const auto& [kind, f] : kinds)
    std::printf("  %-6s %3d pages: %7.1f ms a page (slowest %7.1f ms), %7.1f KB a page\n",
                PatternPrintout::KindWord(kind).c_str(), f.pages, f.seconds * 1e3 / f.pages,
                f.slowest * 1e3, double(f.bytes) / 1e3 / f.pages);
  std::printf("  in this process: all pages %.2f s, the chart pages %.2f s\n", in_process,
              chart_seconds);
  std::printf(
      "  reference, one drawText per cell: the chart pages %.2f s, %.2f MB;"
      " chart pages / reference %.2f, command / reference %.2f\n",
      plain, plain_mb, chart_seconds / plain, command / plain);

  // A tablet opening a chart page: the first of each style.
  for (int32_t k = 0; k < printout.PageCount(); ++k) {
    const PageKind kind = printout.Page(k).kind;
    if (printout.Page(k).part_index != 0 ||
        (kind != PageKind::kBwChart && kind != PageKind::kColorChart))
      continue;
    const std::string page = std::to_string(k + 1);
    timer.restart();
    const int rendered = RunChild({"pdftoppm", "-r", "150", "-f", page, "-l", page, pdf,
                                   folder.filePath("page").toStdString()},
                                  "/dev/null");
    const double seconds = Seconds(timer);
    std::printf("  pdftoppm -r 150, page %3s %-7s %7.2f s    target <= 1 s: %s%s\n", page.c_str(),
                PatternPrintout::KindWord(kind).c_str(), seconds, Verdict(seconds <= 1.0),
                rendered == 0 ? "" : "   (pdftoppm failed)");
  }
  return 0;
}
