// Percent-encoding: the "%XX" escapes of addresses, one way for the whole
// program (the link check, the help link's file address).
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

// Appends the bytes, each one `escaped` holds for written as "%" and two
// upper-case hex digits.
void AppendPercentEncoded(Text& out, std::string_view bytes, bool (*escaped)(unsigned char byte));

// The bytes the escapes stand for. A "%" not followed by two hex digits
// stands for itself, as browsers read it: an address edited by hand keeps
// what it says.
Text PercentDecoded(std::string_view text);

}  // namespace pravel
