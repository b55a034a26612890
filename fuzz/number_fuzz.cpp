// The Columns text: TextToNumber and the whole-number column count taken
// from it, checked against the C library's own reading of the same text.
//
// The accepted form is a subset of what strtold reads: blanks, a sign,
// digits with at most one point, an exponent. Where the text is of that form
// (at most 18 digits, an exponent of at most 4931), the column count must be
// the one strtold's value gives; anything else must give 0.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzCheck.h"
#include "html/TableLayout.h"
#include "text/Text.h"

namespace {

using namespace pravel;

// The text after its leading blanks, as strtold reads it, when it is a
// number of the accepted form.
bool AcceptedForm(std::string_view text, long double& value) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  const Text number(text.substr(start));
  // strtold also reads tabs, "inf", "nan" and hexadecimal numbers; the
  // field does not.
  if (number.find_first_not_of("0123456789+-.eE") != Text::npos) return false;
  const std::size_t exponentAt = number.find_first_of("eE");
  const std::string_view mantissa = std::string_view(number).substr(0, exponentAt);
  std::size_t digits = 0;
  for (char c : mantissa) digits += (c >= '0' && c <= '9');
  if (digits > 18) return false;
  if (exponentAt != Text::npos) {
    std::string_view exponent = std::string_view(number).substr(exponentAt + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.remove_prefix(1);
    if (exponent.size() > 4 || (exponent.size() == 4 && exponent > "4931")) return false;
  }
  char* end = nullptr;
  errno = 0;
  value = std::strtold(number.c_str(), &end);
  return end == number.c_str() + number.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const long double value = TextToNumber(text);
  FUZZ_CHECK(!std::isnan(value));
  const std::int32_t columns = ColumnCountOf(text);
  FUZZ_CHECK(columns == RoundToInt32(value));

  long double expected = 0;
  if (text.find('\0') == std::string_view::npos && AcceptedForm(text, expected)) {
    FUZZ_CHECK(columns == RoundToInt32(expected));
  } else {
    FUZZ_CHECK(value == 0);
  }
  return 0;
}
