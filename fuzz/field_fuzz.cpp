// The cutting and searching text operations: TextField, TextTally, TextPos,
// TextReplace, FindLower, TextMid, TextDelete and TextRight, with positions
// and counts over their whole range.
//
// The checks tie the operations to one another and to the standard library:
// the pieces of a text joined with their delimiter give the text back, the
// number of pieces is one more than the tally, and so on.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

#include "FuzzCheck.h"
#include "text/Text.h"

namespace {

using namespace pravel;

void CheckPieces(const Text& text, const Text& delimiter, Pos n) {
  const Pos tally = TextTally(text, delimiter);
  FUZZ_CHECK(tally >= 0);
  if (text.empty()) {
    FUZZ_CHECK(TextField(text, delimiter, n).empty());
    return;
  }
  if (tally == 0) {
    FUZZ_CHECK(TextField(text, delimiter, 1) == text);
    FUZZ_CHECK(TextField(text, delimiter, n) == (n == 1 ? text : Text()));
    return;
  }
  Text joined;
  for (Pos piece = 1; piece <= tally + 1; ++piece) {
    const Text field = TextField(text, delimiter, piece);
    FUZZ_CHECK(field.find(delimiter) == Text::npos);
    if (piece > 1) joined += delimiter;
    joined += field;
  }
  FUZZ_CHECK(joined == text);
  FUZZ_CHECK(TextField(text, delimiter, tally + 2).empty());
  FUZZ_CHECK(TextField(text, delimiter, n <= 0 ? n : 0) == TextField(text, delimiter, 1));

  // Replacing the delimiter is joining the pieces with the replacement.
  const Text replaced = TextReplace(text, delimiter, "#");
  Text rejoined;
  for (Pos piece = 1; piece <= tally + 1; ++piece) {
    if (piece > 1) rejoined += "#";
    rejoined += TextField(text, delimiter, piece);
  }
  FUZZ_CHECK(replaced == rejoined);
}

void CheckSearch(const Text& text, const Text& pattern, Pos start) {
  const Pos at = TextPos(text, pattern, start);
  if (pattern.empty() || start < 1 || static_cast<std::uint64_t>(start) > text.size()) {
    FUZZ_CHECK(at == 0);
  } else {
    const std::size_t hit = text.find(pattern, static_cast<std::size_t>(start - 1));
    FUZZ_CHECK(at == (hit == Text::npos ? 0 : static_cast<Pos>(hit) + 1));
  }

  const Text lowerPattern = TextLower(pattern);
  const std::size_t lowerHit = FindLower(text, lowerPattern);
  if (lowerPattern.empty()) {
    FUZZ_CHECK(lowerHit == std::string_view::npos);
  } else {
    FUZZ_CHECK(lowerHit == TextLower(text).find(lowerPattern));
  }
}

void CheckCuts(const Text& text, Pos start, Pos count) {
  const Text mid = TextMid(text, start, count);
  const Text deleted = TextDelete(text, start, count);
  const bool inside = start >= 1 && static_cast<std::uint64_t>(start) <= text.size();
  if (!inside) {
    FUZZ_CHECK(mid.empty());
    FUZZ_CHECK(deleted == text);
  } else {
    const auto from = static_cast<std::size_t>(start - 1);
    FUZZ_CHECK(mid == text.substr(from, count < 0 ? Text::npos : static_cast<std::size_t>(count)));
    if (count > 0) {
      FUZZ_CHECK(text.substr(0, from) + mid + deleted.substr(from) == text);
    } else {
      FUZZ_CHECK(deleted == text);
    }
  }
  const Text right = TextRight(text, count);
  FUZZ_CHECK(right.size() == (count <= 0 ? 0 : std::min<std::uint64_t>(static_cast<std::uint64_t>(count), text.size())));
  FUZZ_CHECK(std::string_view(text).ends_with(right));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // Mostly small numbers, now and then the extremes.
  const auto number = [&input]() -> Pos {
    switch (input.ConsumeIntegralInRange(0, 7)) {
      case 0:
        return std::numeric_limits<Pos>::min();
      case 1:
        return std::numeric_limits<Pos>::max();
      case 2:
        return input.ConsumeIntegral<Pos>();
      default:
        return input.ConsumeIntegralInRange<Pos>(-3, 40);
    }
  };
  const Pos n = number();
  const Pos start = number();
  const Pos count = number();
  const Text delimiter = input.ConsumeRandomLengthString(8);
  const Text text = input.ConsumeRemainingBytesAsString();

  CheckPieces(text, delimiter, n);
  CheckSearch(text, delimiter, start);
  CheckCuts(text, start, count);
  return 0;
}
