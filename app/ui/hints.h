#pragma once
// Hints are "short text|long text": the short text is the tooltip, the long text goes to the
// frame's message panel while the mouse is over the control.

#include <QString>

class QAction;
class QWidget;

void SetHint(QWidget* widget, const QString& hint);
void SetHint(QAction* action, const QString& hint);
