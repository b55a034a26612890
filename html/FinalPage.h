// The final page of step 4: the menu lines cut out of the draft page and
// laid out as a table between the header and the trailer templates.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "text/Text.h"
#include "text/Trace.h"

namespace pravel {

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

// The final page into `page`: the lines of the header text, the table of
// the menu lines (moved into the page) and the trailer text as one last
// item, line breaks included. The templates' lines may end in CR LF, LF or
// both; the page's lines all end in CR LF. Returns where each menu line landed.
std::vector<std::size_t> AssembleFinalPage(std::vector<Text>& page, TraceLog& trace, std::int32_t columnCount,
                                           std::string_view headerText, std::string_view tableHeaderText,
                                           std::span<Text> menuLines, std::string_view trailerText);

}  // namespace pravel
