#include "text/CharacterReferences.h"

#include <algorithm>
#include <iterator>

#include "text/Charset.h"

namespace pravel {

namespace {

struct NamedReference {
  std::string_view name;  // without its ";"
  std::string_view text;  // UTF-8
  bool legacy;            // also taken without the ";"
};

constexpr NamedReference kNamedReferences[] = {
#include "text/NamedReferences.inc"
};

// Names are looked up by halves.
static_assert(std::is_sorted(std::begin(kNamedReferences), std::end(kNamedReferences),
                             [](const NamedReference& a, const NamedReference& b) { return a.name < b.name; }));

// The longest name in the table, or of those taken without ";".
constexpr std::size_t LongestName(bool legacyOnly) {
  std::size_t longest = 0;
  for (const NamedReference& r : kNamedReferences) {
    if (!legacyOnly || r.legacy) longest = std::max(longest, r.name.size());
  }
  return longest;
}
constexpr std::size_t kLongestName = LongestName(false);
constexpr std::size_t kLongestLegacyName = LongestName(true);

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  const char lower = LowerByte(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

const NamedReference* FindName(std::string_view name) {
  const auto* const end = std::end(kNamedReferences);
  const auto* found = std::lower_bound(std::begin(kNamedReferences), end, name,
                                       [](const NamedReference& r, std::string_view n) { return r.name < n; });
  return found != end && found->name == name ? found : nullptr;
}

// A numeric reference at `raw` ("&#" first): its length, 0 when no digit
// follows, and the code point it stands for appended.
std::size_t DecodeNumeric(Text& out, std::string_view raw) {
  const bool hex = raw.size() > 2 && (raw[2] == 'x' || raw[2] == 'X');
  std::size_t at = hex ? 3 : 2;
  const std::size_t digits = at;
  char32_t value = 0;
  for (; at < raw.size(); ++at) {
    const int digit = hex ? HexValue(raw[at]) : (IsDigit(raw[at]) ? raw[at] - '0' : -1);
    if (digit < 0) break;
    // Past the last code point the value only needs to stay past it.
    value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(digit), 0x110000);
  }
  if (at == digits) return 0;
  if (at < raw.size() && raw[at] == ';') ++at;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    value = 0xFFFD;
  } else if (value >= 0x80 && value <= 0x9F) {
    // What old pages meant by them: the characters of Windows-1252.
    out += Windows1252ToUtf8(Text(1, static_cast<char>(value)));
    return at;
  }
  AppendUtf8(out, value);
  return at;
}

// A named reference at `raw` ("&" and a letter or digit first): its length,
// 0 when it is none in this context, and its text appended.
std::size_t DecodeNamed(Text& out, std::string_view raw, ReferenceContext context) {
  std::size_t run = 1;
  while (run < raw.size() && run <= kLongestName && IsAlnum(raw[run])) ++run;
  if (run < raw.size() && raw[run] == ';') {
    if (const NamedReference* named = FindName(raw.substr(1, run - 1))) {
      out += named->text;
      return run + 1;
    }
  }
  // The longest old name the text begins with, taken without its ";".
  for (std::size_t end = std::min(run, kLongestLegacyName + 1); end > 1; --end) {
    const NamedReference* named = FindName(raw.substr(1, end - 1));
    if (named == nullptr || !named->legacy) continue;
    if (context == ReferenceContext::Attribute && end < raw.size() && (IsAlnum(raw[end]) || raw[end] == '=')) {
      return 0;
    }
    out += named->text;
    return end;
  }
  return 0;
}

}  // namespace

void AppendDecoded(Text& out, std::string_view raw, ReferenceContext context) {
  std::size_t at = 0;
  while (at < raw.size()) {
    const std::size_t special = raw.find_first_of(std::string_view("&\0", 2), at);
    if (special == std::string_view::npos) break;
    out.append(raw.substr(at, special - at));
    at = special + 1;
    if (raw[special] == '\0') {
      if (context == ReferenceContext::Attribute) AppendUtf8(out, 0xFFFD);
      continue;
    }
    const std::string_view rest = raw.substr(special);
    std::size_t length = 0;
    if (rest.size() > 1 && rest[1] == '#') {
      length = DecodeNumeric(out, rest);
    } else if (rest.size() > 1 && IsAlnum(rest[1])) {
      length = DecodeNamed(out, rest, context);
    }
    if (length == 0) {
      out += '&';
    } else {
      at = special + length;
    }
  }
  out.append(raw.substr(at));
}

}  // namespace pravel
