// Text operations on single-byte strings.
//
// Everything in the engine is single-byte text: a character is a byte, and
// only the ASCII letters A to Z are case-folded. These functions fix that
// edge behaviour once, so the rest of the program can rely on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pravel {

using Text = std::string;

inline constexpr std::string_view CRLF = "\r\n";

// Only A..Z are folded; every other byte (accented letters included) is kept.
Text TextLower(std::string_view text);
inline char LowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Every non-overlapping occurrence, left to right; the inserted text is not
// searched again. An empty pattern changes nothing.
Text TextReplace(std::string_view text, std::string_view pattern, std::string_view replacement);

// The rank of a byte in the order of every sorted list: A..Z fold to a..z,
// and the ">" that closes a statement's value ranks below every other byte,
// so a name comes before its longer forms ("Item>" before "Item 1>" and
// "Item2>", "Menu 1>" before "Menu 10>"). Every other byte keeps its place.
inline unsigned char SortRank(char c) {
  const auto b = static_cast<unsigned char>(LowerByte(c));
  if (b == '>') return 0;
  return b < '>' ? static_cast<unsigned char>(b + 1) : b;
}

// The order of every sorted list: byte by byte by SortRank; when one text is
// the beginning of the other, the shorter comes first.
int TextCompareSorted(std::string_view a, std::string_view b);

// The number typed in a field: optional leading spaces, sign, up to 18 digits
// with at most one point, optional exponent up to 4931; anything else gives 0.
long double TextToNumber(std::string_view text);

// Nearest 32-bit integer (a half goes to the even neighbour), clamped to the
// 32-bit range so that a huge typed value cannot overflow.
std::int32_t RoundToInt32(long double value);

// Plain decimal: "-" for negatives, no sign for positives, no padding.
Text NumberToText(std::int64_t value);

// Appends the text and CR LF.
void AppendLine(Text& target, std::string_view text);

// Case-insensitive (A..Z only) test: does the line contain the lower-case key?
bool Holds(std::string_view line, std::string_view lowerKey);

// Position (0-based) of the lower-case key in the line compared without case,
// or std::string_view::npos.
std::size_t FindLower(std::string_view line, std::string_view lowerKey, std::size_t from = 0);

}  // namespace pravel
