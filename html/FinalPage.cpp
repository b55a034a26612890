#include "html/FinalPage.h"

#include "html/TableLayout.h"
#include "text/Lines.h"

namespace pravel {

std::optional<LineRange> MenuLineRange(const std::vector<Text>& draft) {
  std::size_t start = 0;
  while (start < draft.size() && !Holds(draft[start], kMenusStartKey)) ++start;
  if (start == draft.size()) return std::nullopt;
  std::size_t end = start;
  while (end < draft.size() && !Holds(draft[end], kMenusEndKey)) ++end;
  if (end == draft.size()) return std::nullopt;
  if (end == start) return LineRange{start + 1, start + 1};
  return LineRange{start + 1, end};
}

std::vector<std::size_t> AssembleFinalPage(std::vector<Text>& page, TraceLog& trace, std::int32_t columnCount,
                                           std::string_view headerText, std::string_view tableHeaderText,
                                           std::span<Text> menuLines, std::string_view trailerText) {
  // Templates come from any editor: a line may end in CR LF or LF alone.
  page = StoredLines(headerText, Breaks::Any);
  // The table adds its opening line, the menu lines and at most one
  // separator per menu line.
  page.reserve(page.size() + 2 + 2 * menuLines.size());
  std::vector<std::size_t> placedAt = TableLayout(trace, page).BuildTable(columnCount, tableHeaderText, menuLines);
  // The trailer goes in whole, its own lines written with CR LF like
  // every other line of the page.
  page.push_back(WithCrLf(trailerText));
  return placedAt;
}

}  // namespace pravel
