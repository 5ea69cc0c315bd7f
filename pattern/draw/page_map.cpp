#include "pattern/draw/page_map.h"

#include <algorithm>

#include "pattern/draw/page_canvas.h"

MmRect PaintPageMap(PageCanvas& canvas, const PagePlan& plan, const MmRect& box, bool right,
                    std::optional<int32_t> filled,
                    const std::function<QString(int32_t page)>& label) {
  const ChartPage last = plan.Page(plan.PageCount() - 1);
  const double width = last.columns.end, height = last.rows.end;  // the design's stitches
  const double scale = std::min(box.width / width, box.height / height);
  const MmRect map{
      right ? box.x + box.width - width * scale : box.x + (box.width - width * scale) / 2, box.y,
      width * scale, height * scale};
  // Page numbers get a size the smallest page holds.
  const double page_height = std::min(double(plan.StitchesDown()), height) * scale;
  const double page_width = std::min(double(plan.StitchesAcross()), width) * scale;
  const QFont font =
      PageFont(std::clamp(std::min(page_height * 0.5, page_width * 0.3) * 72 / 25.4, 4.0, 11.0));
  for (int32_t k = 0; k < plan.PageCount(); ++k) {
    const ChartPage page = plan.Page(k);
    const MmRect cell{map.x + page.columns.first * scale, map.y + page.rows.first * scale,
                      page.columns.Count() * scale, page.rows.Count() * scale};
    if (filled == k) canvas.Fill(cell, QColor(96, 96, 96));
    canvas.Frame(cell, 0.15, Qt::black);
    if (label) canvas.Text(cell, label(k), font, Qt::AlignCenter);
  }
  canvas.Frame(map, 0.3, Qt::black);
  return map;
}
