#include "definition/MenuNames.h"

#include "definition/Definition.h"
#include "text/SortOrder.h"

namespace pravel {

std::vector<Text> MenuNameEntries(const TextLines& lines) {
  // The names view the lines until they are sorted, keeping equal ones in
  // their order, as a sorted list would; only then is each copied once,
  // into its place.
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    if (!FindKeywords(line).Holds(LineKeywords::MenuName)) continue;
    // From the first "<" to the first ">" of the line, both searched from
    // the line's start: that is what the list has always shown.
    const std::size_t open = line.find('<');
    const std::size_t close = line.find('>');
    if (close == std::string_view::npos || open >= close) continue;
    names.push_back(line.substr(open, close - open + 1));
  }
  // The prompt heads the list whatever a collation would make of its "~".
  std::vector<Text> entries;
  entries.reserve(names.size() + 1);
  entries.emplace_back(kMenuNamePrompt);
  // Every name begins with its "<".
  for (const std::size_t index : StableSortOrder(names, 1)) entries.emplace_back(names[index]);
  return entries;
}

}  // namespace pravel
