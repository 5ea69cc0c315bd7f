#include "pattern/draw/symbol_drawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/rounding.h"
#include "pattern/symbol_sort.h"

namespace {

// 96 dots per inch in dots per metre, rounded as Qt reads it back (96).
constexpr int kDotsPerMetre = 3780;

// The size key of the digits that stand for shapes a substitute lacks: no font name
// holds a control character, so it meets no entry's font.
const std::string kDigitsKey = "\x01 digits";
// The digits are fitted with the widest value, so every byte's digits share one size.
const QString kWidestDigits = QStringLiteral("888");

QFont SymbolFont(const QString& family, int points, bool antialiased) {
  QFont font(family);
  font.setPointSize(points);
  // Never another font's glyph: a missing character draws nothing.
  QFont::StyleStrategy strategy = QFont::NoFontMerging;
  if (!antialiased) strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
  font.setStyleStrategy(strategy);
  return font;
}

QString TextOf(const SymbolFace& face) {
  if (face.digits) return QString::number(face.byte);
  return face.character ? QString::fromUcs4(&face.character, 1) : QString();
}

QString FamilyOf(const SymbolFace& face) {
  return face.digits ? QString::fromLatin1(kFallbackFamily) : face.family;
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
  // Ten fonts of a long table resolve ten times, not once per entry.
  std::map<std::string, ResolvedFont> fonts;
  for (int32_t i = 0; i < table_.Count(); ++i) {
    try {
      const SymbolEntry entry = table_.Parse(i);
      auto font = fonts.find(entry.FontName);
      if (font == fonts.end())
        font = fonts.emplace(entry.FontName, ResolveFont(entry.FontName)).first;
      faces_[size_t(i)] = FaceFor(font->second, entry.Code);
      font_names_[size_t(i)] = entry.FontName;
    } catch (const std::exception& error) {
      if (!first_error) first_error = error.what();
    }
  }
  DropRendered();
  if (!keep_sizes) sizes_.clear();
  ++generation_;
  return first_error;
}

void SymbolDrawing::ResetFontCache() {
  sizes_.clear();
  DropRendered();
  ++generation_;
}

void SymbolDrawing::DropRendered() {
  rendered_.clear();
  rendered_pixels_ = 0;
}

int SymbolDrawing::FitSize(const QString& family, const QString& text, int edge) const {
  int size = std::max(edge, kSmallestSize + 1);
  do {
    --size;
    const auto [width, height] = Measure(SymbolFont(family, size, true), text);
    if (width <= edge - 4 && height <= edge - 4) break;
  } while (size > kSmallestSize);
  return size;
}

int SymbolDrawing::FittedSize(int32_t index, int edge) {
  const SymbolFace& face = FaceOf(index);
  const auto key = std::make_pair(face.digits ? kDigitsKey : font_names_[size_t(index)], edge);
  if (auto found = sizes_.find(key); found != sizes_.end()) return found->second;
  const int size = FitSize(FamilyOf(face), face.digits ? kWidestDigits : TextOf(face), edge);
  sizes_.emplace(key, size);
  return size;
}

QImage SymbolDrawing::RenderUncached(int32_t index, int edge, qreal device_pixel_ratio,
                                     bool antialiased) {
  const int pixels = std::max(0, int(std::ceil(edge * device_pixel_ratio)));
  QImage image = SymbolCanvas(pixels, pixels);
  image.fill(Qt::white);
  image.setDevicePixelRatio(device_pixel_ratio);
  if (pixels == 0 || index < 0 || index >= SymbolCount() || size_t(index) >= faces_.size())
    return image;
  const SymbolFace& face = faces_[size_t(index)];
  const QString text = TextOf(face);
  if (!face.parsed || text.isEmpty()) return image;
  const QFont font = SymbolFont(FamilyOf(face), FittedSize(index, edge), antialiased);
  const auto [width, height] = Measure(font, text);
  const int x = int(RoundHalfEven(std::abs(edge - width) * 0.5)) - 1;
  const int y = int(RoundHalfEven(std::abs(edge - height) * 0.5)) - 1;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(x, y + QFontMetrics(font, &image).ascent(), text);
  return image;
}

QImage SymbolDrawing::RenderSymbol(int32_t index, int edge, qreal device_pixel_ratio,
                                   bool antialiased) {
  if (index < 0 || index >= SymbolCount())
    return RenderUncached(index, edge, device_pixel_ratio, antialiased);
  const int ratio_key = int(std::lround(device_pixel_ratio * 100));
  std::vector<QImage>& layer = rendered_[std::make_tuple(edge, ratio_key, antialiased)];
  if (layer.size() != size_t(SymbolCount())) layer.resize(size_t(SymbolCount()));
  QImage& kept = layer[size_t(index)];
  if (kept.isNull()) {
    QImage image = RenderUncached(index, edge, device_pixel_ratio, antialiased);
    const int64_t pixels = int64_t(image.width()) * image.height();
    // Bounded: past the limit everything kept goes, and filling starts again.
    if (rendered_pixels_ + pixels > kRenderedPixelLimit) {
      DropRendered();
      return image;
    }
    rendered_pixels_ += pixels;
    kept = std::move(image);
  }
  return kept;
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
    // Each is counted once: keeping them would only cost memory.
    const QImage image = RenderUncached(i, edge, 1.0, false);
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
  InkOrder sorted = InkSortOrder(Whiteness(edge));
  std::vector<std::string> entries;
  entries.reserve(sorted.order.size());
  std::vector<SymbolFace> faces;
  std::vector<std::string> font_names;
  for (int32_t index : sorted.order) {
    entries.push_back(table_.Entry(index));
    faces.push_back(faces_[size_t(index)]);
    font_names.push_back(font_names_[size_t(index)]);
  }
  table_.SetEntries(std::move(entries));
  // The entries moved, not changed: their faces move with them and the sizes stay.
  faces_ = std::move(faces);
  font_names_ = std::move(font_names);
  DropRendered();
  ++generation_;
  return std::move(sorted.whiteness);
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
