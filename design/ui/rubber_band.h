#pragma once
// The band a drag shows: drawn over the grid from the drag's cells, never into the design,
// in black and white dashes so that it shows on every colour.

#include <QPoint>
#include <QRegion>

#include "design/ui/design_tool.h"

class QPainter;

struct RubberBand {
  DesignTool tool = DesignTool::Line;
  QPoint from, to;  // the centres of the start cell and of the cell the drag reached

  void Draw(QPainter& painter) const;
  // Every pixel Draw may touch: what is repainted when the band moves or goes.
  QRegion Area() const;
};
