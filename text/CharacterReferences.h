// Character references as a browser decodes them.
//
// A bookmark file is HTML: "&amp;", "&#39;" or "&eacute;" in a title or an
// address stand for the characters a browser shows. Browsers decode by the
// HTML standard's rules, which differ between text and attribute values:
// in text "&copy" without its ";" is still the sign, while in an address
// "?a=1&currentPage=2" keeps "&curren" as written, because a name without
// ";" followed by a letter, a digit or "=" is not a reference there.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

enum class ReferenceContext { Text, Attribute };

// Appends the text with its references decoded as a browser's HTML parser
// decodes them in that context: numeric references (a code point out of
// range becomes U+FFFD, 0x80 to 0x9F the Windows-1252 character), the named
// ones of the standard, the old Latin-1 names without ";". A NUL byte is
// dropped from text and becomes U+FFFD in an attribute, as the parser does.
void AppendDecoded(Text& out, std::string_view raw, ReferenceContext context);

}  // namespace pravel
