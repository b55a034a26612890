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
// The three in the order of LineKeywords::Kind.
inline constexpr std::string_view kKeywords[] = {kMenuNameKey, kLinkNameKey, kLinkAddressKey};

// Does the line hold the keyword (given in lower case)? Only A..Z are folded.
bool HoldsKeyword(std::string_view line, std::string_view key);

// Where the three keywords stand in a line, found in one search: each
// keyword ends in "=<", so the line is searched once for that pair and the
// word before each pair is compared.
struct LineKeywords {
  enum Kind { MenuName, LinkName, LinkAddress };
  // The first position of each keyword (0-based), npos when absent.
  std::size_t at[3] = {std::string_view::npos, std::string_view::npos, std::string_view::npos};
  // Whether some statement of that kind on the line is empty ("...=<>").
  bool empty[3] = {false, false, false};

  bool Holds(Kind kind) const { return at[kind] != std::string_view::npos; }
};
LineKeywords FindKeywords(std::string_view line);

// The value of a line: the text strictly between its first "<" and the first
// ">" after it; when no ">" follows the first "<", the rest of the line after
// it. Empty when the line has no "<".
std::string_view StatementValue(std::string_view line);

// Whether a caret at `caret` (a byte offset in the line) stands inside a
// statement: after the start of its keyword and up to its closing ">", or to
// the end of a line where the ">" is missing. Text put there would become
// part of the value.
bool InsideStatement(std::string_view line, std::size_t caret);

// A line as a message quotes it: in double quotes, cut after 80 bytes.
Text QuotedLine(std::string_view line);

}  // namespace pravel
