#pragma once
// The one list of commands whose windows come with later work: they stand in the menus and
// on the toolbar, but are never enabled. Building one means removing it from here.

#include <algorithm>
#include <array>

#include "app/ui/commands.h"

// Every command is built now; the list stays for the next one that is not.
inline constexpr std::array<Command, 0> kUnbuiltCommands = {};

constexpr bool IsUnbuilt(Command command) {
  return std::find(kUnbuiltCommands.begin(), kUnbuiltCommands.end(), command) !=
         kUnbuiltCommands.end();
}
