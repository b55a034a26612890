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
#include <vector>

#include "FuzzCheck.h"
#include "text/Text.h"

namespace {

using namespace pravel;

// The text cut at every delimiter, left to right, by the standard library.
std::vector<Text> Pieces(const Text& text, const Text& delimiter) {
  std::vector<Text> pieces;
  std::size_t from = 0;
  for (std::size_t hit; (hit = text.find(delimiter, from)) != Text::npos; from = hit + delimiter.size()) {
    pieces.push_back(text.substr(from, hit - from));
  }
  pieces.push_back(text.substr(from));
  return pieces;
}

void CheckPieces(const Text& text, const Text& delimiter, Pos n) {
  const Pos tally = TextTally(text, delimiter);
  FUZZ_CHECK(tally >= 0);
  if (text.empty()) {
    FUZZ_CHECK(TextField(text, delimiter, n).empty());
    return;
  }
  if (delimiter.empty() || tally == 0) {
    FUZZ_CHECK(tally == 0);
    FUZZ_CHECK(TextField(text, delimiter, 1) == text);
    FUZZ_CHECK(TextField(text, delimiter, n) == (n == 1 ? text : Text()));
    return;
  }
  const std::vector<Text> pieces = Pieces(text, delimiter);
  FUZZ_CHECK(static_cast<Pos>(pieces.size()) == tally + 1);
  Text joined;
  Text replaced;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    FUZZ_CHECK(pieces[i].find(delimiter) == Text::npos);
    if (i > 0) {
      joined += delimiter;
      replaced += "#";
    }
    joined += pieces[i];
    replaced += pieces[i];
  }
  FUZZ_CHECK(joined == text);
  // Replacing the delimiter is joining the pieces with the replacement.
  FUZZ_CHECK(TextReplace(text, delimiter, "#") == replaced);

  // Each piece is found where it stands: all of them for a few, the first
  // and last ones for many (TextField scans from the start each time).
  const auto last = static_cast<Pos>(pieces.size());
  for (Pos k = 1; k <= last; k = (k == 32 && last > 64) ? last - 31 : k + 1) {
    FUZZ_CHECK(TextField(text, delimiter, k) == pieces[static_cast<std::size_t>(k - 1)]);
  }
  FUZZ_CHECK(TextField(text, delimiter, last + 1).empty());
  FUZZ_CHECK(TextField(text, delimiter, n <= 0 ? n : 0) == pieces.front());
  if (n >= 1) FUZZ_CHECK(TextField(text, delimiter, n) == (n <= last ? pieces[static_cast<std::size_t>(n - 1)] : Text()));
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
