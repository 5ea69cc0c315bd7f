#pragma once
// Palette files: the native enciphered format ("PUNTEL Palette File" / "PUNPAL"),
// the plain CWPAL format, and CWPAL inside an enciphered file (read only).

#include <string>
#include <string_view>

#include "base/color.h"

class TpunPal;

// Replaces the palette by the file's entries; false when the file is no palette file.
bool LoadPaletteFile(TpunPal& palette, const std::string& file_name);
// CWPAL when the lower-cased name contains ".cla", the native format otherwise. The
// file is replaced only once the new one is complete.
void SavePaletteFile(const TpunPal& palette, const std::string& file_name);

// The same two for the bytes of a palette file held in memory: the bytes a native palette
// file of the palette holds, and LoadPaletteFile's reading of any format from bytes.
std::string NativePaletteBytes(const TpunPal& palette);
bool LoadPaletteBytes(TpunPal& palette, std::string_view bytes);

// "r g b", and its reader (red and green from their first five characters; values wrap).
std::string FormatColorLine(TColor color);
TColor ParseColorLine(const std::string& line);
