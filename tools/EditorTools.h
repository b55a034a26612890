// The texts of the editor tools beside the four steps: the statement
// templates pasted into the pane and the name Save As writes.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

// The empty statement template of "PasteMenu" (a menu name) or "PasteLink"
// (a link name and its address). It starts with a line break and ends with
// an empty line, so it can be dropped anywhere in a line and still stand on
// lines of its own.
Text PasteTemplateText(std::string_view command);

// The name Save As writes for the chosen one: ".txt" added unless the name
// already ends in exactly ".txt".
Text SaveAsName(const Text& chosen);

}  // namespace pravel
