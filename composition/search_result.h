#pragma once
// How the result of an automatic color search becomes the document's palette.

#include <string>

class TpunCompo;
class TpunPal;

inline constexpr const char* kEmptySearchResult =
    "The color search left no color: the palette is unchanged.";

// Replaces the document's working palette by `result` and marks it modified; false, with
// nothing changed, when the result is empty. With transparency on, the transparent color
// follows its floss to its index in the new palette, and transparency goes off when that
// floss is gone.
bool ApplySearchResult(TpunCompo& document, const TpunPal& result);
