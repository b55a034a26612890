// Character sets a definition or a bookmark file may come in.
//
// The engine keeps bytes; where text must become UTF-8 (a page that
// declares UTF-8, a bookmark file written in a Western code page), these
// are the conversions.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Whether the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Windows-1252 as browsers read it, which is also how they read text
// labelled ISO-8859-1: the five bytes that code page leaves undefined
// become the control characters of the same number.
Text Windows1252ToUtf8(std::string_view bytes);

// Appends the code point as UTF-8.
void AppendUtf8(Text& out, char32_t codePoint);

}  // namespace pravel
