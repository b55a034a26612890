// The table layout: the column count and the separators before the forms.
#include <gtest/gtest.h>

#include <limits>

#include "app/Trace.h"
#include "html/SaveShow.h"
#include "html/TableLayout.h"
#include "support/TempDir.h"
#include "text/StringList.h"

namespace pravel {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ColumnCountOf, TheTextOfTheColumnsField) {
  struct Case {
    const char* text;
    std::int32_t count;
  };
  const Case cases[] = {
      {"4", 4},     {"  3", 3},   {"3 cols", 0}, {"3 ", 0},          {"2.5", 2},         {"3.5", 4},
      {"0.5", 0},   {"-2", -2},   {"abc", 0},    {"", 0},            {"\t2", 0},         {"1e1", 10},
      {"-0", 0},    {"1e4932", 0}, {"9999999999", kMax}, {"1e4931", kMax}, {"-1e4931", kMin},
  };
  for (const Case& c : cases) EXPECT_EQ(ColumnCountOf(c.text), c.count) << '"' << c.text << '"';
}

std::vector<Text> Table(std::int32_t columns, std::string_view menus, int* placed = nullptr) {
  StringList page;
  TraceLog trace;
  int count = 0;
  TableLayout(trace, page, count).BuildTable(columns, "<table>\r\n<tr>", menus);
  if (placed) *placed = count;
  return page.Items();
}

// The separator before each of n forms: S row start, C cell end, R row end.
Text Separators(std::int32_t columns, int forms) {
  Text menus;
  for (int i = 1; i <= forms; ++i) menus += "<td><form name=\"F" + std::to_string(i) + "\">\r\n<select>\r\n";
  int placed = 0;
  const std::vector<Text> lines = Table(columns, menus, &placed);
  EXPECT_EQ(placed, forms);
  Text kinds;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!lines[i].starts_with("<td><form")) continue;
    const Text& before = lines[i - 1];
    kinds += before == kRowStart ? 'S' : before == kCellEnd ? 'C' : before == Text(kRowEnd) + Text(kRowStart) ? 'R' : '?';
  }
  return kinds;
}

TEST(TableLayout, SeparatorsByColumnCount) {
  struct Case {
    std::int32_t columns;
    int forms;
    const char* separators;
  };
  const Case cases[] = {
      {4, 9, "SCCCRCCCR"}, {4, 1, "S"},       {1, 3, "SRR"},   {0, 3, "SRR"}, {-2, 3, "SRR"},
      {2, 5, "SCRCR"},     {kMax, 4, "SCCC"}, {kMin, 2, "SR"}, {3, 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Separators(c.columns, c.forms), c.separators) << c.columns << "/" << c.forms;
}

TEST(TableLayout, WholeLinesOnlyAndOneSeparatorPerFormLine) {
  EXPECT_EQ(Table(4,
                  "<TD><FORM NAME=\"X\"><form name=\"Y\">\r\n"
                  "\r\n"
                  "<td><form name=\"Z\">\r\n"
                  "<td><form name=\"after the last CR LF\">"),
            (std::vector<Text>{"<table>", Text(kRowStart), "<TD><FORM NAME=\"X\"><form name=\"Y\">", "",
                               Text(kCellEnd), "<td><form name=\"Z\">"}));
  // Without a form line there is no separator at all, not even the row start.
  EXPECT_EQ(Table(4, "<td>\r\n<select>\r\n"), (std::vector<Text>{"<table>", "<td>", "<select>"}));
}

TEST(AssembleFinalPage, EmptyPiecesAndATrailerWithLineBreaks) {
  StringList page;
  TraceLog trace;
  int placed = 0;
  AssembleFinalPage(page, trace, placed, 4, "", "", "", "</table>\r\n</html>\r\n");
  // An empty line stands for the table's opening line; the trailer stays one
  // piece and gets one CR LF more.
  EXPECT_EQ(ListJoin(page), "\r\n</table>\r\n</html>\r\n\r\n");
}

TEST(MenuLineRange, BetweenTheFirstDivStyleAndTheNextDivEnd) {
  using Range = std::optional<std::pair<std::size_t, std::size_t>>;
  struct Case {
    const char* name;
    std::vector<Text> draft;
    Range range;
  };
  const Case cases[] = {
      {"plain", {"<html>", "<DIV STYLE=\"x\">", "a", "b", "</select></div><br>"}, std::pair{2u, 4u}},
      {"both on one line", {"<div style=\"x\"></div>", "a", "</div>"}, std::pair{1u, 1u}},
      {"second div style is a menu line", {"<div style=1>", "<div style=2>", "</div>"}, std::pair{1u, 2u}},
      {"div end before the start is not seen", {"</div>", "<div style=1>", "a", "</div>"}, std::pair{2u, 3u}},
      {"no div style line", {"<html>", "a", "</div>"}, std::nullopt},
      {"no div end after it", {"</div>", "<div style=1>", "a"}, std::nullopt},
      {"empty draft", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<LineRange> got = MenuLineRange(c.draft);
    EXPECT_EQ(got ? Range(std::pair{got->begin, got->end}) : Range(), c.range) << c.name;
  }
}

}  // namespace
}  // namespace pravel
