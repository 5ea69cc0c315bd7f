#pragma once
// An OXS file as Qt's XML reader alone sees it, so that a fault of ReadOxs cannot hide a
// fault of what was written.

#include <QByteArray>
#include <QXmlStreamReader>
#include <map>
#include <string>
#include <vector>

using OxsAttributes = std::map<std::string, std::string>;

struct OxsXml {
  std::vector<std::string> elements;  // every start element, in order
  OxsAttributes properties;
  std::vector<OxsAttributes> items, stitches;
  bool ok = false;  // false for XML the reader refuses
};

inline OxsXml ParseOxsXml(const std::string& bytes) {
  QXmlStreamReader xml(QByteArray::fromStdString(bytes));
  OxsXml parsed;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const std::string name = xml.name().toString().toStdString();
    parsed.elements.push_back(name);
    OxsAttributes attributes;
    for (const auto& a : xml.attributes())
      attributes[a.name().toString().toStdString()] = a.value().toString().toStdString();
    if (name == "properties") parsed.properties = attributes;
    if (name == "palette_item") parsed.items.push_back(attributes);
    if (name == "stitch") parsed.stitches.push_back(attributes);
  }
  parsed.ok = !xml.hasError();
  return parsed;
}
