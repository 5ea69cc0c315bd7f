#pragma once
// Texts are bytes of the Latin-1 code page; letter case is folded for ASCII and Latin-1.

#include <string>
#include <string_view>

char FoldCase(char c);
std::string FoldCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// Lower case for ASCII letters only, as file-name tests need.
std::string LowerAscii(std::string_view text);

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsValidUtf8(std::string_view text);
// The Latin-1 bytes of `text` as UTF-8.
std::string Latin1ToUtf8(std::string_view text);
