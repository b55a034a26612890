#include "html/TableLayout.h"

#include "app/Trace.h"
#include "text/StringList.h"

namespace pravel {

std::int32_t ColumnCountOf(std::string_view columnsText) { return RoundToInt32(TextToNumber(columnsText)); }

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find(CRLF)); }

void TableLayout::StartTable(std::int32_t columnCount, std::string_view tableHeaderText) {
  trace_.Trace(" BuildTable");
  ColumnCount = columnCount;
  columnCounter_ = 0;
  ListAdd(htmlLines_, Text(FirstLine(tableHeaderText)));
}

void TableLayout::AddMenuLine(Text line) {
  if (Holds(line, kFormKey)) StartNewRow();
  ListAdd(htmlLines_, std::move(line));
}

void TableLayout::BuildTable(std::int32_t columnCount, std::string_view tableHeaderText,
                             std::string_view menusOnlyText) {
  StartTable(columnCount, tableHeaderText);
  std::size_t from = 0;
  for (std::size_t end = menusOnlyText.find(CRLF); end != std::string_view::npos;
       end = menusOnlyText.find(CRLF, from)) {
    AddMenuLine(Text(menusOnlyText.substr(from, end - from)));
    from = end + CRLF.size();
  }
  trace_.Trace("Leaving  BuildTable");
}

std::vector<std::size_t> TableLayout::BuildTable(std::int32_t columnCount, std::string_view tableHeaderText,
                                                 std::span<Text> menuLines) {
  StartTable(columnCount, tableHeaderText);
  std::vector<std::size_t> placedAt;
  placedAt.reserve(menuLines.size());
  for (Text& line : menuLines) {
    AddMenuLine(std::move(line));
    placedAt.push_back(ListCount(htmlLines_) - 1);
  }
  trace_.Trace("Leaving  BuildTable");
  return placedAt;
}

void TableLayout::StartNewRow() {
  trace_.Trace(" StartNewRow");
  ++columnCounter_;
  if (formsPlaced_ == 0) {
    ListAdd(htmlLines_, Text(kRowStart));
    ++formsPlaced_;
    return;
  }
  if (columnCounter_ <= ColumnCount) {
    ListAdd(htmlLines_, Text(kCellEnd));
  } else {
    ListAdd(htmlLines_, Text(kRowEnd) + Text(kRowStart));
    columnCounter_ = 1;
  }
  ++formsPlaced_;
}

}  // namespace pravel
