#pragma once
// The one list of commands whose windows come with later work: they stand in the menus and
// on the toolbar, but are never enabled. Building one means removing it from here.

#include <algorithm>
#include <array>

#include "app/ui/commands.h"

inline constexpr std::array kUnbuiltCommands = {
    Command::Viewer,
    Command::HelpContents,
};

constexpr bool IsUnbuilt(Command command) {
  return std::find(kUnbuiltCommands.begin(), kUnbuiltCommands.end(), command) !=
         kUnbuiltCommands.end();
}
