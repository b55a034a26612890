// The texts of the editor tools beside the four steps: the statement
// templates pasted into the pane, the name Save As writes and the help link.
#pragma once

#include <optional>
#include <string_view>

#include "text/Text.h"

namespace pravel {

// The empty statement template of a menu name, or of a link name and its
// address. It starts with a line break and ends with an empty line, so it
// can be dropped anywhere in a line and still stand on lines of its own.
enum class StatementTemplate { Menu, Link };
Text PasteTemplateText(StatementTemplate which);

// The name Save As writes for the chosen one: ".txt" added unless the name
// already ends in exactly ".txt".
Text SaveAsName(const Text& chosen);

// The Internet shortcut that Help opens, for the help page at the path
// (UTF-8), and back: the page a shortcut's file address names, or nothing
// when it names no file (a web address, or no address at all).
Text HelpLinkText(const Text& pagePath);
std::optional<Text> HelpLinkFile(std::string_view linkText);

}  // namespace pravel
