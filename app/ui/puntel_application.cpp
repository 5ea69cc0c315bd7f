#include "app/ui/puntel_application.h"

#include <exception>

#include "app/ui/ui_seams.h"
#include "base/message_seam.h"

PuntelApplication::PuntelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  InstallQtMessages();
}

bool PuntelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Messages().Error(error.what());
  } catch (...) {
    Messages().Error("Unexpected error");
  }
  // Whatever was working gave up: no window stays with the hourglass.
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  return false;
}
