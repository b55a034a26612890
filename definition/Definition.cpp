#include "definition/Definition.h"

namespace pravel {

bool HoldsKeyword(std::string_view line, std::string_view key) { return Holds(line, key); }

std::string_view StatementValue(std::string_view line) {
  const std::size_t open = line.find('<');
  if (open == std::string_view::npos) return {};
  // A ">" standing before the "<" closes nothing; the value ends at the
  // first ">" after the "<", or runs to the end of the line.
  const std::size_t close = line.find('>', open + 1);
  if (close == std::string_view::npos) return line.substr(open + 1);
  return line.substr(open + 1, close - open - 1);
}

}  // namespace pravel
