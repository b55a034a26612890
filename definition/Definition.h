// The menu definition format: three keywords, each ending in its opening
// bracket, found anywhere in a line without regard to case, and the value
// between the brackets.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

inline constexpr std::string_view kMenuNameKey = "menuname=<";
inline constexpr std::string_view kLinkNameKey = "linkname=<";
inline constexpr std::string_view kLinkAddressKey = "linkaddress=<";

// Does the line hold the keyword (given in lower case)? Only A..Z are folded.
bool HoldsKeyword(std::string_view line, std::string_view key);

// The value of a line: the text strictly between its first "<" and the first
// ">" after it; when no ">" follows the first "<", the rest of the line after
// it. Empty when the line has no "<".
std::string_view StatementValue(std::string_view line);

}  // namespace pravel
