#include "app/ButtonBar.h"

namespace pravel {

std::string_view CommandAt(int x, int y) {
  if (y < 79) {
    if (x > 464) return "SaveShowHtml";
    if (x > 354) return "BuildHtml";
    if (x > 244) return "ValidateInput";
    if (x > 133) return "SaveAs";
    if (x < 133) return "OpenInput";
    return {};
  }
  if (y > 79) {
    if (x > 464) return "Exit";
    if (x > 354) return "Help";
    if (x > 244) return "Columns";
    if (x > 132) return "PasteLink";
    if (x < 132) return "PasteMenu";
  }
  return {};
}

const ButtonOutline* HighlightedOutline(std::string_view currentCommand) {
  for (const ButtonOutline& outline : kButtonOutlines) {
    if (outline.command == currentCommand) return &outline;
  }
  return nullptr;
}

}  // namespace pravel
