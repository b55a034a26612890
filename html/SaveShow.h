// Step 4's output: the menu lines cut out of the draft page, the final page
// laid out as a table, and the files written.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace pravel {

class StringList;
class TraceLog;
class Workflow;

inline constexpr const char* kMenusOnlyName = "MenusOnly.txt";
inline constexpr const char* kPageName = "Pravel.html";
inline constexpr const char* kPageCopyName = "Pravel.txt";
inline constexpr const char* kHeaderFileName = "HdrOnly.txt";
inline constexpr const char* kTableHeaderFileName = "TableHdr_template.txt";
inline constexpr const char* kTrailerFileName = "TrlOnly.txt";

// The menu lines of a draft page lie strictly between these two lines.
inline constexpr std::string_view kMenusStartKey = "<div style=";
inline constexpr std::string_view kMenusEndKey = "</div>";

// Items begin .. end - 1 of a list.
struct LineRange {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The menu lines of a draft page: after the first line holding "<div style="
// and before the first line from it on holding "</div>" (the same line when
// it holds both, which leaves no menu line). Nothing when either line is
// missing, as after a walk stopped out of order.
std::optional<LineRange> MenuLineRange(const std::vector<Text>& draft);

// The final page: the header lines, the table of the menu lines and the
// trailer text as one last item, line breaks included.
void AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
                       std::string_view headerText, std::string_view tableHeaderText,
                       std::string_view menusOnlyText, std::string_view trailerText);
// The same from the menu lines themselves (the lines of the menus-only
// text), which are moved into the page; returns where each one landed.
std::vector<std::size_t> AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount,
                                           std::int32_t columnCount, std::string_view headerText,
                                           std::string_view tableHeaderText, std::span<Text> menuLines,
                                           std::string_view trailerText);

// Cuts the menu lines into "MenusOnly.txt" and rebuilds the final page
// (RecreateAll_from, BuildTable), writing "Pravel.html" and "Pravel.txt".
// Returns false, with the reason shown to the user and HtmlLines holding the
// draft page again, when a file could not be written.
bool Create_MenusOnly(Workflow& wf);

// Rebuilds HtmlLines as the final page from the template files and the
// menus-only text, and writes "Pravel.html" and "Pravel.txt". False, with
// the reason shown, when a file could not be written.
bool RecreateAll_from(Workflow& wf, std::string_view menusOnlyText);

}  // namespace pravel
