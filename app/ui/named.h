#pragma once
// Controls keep the component names of the design as their object names, so tests and
// style sheets find them.

#include <QObject>

template <typename Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(name);
  return control;
}
