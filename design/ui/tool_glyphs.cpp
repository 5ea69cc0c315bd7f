#include "design/ui/tool_glyphs.h"

#include <QPainter>
#include <QPixmap>

#include "app/ui/art_resources.h"

namespace {

QIcon Shape(DesignTool tool) {
  QPixmap picture(20, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, IsEllipse(tool));
  painter.setPen(QPen(Qt::black, 1.5));
  const bool filled = tool == DesignTool::FilledRectangle || tool == DesignTool::FilledEllipse;
  painter.setBrush(filled ? QBrush(QColor(0, 90, 170)) : Qt::NoBrush);
  const QRectF box(3.5, 4.5, 13, 11);
  if (IsEllipse(tool))
    painter.drawEllipse(box);
  else
    painter.drawRect(box);
  return QIcon(picture);
}

}  // namespace

QIcon ToolGlyph(DesignTool tool) {
  switch (tool) {
    case DesignTool::Pencil:
      return ArtIcon("cursors/pen");
    case DesignTool::Line:
      return ArtIcon("cursors/line");
    case DesignTool::Pickup:
      return ArtIcon("cursors/pickup");
    case DesignTool::Fill:
      return ArtIcon("cursors/fill");
    default:
      return Shape(tool);
  }
}
