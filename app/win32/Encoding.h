// Text between the engine, which keeps bytes, and the window, which shows
// UTF-16.
//
// A definition is shown the way its bytes read best: as UTF-8 when they are
// valid UTF-8 (with or without a byte-order mark), otherwise in the ANSI
// code page, and where even that would not give the same bytes back, one
// character per byte. Whatever the user does not change goes back to the
// file byte for byte; what the user types or pastes is written in the same
// encoding. File names and the program's own texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace pravel::win32 {

struct Encoding {
  enum Kind { Utf8, Ansi, Bytes } kind = Utf8;
  bool bom = false;  // UTF-8 that starts with its byte-order mark
};

// The characters of a definition's bytes in the first of UTF-8, the ANSI
// code page and one character per byte that gives the same bytes back;
// `encoding` is set to that one.
std::wstring DecodeDefinition(std::string_view bytes, Encoding& encoding);

// The characters of the bytes, and the bytes of the characters; the
// byte-order mark is taken off and put back. A character the encoding
// cannot hold (typed by the user) becomes "?" in Encode; EncodeExactly
// gives nothing instead.
std::wstring Decode(std::string_view bytes, Encoding encoding);
Text Encode(std::wstring_view text, Encoding encoding);
std::optional<Text> EncodeExactly(std::wstring_view text, Encoding encoding);

// UTF-8: file names and the program's own texts.
std::wstring Widen(std::string_view utf8);
Text Narrow(std::wstring_view text);

// A message or a list entry: each line that is valid UTF-8 (a file name, the
// program's words) as UTF-8, any other in the definition's encoding.
std::wstring DecodeLines(std::string_view text, Encoding definition);

}  // namespace pravel::win32
