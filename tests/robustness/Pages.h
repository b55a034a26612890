// A small site in the four template files and the files a build makes of
// it, written out line by line, so that a test can compare what the program
// wrote byte for byte.
#pragma once

#include <filesystem>
#include <utility>
#include <vector>

#include "text/Text.h"

namespace pravel::test {

struct Link {
  Text name;
  Text address;
};

struct Menu {
  Text name;
  std::vector<Link> links;
};

// The page template: a header ending in the "<div style=" line, a form per
// menu opening its own cell, one option line per link.
extern const Text kPageTemplate;
extern const Text kHeaderFile;
extern const Text kTableHeaderFile;
extern const Text kTrailerFile;

// Writes the four template files into the folder.
void WriteTemplates(const std::filesystem::path& folder);

// A definition of the menus, one statement a line, CR LF after each.
Text DefinitionOf(const std::vector<Menu>& menus);
// What the build rewrites a definition into: the menus as given (already
// in sorted order), framed by one-space lines.
Text NormalisedOf(const std::vector<Menu>& menus);
// The draft page and the final page of the menus; separators[i] is the line
// before form i + 1 of the final page.
Text DraftOf(const std::vector<Menu>& menus);
Text PageOf(const std::vector<Menu>& menus, const std::vector<Text>& separators);

inline const Text kRowStart = "<tr style=\"text-align:center\">";
inline const Text kCellEnd = "</td>";
inline const Text kRowEnd = "</td></tr><br><tr style=\"text-align:center\">";

// Three menus in the order a build sorts them into.
std::vector<Menu> ThreeMenus();

// The names in a folder, sorted, as "name" or "name/" for a folder.
std::vector<Text> Listing(const std::filesystem::path& folder);

}  // namespace pravel::test
