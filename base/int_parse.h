#pragma once
// Integer texts as the files and fields of the program write them.

#include <cstdint>
#include <optional>
#include <string_view>

// A signed 32-bit decimal: leading blanks, an optional sign, digits, nothing after.
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// Up to eight hexadecimal digits and nothing else; the value wraps into 32 bits.
std::optional<int32_t> TryHexToInt(std::string_view digits);
