#include "text/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "text/WordScan.h"

namespace pravel {

Text TextLower(std::string_view text) {
  Text out(text);
  for (char& c : out) c = LowerByte(c);
  return out;
}

Text TextReplace(std::string_view text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) return Text(text);
  Text out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (;;) {
    const std::size_t hit = text.find(pattern, at);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(at, hit - at));
    out.append(replacement);
    at = hit + pattern.size();
  }
  out.append(text.substr(at));
  return out;
}

int TextCompareSorted(std::string_view a, std::string_view b) {
  // Records and names share long runs of identical bytes (the same keyword,
  // the same menu); identical bytes rank alike, so they are
  // passed over eight at a time and only a difference is ranked.
  const std::size_t n = std::min(a.size(), b.size());
  const char* p = a.data();
  const char* q = b.data();
  std::size_t i = 0;
  for (;;) {
    for (; i + 8 <= n; i += 8) {
      std::uint64_t x;
      std::uint64_t y;
      std::memcpy(&x, p + i, 8);
      std::memcpy(&y, q + i, 8);
      if (x != y) break;
    }
    while (i < n && p[i] == q[i]) ++i;
    if (i == n) break;
    const unsigned char x = SortRank(p[i]);
    const unsigned char y = SortRank(q[i]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

long double TextToNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;

  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Mantissa: digits with at most one point, at most 18 digits in all.
  long double mantissa = 0;
  int digits = 0;
  int fractionDigits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++digits > 18) return 0;
      mantissa = mantissa * 10 + (c - '0');
      if (point) ++fractionDigits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return 0;

  int exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    int exponentDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > 4931) return 0;
      ++exponentDigits;
    }
    if (exponentDigits == 0) return 0;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return 0;

  // One scaling step keeps the result exact for the ordinary cases (12, 2.5,
  // 1.5e2); powl saturates to infinity where long double cannot hold it.
  const int scale = exponent - fractionDigits;
  long double value = mantissa;
  if (scale > 0) value *= std::pow(10.0L, scale);
  if (scale < 0) value /= std::pow(10.0L, -scale);
  return negative ? -value : value;
}

std::int32_t RoundToInt32(long double value) {
  if (std::isnan(value)) return 0;
  constexpr long double lo = std::numeric_limits<std::int32_t>::min();
  constexpr long double hi = std::numeric_limits<std::int32_t>::max();
  if (value <= lo) return std::numeric_limits<std::int32_t>::min();
  if (value >= hi) return std::numeric_limits<std::int32_t>::max();
  const long double floor = std::floor(value);
  const long double diff = value - floor;
  long double rounded = floor;
  if (diff > 0.5L || (diff == 0.5L && std::fmod(floor, 2.0L) != 0)) rounded = floor + 1;
  return static_cast<std::int32_t>(rounded);
}

Text NumberToText(std::int64_t value) { return std::to_string(value); }

void AppendLine(Text& target, std::string_view text) {
  target.append(text);
  target.append(CRLF);
}

namespace {

bool MatchesAt(std::string_view line, std::size_t at, std::string_view lowerKey) {
  std::size_t k = 1;
  while (k < lowerKey.size() && LowerByte(line[at + k]) == lowerKey[k]) ++k;
  return k == lowerKey.size();
}

}  // namespace

std::size_t FindLower(std::string_view line, std::string_view lowerKey, std::size_t from) {
  if (lowerKey.empty() || lowerKey.size() > line.size()) return std::string_view::npos;
  const char first = lowerKey.front();
  if (first >= 'A' && first <= 'Z') return std::string_view::npos;  // nothing folds to upper case
  const std::size_t last = line.size() - lowerKey.size();
  // Candidates for the key's first byte are found eight at a time: a byte
  // equal to it shows as a zero byte of the difference. A letter is matched
  // in both cases at once, as setting bit 0x20 turns 'M' into 'm' and turns
  // no other byte into a lower-case letter.
  const bool letter = first >= 'a' && first <= 'z';
  const std::uint64_t caseBits = letter ? 0x2020202020202020ull : 0;
  const std::uint64_t wanted = Repeated(static_cast<unsigned char>(first));
  std::size_t i = from;
  for (; i + 8 <= last + 1; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, line.data() + i, 8);
    for (std::uint64_t hits = ZeroBytes((word | caseBits) ^ wanted); hits != 0; hits &= hits - 1) {
      const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(hits) / 8);
      if (MatchesAt(line, at, lowerKey)) return at;
    }
  }
  for (; i <= last; ++i) {
    const char c = letter ? static_cast<char>(line[i] | 0x20) : line[i];
    if (c == first && MatchesAt(line, i, lowerKey)) return i;
  }
  return std::string_view::npos;
}

bool Holds(std::string_view line, std::string_view lowerKey) {
  return FindLower(line, lowerKey) != std::string_view::npos;
}

}  // namespace pravel
