// The table of the final page: the forms of the draft page laid out
// ColumnCount to a row.
//
// The layout never parses HTML. A line that contains "<form name=" starts a
// form; before it goes exactly one separator line. The separators never
// open a cell: the form region of the template opens its own (a line
// beginning "<td><form name="), and the page's closing text closes the last
// list, cell, row and table.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "text/Text.h"
#include "text/Trace.h"

namespace pravel {

inline constexpr std::string_view kFormKey = "<form name=";
// Opens the first row, and every later row after the row end.
inline constexpr std::string_view kRowStart = "<tr style=\"text-align:center\">";
inline constexpr std::string_view kCellEnd = "</td>";
inline constexpr std::string_view kRowEnd = "</td></tr><br>";

// The forms per row typed in the Columns field: leading blanks are skipped,
// anything else that is not a number (a trailing blank too) gives 0, and the
// value is rounded to the nearest whole number, a half to the even one. A
// count below 1 puts every form in a row of its own.
std::int32_t ColumnCountOf(std::string_view columnsText);

class TableLayout {
 public:
  TableLayout(TraceLog& trace, std::vector<Text>& htmlLines) : trace_(trace), htmlLines_(htmlLines) {}

  // Appends the first line of the table-header text, then the menu lines,
  // a separator before every form line. The menu lines are moved into the
  // page, not copied; where each one landed is returned, so that they can
  // be given back.
  std::vector<std::size_t> BuildTable(std::int32_t columnCount, std::string_view tableHeaderText,
                                      std::span<Text> menuLines);

 private:
  void StartNewRow();

  TraceLog& trace_;
  std::vector<Text>& htmlLines_;
  std::int64_t ColumnCount = 0;
  std::int64_t columnCounter_ = 0;
  std::int64_t formsPlaced_ = 0;  // 0: no row is open yet
};

}  // namespace pravel
