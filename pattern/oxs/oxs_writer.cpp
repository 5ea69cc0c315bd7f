#include "pattern/oxs/oxs_writer.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include "base/atomic_file.h"

namespace {

// XML 1.0 has no way to write most control characters, even escaped: they are left out
// so that every reader can load the file.
QString XmlText(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.removeIf(
      [](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
  return result;
}

QString HexColor(TColor color) {
  return QStringLiteral("%1%2%3")
      .arg(RedOf(color), 2, 16, QChar(u'0'))
      .arg(GreenOf(color), 2, 16, QChar(u'0'))
      .arg(BlueOf(color), 2, 16, QChar(u'0'))
      .toUpper();
}

void WriteProperties(QXmlStreamWriter& xml, const OxsChart& chart) {
  xml.writeEmptyElement(QStringLiteral("properties"));
  xml.writeAttribute(QStringLiteral("oxsversion"), QStringLiteral("1.0"));
  xml.writeAttribute(QStringLiteral("software"), QStringLiteral("PunTel"));
  xml.writeAttribute(QStringLiteral("software_version"), QStringLiteral("2.0a"));
  xml.writeAttribute(QStringLiteral("chartwidth"), QString::number(chart.width));
  xml.writeAttribute(QStringLiteral("chartheight"), QString::number(chart.height));
  xml.writeAttribute(QStringLiteral("charttitle"), XmlText(chart.title));
  xml.writeAttribute(QStringLiteral("stitchesperinch"), QString::number(chart.stitches_per_inch));
  xml.writeAttribute(QStringLiteral("palettecount"), QString::number(chart.palette.size()));
}

void WritePalette(QXmlStreamWriter& xml, const OxsChart& chart) {
  xml.writeStartElement(QStringLiteral("palette"));
  for (size_t k = 0; k < chart.palette.size(); ++k) {
    const OxsPaletteItem& item = chart.palette[k];
    xml.writeEmptyElement(QStringLiteral("palette_item"));
    xml.writeAttribute(QStringLiteral("index"), QString::number(k));
    xml.writeAttribute(QStringLiteral("number"), XmlText(item.number));
    xml.writeAttribute(QStringLiteral("name"), XmlText(item.name));
    xml.writeAttribute(QStringLiteral("color"), HexColor(item.color));
    if (k == 0) continue;  // the cloth is no thread
    if (item.symbol != 0)
      xml.writeAttribute(QStringLiteral("symbol"), QString::number(item.symbol));
    xml.writeAttribute(QStringLiteral("strands"), QStringLiteral("2"));
  }
  xml.writeEndElement();
}

void WriteStitches(QXmlStreamWriter& xml, const OxsChart& chart) {
  xml.writeStartElement(QStringLiteral("fullstitches"));
  const QString stitch = QStringLiteral("stitch"), x = QStringLiteral("x"), y = QStringLiteral("y"),
                palindex = QStringLiteral("palindex");
  for (const OxsStitch& s : chart.stitches) {
    xml.writeEmptyElement(stitch);
    xml.writeAttribute(x, QString::number(s.x));
    xml.writeAttribute(y, QString::number(s.y));
    xml.writeAttribute(palindex, QString::number(s.palindex));
  }
  xml.writeEndElement();
}

}  // namespace

std::string OxsBytes(const OxsChart& chart) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("chart"));
  xml.writeEmptyElement(QStringLiteral("format"));
  xml.writeAttribute(QStringLiteral("comments01"),
                     QStringLiteral("Open cross stitch chart written by PunTel"));
  WriteProperties(xml, chart);
  WritePalette(xml, chart);
  WriteStitches(xml, chart);
  xml.writeEmptyElement(QStringLiteral("backstitches"));
  xml.writeEmptyElement(QStringLiteral("ornaments_inc_knots_and_beads"));
  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes.toStdString();
}

void WriteOxsFile(const std::string& path, const OxsChart& chart) {
  ReplaceFileContents(path, OxsBytes(chart));
}
