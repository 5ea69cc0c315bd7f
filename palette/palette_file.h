#pragma once
// Palette files: the native enciphered format ("PUNTEL Palette File" / "PUNPAL"),
// the plain CWPAL format, and CWPAL inside an enciphered file (read only).

#include <cstddef>
#include <string>
#include <string_view>

#include "base/color.h"

class TpunPal;

// The largest palette file read: far past any real palette, well short of what a device
// or a runaway file would cost.
inline constexpr size_t kPaletteFileLimit = size_t(64) << 20;

// Replaces the palette by the file's entries. Raises EInvalidFileName "(TpunPal.LoadFromFile)
// : File not found !" for a missing file and "Unable to read <name>" for one that is no
// regular file, is larger than kPaletteFileLimit or may not be read; ENotPaletteFile when it
// holds no palette; EConvertError for a damaged number.
void LoadPaletteFile(TpunPal& palette, const std::string& file_name);
// CWPAL when the lower-cased name contains ".cla", the native format otherwise. The
// file is replaced only once the new one is complete.
void SavePaletteFile(const TpunPal& palette, const std::string& file_name);

// The same two for the bytes of a palette file held in memory: the bytes a native palette
// file of the palette holds, and LoadPaletteFile's reading of any format from bytes, which
// raises nothing: false, with the palette empty, when the bytes hold no whole palette.
std::string NativePaletteBytes(const TpunPal& palette);
// The bytes of a plain CWPAL file of the palette.
std::string PlainPaletteBytes(const TpunPal& palette);
bool LoadPaletteBytes(TpunPal& palette, std::string_view bytes);

// "r g b", and its reader (red and green from their first five characters; values wrap).
std::string FormatColorLine(TColor color);
TColor ParseColorLine(const std::string& line);
