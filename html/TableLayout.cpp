#include "html/TableLayout.h"

#include "text/Lines.h"

namespace pravel {

std::int32_t ColumnCountOf(std::string_view columnsText) { return RoundToInt32(TextToNumber(columnsText)); }

std::vector<std::size_t> TableLayout::BuildTable(std::int32_t columnCount, std::string_view tableHeaderText,
                                                 std::span<Text> menuLines) {
  trace_.Trace(" BuildTable");
  ColumnCount = columnCount;
  columnCounter_ = 0;
  htmlLines_.emplace_back(FirstLine(tableHeaderText));
  std::vector<std::size_t> placedAt;
  placedAt.reserve(menuLines.size());
  for (Text& line : menuLines) {
    if (Holds(line, kFormKey)) StartNewRow();
    placedAt.push_back(htmlLines_.size());
    htmlLines_.push_back(std::move(line));
  }
  trace_.Trace("Leaving  BuildTable");
  return placedAt;
}

void TableLayout::StartNewRow() {
  trace_.Trace(" StartNewRow");
  ++columnCounter_;
  if (formsPlaced_ == 0) {
    htmlLines_.emplace_back(kRowStart);
    ++formsPlaced_;
    return;
  }
  if (columnCounter_ <= ColumnCount) {
    htmlLines_.emplace_back(kCellEnd);
  } else {
    htmlLines_.push_back(Text(kRowEnd) + Text(kRowStart));
    columnCounter_ = 1;
  }
  ++formsPlaced_;
}

}  // namespace pravel
