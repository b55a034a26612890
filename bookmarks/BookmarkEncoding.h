// The character set of a bookmark file, and its text in UTF-8.
//
// Browsers write bookmark files in UTF-8 and say so in a <META> line; older
// ones, and copies kept for years, come in Windows-1252 (labelled so, or as
// ISO-8859-1, which browsers read as the same code page), some with a
// byte-order mark. The file is read in the character set it names, the way
// a browser decides it: a byte-order mark first, else the <META>, else
// UTF-8.
#pragma once

#include <optional>
#include <string_view>

#include "text/Text.h"

namespace pravel {

struct BookmarkText {
  Text utf8;            // the file's text, without its byte-order mark
  Text unknownCharset;  // not empty: the file names this character set, which is not read
};

BookmarkText BookmarkFileText(std::string_view bytes);

// UTF-16 after a byte-order mark (FF FE or FE FF) as UTF-8; nullopt
// without one: the bytes are then in a character set that writes ASCII as
// ASCII, which is all that recognising a file needs.
std::optional<Text> Utf16AsUtf8(std::string_view bytes);

// The bytes where they are UTF-8, with U+FFFD for each broken sequence, as
// a browser shows them.
Text RepairedUtf8(std::string_view bytes);

}  // namespace pravel
