#include "app/ui/puntel_application.h"

#include <QtGlobal>
#include <exception>

#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"
#include "base/message_seam.h"

PuntelApplication::PuntelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  InstallQtMessages();
}

bool PuntelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // The last guard: slots run through Guarded, so reaching here is a slip worth a log line.
    const std::string text = ErrorText(std::current_exception());
    qWarning("PunTel: an error reached the event loop: %s", text.c_str());
    try {
      Messages().Error(text);
    } catch (...) {
    }
  }
  // Whatever was working gave up: no window stays with the hourglass.
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  return false;
}
