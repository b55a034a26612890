#include "text/HtmlText.h"

#include <cstdint>
#include <cstring>

namespace pravel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The length of a run of characters of the kind from `at`, then ";".
template <typename Kind>
std::size_t RunThenSemicolon(std::string_view text, std::size_t at, Kind kind) {
  std::size_t end = at;
  while (end < text.size() && kind(text[end])) ++end;
  if (end == at || end >= text.size() || text[end] != ';') return 0;
  return end + 1;
}

}  // namespace

std::size_t CharacterReferenceLength(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return 0;
  if (text[1] != '#') {
    // A letter first, then letters or digits.
    if (!IsLetter(text[1])) return 0;
    return RunThenSemicolon(text, 1, [](char c) { return IsLetter(c) || IsDigit(c); });
  }
  if (text[2] == 'x' || text[2] == 'X') return RunThenSemicolon(text, 3, IsHexDigit);
  return RunThenSemicolon(text, 2, IsDigit);
}

bool NeedsHtmlEscape(std::string_view value) {
  // Eight bytes at a time: a byte of the word equals one of the four when
  // its exclusive or with that character is zero, which the usual bit
  // trick finds in all eight at once.
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  const auto holdsZero = [](std::uint64_t word) { return ((word - kOnes) & ~word & kHighs) != 0; };
  std::size_t i = 0;
  for (; i + 8 <= value.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, value.data() + i, 8);
    if (holdsZero(word ^ (kOnes * '&')) || holdsZero(word ^ (kOnes * '<')) || holdsZero(word ^ (kOnes * '"')) ||
        holdsZero(word ^ (kOnes * '\''))) {
      return true;
    }
  }
  for (; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '&' || c == '<' || c == '"' || c == '\'') return true;
  }
  return false;
}

void AppendHtmlEscaped(Text& out, std::string_view value, HtmlEscapes escapes) {
  const char* specials = escapes == HtmlEscapes::QuoteAndApostrophe ? "&<\"'" : "&<\">";
  std::size_t at = 0;
  for (std::size_t hit = value.find_first_of(specials); hit != std::string_view::npos;
       hit = value.find_first_of(specials, at)) {
    out.append(value.substr(at, hit - at));
    at = hit + 1;
    switch (value[hit]) {
      case '&':
        if (const std::size_t reference = CharacterReferenceLength(value.substr(hit))) {
          out.append(value.substr(hit, reference));
          at = hit + reference;
        } else {
          out += "&amp;";
        }
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += "&#39;";
        break;
    }
  }
  out.append(value.substr(at));
}

}  // namespace pravel
