#include "definition/MenuNames.h"

#include <unordered_set>

#include "definition/Definition.h"

namespace pravel {

std::optional<std::string_view> MenuNameEntryOf(std::string_view line) {
  // From the first "<" to the first ">" of the line, both searched from
  // the line's start: that is what the list has always shown.
  const std::size_t open = line.find('<');
  const std::size_t close = line.find('>');
  if (close == std::string_view::npos || open >= close) return std::nullopt;
  return line.substr(open, close - open + 1);
}

std::vector<Text> MenuNameEntries(const TextLines& lines) {
  std::vector<Text> entries;
  entries.emplace_back(kMenuNamePrompt);
  // A menu continued further down is one menu: listed once, where it
  // first stands.
  std::unordered_set<std::string_view> listed;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    if (!FindKeywords(line).Holds(LineKeywords::MenuName)) continue;
    const std::optional<std::string_view> name = MenuNameEntryOf(line);
    if (name && listed.insert(*name).second) entries.emplace_back(*name);
  }
  return entries;
}

}  // namespace pravel
