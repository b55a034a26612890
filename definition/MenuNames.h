// The go-to list: the menu names a definition holds, as the user sees them.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "text/Lines.h"
#include "text/Text.h"

namespace pravel {

inline constexpr const char* kMenuNamePrompt = "~ GoTo MenuName";

// The prompt first, then each "<name>" of a menu-name line (from the line's
// first "<" to its first ">", when the one comes before the other) in the
// order of the lines, each name once.
std::vector<Text> MenuNameEntries(const TextLines& lines);
// The entry of one menu-name line, when it has one.
std::optional<std::string_view> MenuNameEntryOf(std::string_view line);

}  // namespace pravel
