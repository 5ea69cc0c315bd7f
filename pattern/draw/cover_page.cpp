#include "pattern/draw/cover_page.h"

#include <QDate>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/page_map.h"
#include "pattern/draw/pattern_printout.h"

namespace {

constexpr int kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kCentre = Qt::AlignCenter;
constexpr double kFactMm = 6.0;
constexpr double kNoteMm = 4.5;
constexpr int kNoteLines = 5;
// The preview has at least this many pixels on its longer side, each stitch a square of
// whole pixels, so it stays sharp in any viewer.
constexpr int kPreviewPixels = 800;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QImage Preview(const PrintedPattern& pattern) {
  const int scale = std::max(1, kPreviewPixels / std::max(pattern.width, pattern.height));
  QImage image(pattern.width * scale, pattern.height * scale, QImage::Format_RGB32);
  for (int32_t y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < image.width(); ++x) {
      const int32_t cell = pattern.Cell(x / scale, y / scale);
      line[x] = cell == PrintedPattern::kNotStitched
                    ? qRgb(255, 255, 255)
                    : FlossColor(pattern.floss[size_t(cell)].color).rgb();
    }
  }
  return image;
}

QString Size(double stitches, double count) {
  return QString::number(stitches / count * 2.54, 'f', 1);
}

QStringList Facts(const PrintedPattern& pattern) {
  const FlossKey& key = pattern.key;
  const double count = key.fabric_count;
  int32_t colors = 0;
  for (const KeyRow& row : key.rows) colors += row.not_stitched ? 0 : 1;
  QStringList facts;
  facts << QString("Design size: %1 \u00d7 %2 stitches").arg(pattern.width).arg(pattern.height)
        << QString("Finished size: %1 \u00d7 %2 cm (%3 \u00d7 %4 in) on %5 count")
               .arg(Size(pattern.width, count), Size(pattern.height, count),
                    QString::number(pattern.width / count, 'f', 1),
                    QString::number(pattern.height / count, 'f', 1))
               .arg(key.fabric_count)
        << QString("Colors: %1").arg(colors) << QString("Stitches: %1").arg(pattern.stitches);
  if (!key.fabric_note.empty()) facts << Q(key.fabric_note);
  return facts;
}

// "Black and white chart: pages 3–8; color chart: pages 9–14".
QString ChartPagesLine(const PatternPrintout& printout) {
  QStringList parts;
  const int32_t n = printout.Plan().PageCount();
  auto range = [&](bool color) {
    return QString("pages %1\u2013%2")
        .arg(printout.ChartPageNumber(color, 0))
        .arg(printout.ChartPageNumber(color, n - 1));
  };
  if (printout.Parts().bw_chart) parts << "Black and white chart: " + range(false);
  if (printout.Parts().color_chart) parts << "color chart: " + range(true);
  QString line = parts.join("; ");
  if (!line.isEmpty()) line[0] = line[0].toUpper();
  return line;
}

QStringList NoteLines(const std::string& notes) {
  QStringList lines = QString::fromLatin1(notes.data(), qsizetype(notes.size()))
                          .split(QRegularExpression("\r\n|\r|\n"), Qt::SkipEmptyParts);
  if (lines.size() > kNoteLines) lines = lines.mid(0, kNoteLines);
  return lines;
}

}  // namespace

void PaintCoverPage(PageCanvas& canvas, const PatternPrintout& printout) {
  const PrintedPattern& pattern = printout.Pattern();
  const PagePlan& plan = printout.Plan();
  const double left = kPageMarginMm, width = plan.PageWidth() - 2 * kPageMarginMm;
  const double bottom = plan.PageHeight() - kPageMarginMm;
  double y = kPageMarginMm;
  canvas.Text({left, y, width, 14}, Q(pattern.title), PageFont(22, true), kCentre);
  y += 18;

  // The picture as stitched: square stitches, no smoothing.
  const double room = std::min(width, (bottom - y) * 0.45);
  const double stitch = std::min(room / pattern.width, room / pattern.height);
  const MmRect preview{left + (width - stitch * pattern.width) / 2, y, stitch * pattern.width,
                       stitch * pattern.height};
  QPainter& painter = canvas.Painter();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.drawImage(canvas.Rect(preview), Preview(pattern));
  canvas.Frame(preview, 0.2, Qt::black);
  y += preview.height + 5;

  for (const QString& fact : Facts(pattern)) {
    canvas.Text({left, y, width, kFactMm}, fact, PageFont(11), kCentre);
    y += kFactMm;
  }
  const QStringList notes = NoteLines(pattern.notes);
  if (!notes.isEmpty()) {
    y += 2;
    canvas.Text({left, y, width, kNoteMm}, "Notes", PageFont(9, true), kLeft);
    y += kNoteMm;
    for (const QString& line : notes) {
      canvas.Text({left, y, width, kNoteMm}, line, PageFont(9), kLeft);
      y += kNoteMm;
    }
  }

  // The page map fills what is left above the footer.
  const double footer = 8.0;
  const QString chart_pages = ChartPagesLine(printout);
  if (!chart_pages.isEmpty()) {
    y += 3;
    canvas.Text({left, y, width, kFactMm}, chart_pages, PageFont(9), kCentre);
    y += kFactMm;
    const bool bw = printout.Parts().bw_chart;
    const MmRect box{left, y, width, std::max(10.0, bottom - footer - 2 - y)};
    PaintPageMap(canvas, plan, box, false, std::nullopt, [&printout, bw](int32_t page) {
      return QString::number(printout.ChartPageNumber(!bw, page));
    });
  }
  const QFont small = PageFont(8);
  canvas.Text({left, bottom - footer, width, footer}, QDate::currentDate().toString(Qt::ISODate),
              small, Qt::AlignLeft | Qt::AlignBottom);
  canvas.Text({left, bottom - footer, width, footer}, "PunTel 2.0a", small,
              Qt::AlignRight | Qt::AlignBottom);
}
