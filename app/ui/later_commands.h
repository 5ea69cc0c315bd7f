#pragma once
// Commands whose windows come with later work stand in the menus and on the toolbar, but
// are never enabled until then.

#include <QObject>
#include <QVariant>

inline void MarkUnbuilt(QObject* command) {
  command->setProperty("puntelUnbuilt", true);
  command->setProperty("enabled", false);
}

// Enables or disables a command, keeping an unbuilt one disabled.
template <typename Command>
void EnableCommand(Command* command, bool enabled) {
  if (command) command->setEnabled(enabled && !command->property("puntelUnbuilt").toBool());
}
