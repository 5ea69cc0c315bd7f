#pragma once
// The program's commands: one entry per command says its component name, caption, key,
// toolbar button and what it needs to be enabled. The frame makes one QAction per entry;
// the menu item and the toolbar button are that action.

#include <QString>
#include <array>
#include <cstdint>

enum class Command : uint8_t {
  New,
  Open,
  Save,
  SaveAs,
  Import,
  Export,
  LoadColors,
  SaveColors,
  Notes,
  Preferences,
  Print,
  Exit,
  ColorTable,
  Rotate,
  ColorSearch,
  CancelSearch,
  CreateDesign,
  Remap,
  BusyOff,
  StitchPattern,
  FlossReport,
  ColorUsage,
  CharTable,
  Viewer,
  DesignEditor,
  TempPalette,
  AutoRemap,
  FitInWindow,
  Cascade,
  Tile,
  Arrange,
  MinimizeAll,
  HelpContents,
  About,
  TurnRight,
  TurnLeft,
  Resize,
  ExportOxs,
  UndoPalette,
  PerceptualMatch,
  kCount
};
constexpr size_t kCommandCount = size_t(Command::kCount);

// What a command needs before it can be used.
enum class Need : uint8_t {
  Nothing,       // always there
  Document,      // a document window is active
  IdleDocument,  // ... and it is not busy
  IdleOrNone,    // no document is active, or the active one is not busy
  Picture,       // the active document has a picture
  IdlePicture,   // ... and it is not busy
  Busy,          // the active document is busy ("Turn BUSY flag off")
  Cancellable,   // the active document runs the color search or makes printed pages
  Unmapped,      // the active document's picture is not mapped on its palette yet
  NoneBusy,      // no document is busy and the frame is not closing (Exit)
  NoTempPal,     // the temporary palette's window is not open
  PaletteUndo,   // the active document is idle and has a palette change to take back
};

struct CommandInfo {
  Command command;
  const char* name;    // the menu item's component name, kept as the action's object name
  const char* text;    // the menu caption
  const char* key;     // QKeySequence text, or empty
  const char* button;  // the toolbar button showing it, or null
  const char* hint;    // "short|long" for the toolbar button, or null
  Need need;
  bool checkable = false;
};

const CommandInfo& InfoOf(Command command);
const std::array<CommandInfo, kCommandCount>& AllCommands();

// What UpdateCommands derives every enabled state from.
struct CommandFacts {
  bool document = false;      // a document window is active
  bool picture = false;       // it has a picture
  bool busy = false;          // it is busy (its state, less a "Turn BUSY flag off")
  bool searching = false;     // it runs the color search
  bool printing = false;      // it makes printed pages
  bool unmapped = false;      // its picture waits for "Remap Picture"
  bool any_busy = false;      // some document is busy
  bool closing = false;       // the frame is closing
  bool temp_pal = false;      // the temporary palette's window is open
  bool palette_undo = false;  // it has a palette change to take back
};

// Whether the command is enabled under these facts; an unbuilt command never is.
bool CommandEnabled(Command command, const CommandFacts& facts);
