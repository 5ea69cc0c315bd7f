#include "cli/gui_session.h"

#include <QGuiApplication>
#include <cstdlib>

namespace {
int argc = 1;
char name[] = "puntel-cli";
char* argv[] = {name, nullptr};
}  // namespace

GuiSession::GuiSession() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() = default;
