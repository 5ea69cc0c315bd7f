#include "app/ui/app_cursors.h"

#include <map>

#include "app/ui/art_resources.h"

namespace {

struct CursorArt {
  int number;
  const char* name;  // under cursors/
  QPoint hot;        // where the tool acts, in pixels of the 32x32 cursor
};

// The shape tools aim with the centre of their crosshair; the pen, the dropper and the
// paint stream act at their tips.
constexpr QPoint kCrossHot(8, 8);
constexpr CursorArt kCursors[] = {
    {kCursorCircle, "circle", kCrossHot}, {kCursorFill, "fill", {2, 29}},
    {kCursorPen, "pen", {1, 30}},         {kCursorPickup, "pickup", {1, 30}},
    {kCursorLine, "line", kCrossHot},     {kCursorSquare, "square", kCrossHot},
};

std::map<int, QCursor>& Registry() {
  static std::map<int, QCursor> cursors;
  return cursors;
}

}  // namespace

void LoadAppCursors() {
  auto& cursors = Registry();
  if (!cursors.empty()) return;
  // A sharp pixmap carries its ratio; the hot spot stays in pixels of the 32x32 cursor.
  const qreal ratio = ScreenRatio();
  for (const CursorArt& art : kCursors)
    cursors.emplace(art.number, QCursor(ArtPixmap(QStringLiteral("cursors/") + art.name, ratio),
                                        art.hot.x(), art.hot.y()));
}

QCursor AppCursor(int number) {
  LoadAppCursors();
  auto found = Registry().find(number);
  return found != Registry().end() ? found->second : QCursor(Qt::ArrowCursor);
}
