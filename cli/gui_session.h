#pragma once
// The drawing commands draw with Qt Gui on the offscreen platform: no display is needed,
// and the other commands never start Qt.

#include <memory>

class QGuiApplication;

class GuiSession {
 public:
  // Sets QT_QPA_PLATFORM=offscreen unless it is set, then starts Qt Gui.
  GuiSession();
  ~GuiSession();
  GuiSession(const GuiSession&) = delete;
  GuiSession& operator=(const GuiSession&) = delete;

 private:
  std::unique_ptr<QGuiApplication> app_;
};
