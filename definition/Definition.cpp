#include "definition/Definition.h"

namespace pravel {

bool HoldsKeyword(std::string_view line, std::string_view key) { return Holds(line, key); }

std::string_view StatementValue(std::string_view line) {
  const std::size_t open = line.find('<');
  if (open == std::string_view::npos) return {};
  const std::size_t close = line.find('>');
  if (close == std::string_view::npos || close < open) return line.substr(open + 1);
  return line.substr(open + 1, close - open - 1);
}

}  // namespace pravel
