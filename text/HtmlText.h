// Values placed into HTML.
//
// A page is made of the user's templates and the values of the definition.
// A value that holds a quote, an apostrophe or "<" would end the attribute
// it stands in, or open an element, and a bare "&" may read as a character
// reference; such characters are written as references instead. A
// reference the user already wrote ("&amp;", "&eacute;", "&#233;") stays as
// written, so it shows as it always has, and a value without any of these
// characters goes into the page byte for byte.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

// The length of the character reference at the start of the text: "&", a
// letter, letters or digits, ";"; or "&#", digits, ";"; or "&#x", hex
// digits, ";". 0 when the text does not begin with one.
std::size_t CharacterReferenceLength(std::string_view text);

// Which characters become references besides "&" and "<".
enum class HtmlEscapes {
  QuoteAndApostrophe,  // '"' and "'": values in the page, inside any attribute
  QuoteAndGreater,     // '"' and ">": titles and addresses of a bookmark file
};

// Whether the value holds a character that becomes a reference in a page
// ('"', "'", "<" or "&"); nearly every value holds none.
bool NeedsHtmlEscape(std::string_view value);

// The value with those characters written as references ("&quot;",
// "&#39;", "&lt;", "&gt;", "&amp;"), appended to `out`.
void AppendHtmlEscaped(Text& out, std::string_view value, HtmlEscapes escapes);

}  // namespace pravel
