// The button bar: ten command zones over a 600 x 143 picture, and the nine
// outlines drawn on it. Shared by the click dispatcher and the painter, so
// what is drawn and what is hit come from one table.
#pragma once

#include <array>
#include <string_view>

namespace pravel {

inline constexpr int kButtonBarWidth = 600;
inline constexpr int kButtonBarHeight = 143;

// The command of a release at client point (x, y) of the bar, or an empty
// view where no zone applies (the row boundary y = 79, x = 133 in the top
// row, x = 132 in the bottom row).
std::string_view CommandAt(int x, int y);

struct ButtonOutline {
  std::string_view command;
  int left, top, right, bottom;
};

// In drawing order. "Columns" has a zone but no outline.
inline constexpr std::array<ButtonOutline, 9> kButtonOutlines{{
    {"SaveShowHtml", 464, 25, 572, 76},
    {"BuildHtml", 354, 25, 465, 76},
    {"ValidateInput", 252, 25, 350, 76},
    {"SaveAs", 138, 25, 236, 76},
    {"OpenInput", 25, 25, 132, 76},
    {"Exit", 464, 79, 572, 127},
    {"Help", 354, 79, 465, 127},
    {"PasteLink", 136, 79, 242, 127},
    {"PasteMenu", 25, 79, 131, 127},
}};

// The outline to draw in white for the current command, or nullptr when the
// command outlines no button ("nuttin", "DoOpen", "SaveAsClick", "Columns").
const ButtonOutline* HighlightedOutline(std::string_view currentCommand);

}  // namespace pravel
