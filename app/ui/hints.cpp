#include "app/ui/hints.h"

#include <QAction>
#include <QWidget>

namespace {
QString ShortPart(const QString& hint) {
  return hint.section('|', 0, 0);
}
QString LongPart(const QString& hint) {
  return hint.contains('|') ? hint.section('|', 1) : hint;
}
}  // namespace

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(ShortPart(hint));
  widget->setStatusTip(LongPart(hint));
}

void SetHint(QAction* action, const QString& hint) {
  action->setToolTip(ShortPart(hint));
  action->setStatusTip(LongPart(hint));
}
