#include "pattern/draw/symbol_drawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/rounding.h"

namespace {

// 96 dots per inch in dots per metre, rounded as Qt reads it back (96).
constexpr int kDotsPerMetre = 3780;

QFont SymbolFont(const QString& family, int points, bool antialiased) {
  QFont font(family);
  font.setPointSize(points);
  // Never another font's glyph: a missing character draws nothing.
  QFont::StyleStrategy strategy = QFont::NoFontMerging;
  if (!antialiased) strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
  font.setStyleStrategy(strategy);
  return font;
}

QString TextOf(char32_t character) {
  return character ? QString::fromUcs4(&character, 1) : QString();
}

// Width (advance) and height (ascent + descent) of `text` on the 96-dpi canvas.
std::pair<int, int> Measure(const QFont& font, const QString& text) {
  static const QImage canvas = SymbolCanvas(1, 1);
  QFontMetrics metrics(font, &canvas);
  return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

}  // namespace

QImage SymbolCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMetre);
  image.setDotsPerMeterY(kDotsPerMetre);
  return image;
}

SymbolDrawing::SymbolDrawing(::SymbolTable& table) : table_(table) {
  TableChanged();
}

std::optional<std::string> SymbolDrawing::TableChanged(bool keep_sizes) {
  std::optional<std::string> first_error;
  faces_.assign(size_t(table_.Count()), SymbolFace{});
  font_names_.assign(size_t(table_.Count()), std::string());
  for (int32_t i = 0; i < table_.Count(); ++i) {
    try {
      const SymbolEntry entry = table_.Parse(i);
      faces_[size_t(i)] = FaceFor(entry.FontName, entry.Code);
      font_names_[size_t(i)] = entry.FontName;
    } catch (const std::exception& error) {
      if (!first_error) first_error = error.what();
    }
  }
  rendered_.clear();
  if (!keep_sizes) sizes_.clear();
  return first_error;
}

void SymbolDrawing::ResetFontCache() {
  sizes_.clear();
  rendered_.clear();
}

int SymbolDrawing::FittedSize(int32_t index, int edge) {
  const SymbolFace& face = FaceOf(index);
  const auto key = std::make_pair(font_names_[size_t(index)], edge);
  if (auto found = sizes_.find(key); found != sizes_.end()) return found->second;
  const QString text = TextOf(face.character);
  int size = std::max(edge, kSmallestSize + 1);
  do {
    --size;
    const auto [width, height] = Measure(SymbolFont(face.family, size, true), text);
    if (width <= edge - 4 && height <= edge - 4) break;
  } while (size > kSmallestSize);
  sizes_.emplace(key, size);
  return size;
}

QImage SymbolDrawing::RenderSymbol(int32_t index, int edge, qreal device_pixel_ratio,
                                   bool antialiased) {
  const int ratio_key = int(std::lround(device_pixel_ratio * 100));
  const auto key = std::make_tuple(index, edge, ratio_key, antialiased);
  if (auto found = rendered_.find(key); found != rendered_.end()) return found->second;
  const int pixels = int(std::ceil(edge * device_pixel_ratio));
  QImage image = SymbolCanvas(pixels, pixels);
  image.fill(Qt::white);
  image.setDevicePixelRatio(device_pixel_ratio);
  if (index >= 0 && index < SymbolCount() && size_t(index) < faces_.size() &&
      faces_[size_t(index)].parsed && faces_[size_t(index)].character) {
    const SymbolFace& face = faces_[size_t(index)];
    const QFont font = SymbolFont(face.family, FittedSize(index, edge), antialiased);
    const QString text = TextOf(face.character);
    const auto [width, height] = Measure(font, text);
    const int x = int(RoundHalfEven(std::abs(edge - width) * 0.5)) - 1;
    const int y = int(RoundHalfEven(std::abs(edge - height) * 0.5)) - 1;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(x, y + QFontMetrics(font, &image).ascent(), text);
  }
  rendered_.emplace(key, image);
  return image;
}

void SymbolDrawing::DrawSymbol(int32_t index, int x, int y, int edge, QPainter& painter) {
  if (index < 0 || index >= SymbolCount()) return;
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  painter.drawImage(QPoint(x, y), RenderSymbol(index, edge, ratio));
}

void SymbolDrawing::DrawColourSymbol(uint32_t color, int x, int y, int edge, QPainter& painter,
                                     uint32_t colors) {
  if (const auto symbol = table_.SymbolOfColor(color, colors)) {
    DrawSymbol(int32_t(*symbol), x, y, edge, painter);
  }
}

std::vector<uint32_t> SymbolDrawing::Whiteness(int edge) {
  std::vector<uint32_t> whiteness(static_cast<size_t>(SymbolCount()));
  for (int32_t i = 0; i < SymbolCount(); ++i) {
    const QImage image = RenderSymbol(i, edge, 1.0, false);
    uint32_t count = 0;
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) count += (row[x] & 0xFFFFFF) != 0;
    }
    whiteness[size_t(i)] = count;
  }
  return whiteness;
}

std::vector<uint32_t> SymbolDrawing::SortByInk(int edge) {
  std::vector<uint32_t> whiteness = Whiteness(edge);
  // The exchange sort: greatest whiteness first, equal values never swapped directly.
  std::vector<int32_t> order(whiteness.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int32_t(i);
  for (size_t k = 0; k < order.size(); ++k) {
    for (size_t j = k + 1; j < order.size(); ++j) {
      if (whiteness[k] < whiteness[j]) {
        std::swap(whiteness[k], whiteness[j]);
        std::swap(order[k], order[j]);
      }
    }
  }
  std::vector<std::string> entries;
  entries.reserve(order.size());
  for (int32_t index : order) entries.push_back(table_.Entry(index));
  table_.SetEntries(std::move(entries));
  TableChanged(true);
  return whiteness;
}

std::vector<std::pair<std::string, QString>> SymbolDrawing::MissingFonts() const {
  std::vector<std::pair<std::string, QString>> missing;
  for (size_t i = 0; i < faces_.size(); ++i) {
    if (!faces_[i].parsed || !faces_[i].substituted) continue;
    const bool known = std::any_of(missing.begin(), missing.end(),
                                   [&](const auto& m) { return m.first == font_names_[i]; });
    if (!known) missing.emplace_back(font_names_[i], faces_[i].family);
  }
  return missing;
}
