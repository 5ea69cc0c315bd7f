#include "pattern/draw/design_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <new>

#include "base/atomic_file.h"
#include "composition/bitmap_file.h"
#include "palette/floss_palette.h"

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;  // 96 / 0.0254
const QRgb kBlack = qRgb(0, 0, 0);

void Report(const ProgressHandler& progress, const char* what, int64_t k, int64_t of) {
  if (!progress) return;
  const int64_t percent = of > 0 ? k * 100 / of : 0;
  progress(std::string(what) + std::to_string(percent) + "%", uint16_t(percent));
}

void Clear(const ProgressHandler& progress) {
  if (progress) progress("", 0);
}

QRgb* Row(QImage& image, int64_t y) {
  return reinterpret_cast<QRgb*>(image.scanLine(int(y)));
}

// The pixels [left, left + width) x [top, top + height), clipped to the image.
void FillSpan(QImage& image, int64_t left, int64_t top, int64_t width, int64_t height, QRgb color) {
  const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(left + width, image.width());
  const int64_t y1 = std::min<int64_t>(top + height, image.height());
  for (int64_t y = y0; y < y1; ++y) std::fill(Row(image, y) + x0, Row(image, y) + x1, color);
}

QRgb ShownColor(TColor color) {
  return qRgb(RedOf(color), GreenOf(color), BlueOf(color));
}

}  // namespace

ChartGeometry ChartOf(const QImage& picture, int64_t cell) {
  return {picture.width(), picture.height(), cell};
}

QImage BlankImage(int64_t width, int64_t height) {
  QImage image(int(width), int(height), QImage::Format_RGB32);
  if (image.isNull() && width > 0 && height > 0) throw std::bad_alloc();
  image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
  image.fill(Qt::white);
  return image;
}

QImage BlankChart(const ChartGeometry& chart) {
  chart.Check();
  return BlankImage(chart.Width(), chart.Height());
}

void DrawChartGrid(QImage& image, const ChartGeometry& chart, const ProgressHandler& progress) {
  for (int64_t k = 0; k <= chart.columns; ++k) {
    FillSpan(image, chart.LineX(k), 0, 1, chart.VerticalLineLength(), kBlack);
    Report(progress, "Drawing X axis grid : ", k, chart.columns);
  }
  Clear(progress);
  for (int64_t k = 0; k <= chart.rows; ++k) {
    FillSpan(image, 0, chart.LineY(k), chart.HorizontalLineLength(), 1, kBlack);
    Report(progress, "Drawing Y axis grid : ", k, chart.rows);
  }
  Clear(progress);
}

void DrawChartPicture(QImage& image, const ChartGeometry& chart, const QImage& picture,
                      const ProgressHandler& progress) {
  const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
  const int64_t columns = std::min<int64_t>(chart.columns, pixels.width());
  const int64_t rows = std::min<int64_t>(chart.rows, pixels.height());
  for (int64_t x = 0; x < columns; ++x) {
    for (int64_t y = 0; y < rows; ++y) {
      const QRgb color = reinterpret_cast<const QRgb*>(pixels.constScanLine(int(y)))[x];
      const ChartCellBox cell = chart.Cell(x, y);
      FillSpan(image, cell.left, cell.top, cell.edge, cell.edge, color | 0xff000000u);
    }
    Report(progress, "Drawing image : ", x, chart.columns);
  }
  Clear(progress);
}

LegendGeometry LegendLayoutOf(const QFont& font, int64_t image_width, int64_t count) {
  const QImage device = BlankImage(1, 1);
  const QFontMetrics metrics(font, &device);
  return LegendLayout(image_width, metrics.height(), metrics.horizontalAdvance('H'), count);
}

QImage DrawLegend(const LegendGeometry& legend, const QFont& font, const TpunPal& palette,
                  const ProgressHandler& progress) {
  if (legend.TooLarge()) throw EDesignTooLarge();
  QImage image = BlankImage(legend.width, legend.height);
  const int64_t count = std::min<int64_t>(legend.count, palette.Count());
  for (int64_t k = 0; k < count; ++k) {
    const LegendPoint at = legend.Entry(k);
    // The swatch: its outline, then its inside, each pixel written once.
    FillSpan(image, at.x, at.y, legend.h, legend.h, kBlack);
    FillSpan(image, at.x + 1, at.y + 1, legend.h - 2, legend.h - 2,
             ShownColor(palette.GetClr(int32_t(k))));
    {
      QPainter painter(&image);
      painter.setFont(font);
      painter.setPen(Qt::black);
      painter.setBackgroundMode(Qt::OpaqueMode);
      painter.setBackground(Qt::white);
      const QFontMetrics metrics(font, &image);
      painter.drawText(QPointF(double(legend.NameX(at.x)), double(at.y + metrics.ascent())),
                       QString::fromLatin1(palette.GetName(int32_t(k)).c_str()));
    }
    Report(progress, "Printing colors : ", k, legend.count);
  }
  Clear(progress);
  return image;
}

void SaveDesignBitmap(const std::string& file_name, const QImage& image) {
  const int64_t width = image.width(), height = image.height();
  if (width > UINT16_MAX || height > UINT16_MAX) throw EDesignTooLarge();
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  PictureBlock block = NewPictureBlock(PictureBytes(uint32_t(width), uint32_t(height)));
  for (int64_t y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(pixels.constScanLine(int(y)));
    uint8_t* out = block.data() + PixelOffset(uint32_t(width), uint32_t(height), 0, uint32_t(y));
    for (int64_t x = 0; x < width; ++x, out += 3) {
      out[0] = uint8_t(qBlue(in[x]));
      out[1] = uint8_t(qGreen(in[x]));
      out[2] = uint8_t(qRed(in[x]));
    }
  }
  try {
    WriteBitmapFile(file_name, block, uint16_t(width), uint16_t(height));
  } catch (const Exception&) {
    // Whatever step failed, the user learns which file could not be made.
    throw EInOutError(FormatMessage("Cannot create file %s", file_name));
  }
}

void RefuseUnwritable(const std::string& file_name) {
  if (!MayReplace(file_name)) throw EInOutError(FormatMessage("Cannot create file %s", file_name));
}

std::string LegendFileName(const std::string& chart_file) {
  const size_t slash = chart_file.find_last_of('/');
  const size_t dot = chart_file.find_last_of('.');
  const bool has_bmp = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                       chart_file.size() - dot == 4 &&
                       QString::fromStdString(chart_file.substr(dot)).toLower() == ".bmp";
  if (!has_bmp) return chart_file + "-legend.bmp";
  return chart_file.substr(0, dot) + "-legend" + chart_file.substr(dot);
}
