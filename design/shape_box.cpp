#include "design/shape_box.h"

#include <algorithm>

CellRect WideBox::Clipped(const CellRect& bounds) const {
  const CellRect cut{int(std::max<long long>(left, bounds.left)),
                     int(std::max<long long>(top, bounds.top)),
                     int(std::min<long long>(right, bounds.right)),
                     int(std::min<long long>(bottom, bounds.bottom))};
  return cut.Empty() ? CellRect{} : cut;
}

namespace {
void OrderAxis(long long s, long long e, long long& low, long long& high) {
  low = std::min(s, e);
  high = s == e ? low : std::max(s, e) + 1;
}
}  // namespace

WideBox OrderedBox(Cell s, Cell e) {
  WideBox box;
  OrderAxis(s.col, e.col, box.left, box.right);
  OrderAxis(s.row, e.row, box.top, box.bottom);
  return box;
}

WideBox InclusiveBox(Cell s, Cell e) {
  return {std::min<long long>(s.col, e.col), std::min<long long>(s.row, e.row),
          std::max<long long>(s.col, e.col) + 1, std::max<long long>(s.row, e.row) + 1};
}
