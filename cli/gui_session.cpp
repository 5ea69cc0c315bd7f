#include "cli/gui_session.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace {
int argc = 1;
char name[] = "puntel-cli";
char* argv[] = {name, nullptr};
// Qt's own notes (a missing XDG_RUNTIME_DIR, say) are not the command's output; only its
// fatal messages still reach stderr.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}
}  // namespace

GuiSession::GuiSession() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(QuietQt);
  app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() = default;
