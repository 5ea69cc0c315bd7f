#include "pattern/oxs/oxs_reader.h"

#include <QString>
#include <QXmlStreamReader>
#include <optional>

#include "base/whole_file.h"

namespace {

// Far beyond a 65535-wide chart's text: a larger file is no chart.
constexpr size_t kOxsFileLimit = size_t(2) << 30;

uint32_t Number(const QXmlStreamAttributes& attributes, const char* name, uint32_t high) {
  bool ok = false;
  const uint32_t value = attributes.value(QLatin1String(name)).trimmed().toUInt(&ok);
  if (!ok || value > high) throw EInvalidOxs();
  return value;
}

std::string Text(const QXmlStreamAttributes& attributes, const char* name) {
  return attributes.value(QLatin1String(name)).toString().toStdString();
}

TColor Color(const QXmlStreamAttributes& attributes) {
  const QStringView text = attributes.value(QLatin1String("color")).trimmed();
  bool ok = text.size() == 6;
  const uint32_t rgb = ok ? text.toUInt(&ok, 16) : 0;
  if (!ok) throw EInvalidOxs();
  return MakeColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

void ReadProperties(const QXmlStreamAttributes& attributes, OxsChart& chart) {
  chart.width = uint16_t(Number(attributes, "chartwidth", 65535));
  chart.height = uint16_t(Number(attributes, "chartheight", 65535));
  if (chart.width == 0 || chart.height == 0) throw EInvalidOxs();
  chart.title = Text(attributes, "charttitle");
  if (attributes.hasAttribute(QLatin1String("stitchesperinch"))) {
    bool ok = false;
    const uint32_t count = attributes.value(QLatin1String("stitchesperinch")).toUInt(&ok);
    if (ok && count > 0 && count <= 65535) chart.stitches_per_inch = uint16_t(count);
  }
}

OxsPaletteItem ReadItem(const QXmlStreamAttributes& attributes) {
  OxsPaletteItem item;
  item.number = Text(attributes, "number");
  item.name = Text(attributes, "name");
  item.color = Color(attributes);
  bool ok = false;
  const uint32_t symbol = attributes.value(QLatin1String("symbol")).toUInt(&ok);
  if (ok && symbol <= 0x10FFFF) item.symbol = char32_t(symbol);
  return item;
}

// Sizes and references are checked once the whole file is read: an element may come
// before the one it refers to.
void Check(const OxsChart& chart, bool had_properties) {
  if (!had_properties) throw EInvalidOxs();
  for (const OxsStitch& stitch : chart.stitches)
    if (stitch.x >= chart.width || stitch.y >= chart.height ||
        stitch.palindex >= chart.palette.size())
      throw EInvalidOxs();
}

}  // namespace

OxsChart ReadOxs(const std::string& bytes) {
  QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
  OxsChart chart;
  bool had_properties = false, in_palette = false, in_stitches = false;
  if (!xml.readNextStartElement() || xml.name() != QLatin1String("chart")) throw EInvalidOxs();
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement) {
      if (xml.name() == QLatin1String("palette")) in_palette = false;
      if (xml.name() == QLatin1String("fullstitches")) in_stitches = false;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (name == QLatin1String("properties")) {
      ReadProperties(attributes, chart);
      had_properties = true;
    } else if (name == QLatin1String("palette")) {
      in_palette = true;
    } else if (name == QLatin1String("palette_item") && in_palette) {
      chart.palette.push_back(ReadItem(attributes));
    } else if (name == QLatin1String("fullstitches")) {
      in_stitches = true;
    } else if (name == QLatin1String("stitch") && in_stitches) {
      chart.stitches.push_back({uint16_t(Number(attributes, "x", 65534)),
                                uint16_t(Number(attributes, "y", 65534)),
                                Number(attributes, "palindex", 0xFFFFFFFFu)});
    }
  }
  if (xml.hasError()) throw EInvalidOxs();
  Check(chart, had_properties);
  return chart;
}

OxsChart ReadOxsFile(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes, kOxsFileLimit) != WholeFile::kRead)
    throw EInOutError("Unable to read " + path);
  return ReadOxs(bytes);
}
