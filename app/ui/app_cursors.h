#pragma once
// The design editor's cursors, registered under the program's cursor numbers.

#include <QCursor>

inline constexpr int kCursorCircle = 5;   // "CIRCLE"
inline constexpr int kCursorFill = 6;     // "FILL"
inline constexpr int kCursorPen = 7;      // "PEN"
inline constexpr int kCursorPickup = 8;   // "PICKUP"
inline constexpr int kCursorLine = 9;     // "LINE"
inline constexpr int kCursorSquare = 10;  // "SQUARE"

// Loads the six cursors and registers them; later calls change nothing.
void LoadAppCursors();
// The cursor registered under `number`; the arrow for any other number. Loads the cursors
// when that has not been done yet.
QCursor AppCursor(int number);
