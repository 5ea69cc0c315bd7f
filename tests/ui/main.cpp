// The widget tests: the application object on Qt's offscreen platform, the settings in a
// temporary configuration folder, and no dialog that could wait for a person.

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/ui/puntel_application.h"
#include "base/message_seam.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TempFolder config;
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  PuntelApplication application(argc, argv);
  InstallMessages(nullptr);        // messages go to stderr unless a test scripts them
  ScriptedFileDialogs no_dialogs;  // every unscripted file dialog is cancelled
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
