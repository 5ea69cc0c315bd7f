#pragma once
// Why a composition file is not taken (a picture file: EBitmapRefused, bitmap_file.h). The model
// shows no message: it raises these with the text the user is shown, and the windows and puntel-cli
// show it.

#include "base/exceptions.h"

inline constexpr const char* kOldComposition = "Old Composition, use the convert utility !";
inline constexpr const char* kInvalidComposition = "Invalid composition file !";
inline constexpr const char* kCompositionColorsLost = "Error loading composition colors !";

// No file of that name: nothing to tell the user beyond the caller's own words.
class ECompositionMissing : public EInOutError {
 public:
  using EInOutError::EInOutError;
};

// A composition file of version 11, shown as information rather than as an error.
class EOldComposition : public Exception {
 public:
  EOldComposition() : Exception(kOldComposition) {}
};

// Bytes that are no composition file, or one that no operation could use.
class EInvalidComposition : public Exception {
 public:
  EInvalidComposition() : Exception(kInvalidComposition) {}
};
