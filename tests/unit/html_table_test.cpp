// The table layout of the final page: the column count, the separators
// before the forms, and the page assembled from its pieces.
#include <gtest/gtest.h>

#include <limits>

#include "app/Trace.h"
#include "html/SaveShow.h"
#include "html/TableLayout.h"
#include "support/TempDir.h"
#include "text/StringList.h"

namespace pravel {
namespace {

using test::CrLfLines;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ColumnCountOf, TheTextOfTheColumnsField) {
  struct Case {
    const char* text;
    std::int32_t count;
  };
  const Case cases[] = {
      {"4", 4},          {"  3", 3},        {"3 cols", 0},  {"3 ", 0},          {"2.5", 2},
      {"3.5", 4},        {"0.5", 0},        {"-2", -2},     {"abc", 0},         {"", 0},
      {"+1", 1},         {"1e1", 10},       {"-0", 0},      {"9999999999", kMax}, {"1e4931", kMax},
      {"-1e4931", kMin}, {"1e4932", 0},     {"\t2", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ColumnCountOf(c.text), c.count) << '"' << c.text << '"';
}

TEST(FirstLine, UpToTheFirstCrLf) {
  EXPECT_EQ(FirstLine(""), "");
  EXPECT_EQ(FirstLine("<table>"), "<table>");
  EXPECT_EQ(FirstLine("<table>\r\n<tr>\r\n<td>\r\n"), "<table>");
  EXPECT_EQ(FirstLine("<table>\n<tr>"), "<table>\n<tr>");
  EXPECT_EQ(FirstLine("\r\n<table>"), "");
}

// Menus-only text of n forms of two lines each.
Text Forms(int n) {
  Text text;
  for (int i = 1; i <= n; ++i) {
    AppendLine(text, "<td><form name=\"F" + std::to_string(i) + "\">");
    AppendLine(text, "<select>");
  }
  return text;
}

// The separator before each form: S row start, C cell end, R row end.
Text Separators(std::int32_t columns, int forms) {
  StringList page;
  TraceLog trace;
  int placed = 0;
  TableLayout(trace, page, placed).BuildTable(columns, "<table>", Forms(forms));
  Text kinds;
  const auto& lines = page.Items();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find("<form") == Text::npos) continue;
    const Text& before = lines[i - 1];
    if (before == kRowStart) {
      kinds += 'S';
    } else if (before == kCellEnd) {
      kinds += 'C';
    } else if (before == Text(kRowEnd) + Text(kRowStart)) {
      kinds += 'R';
    } else {
      kinds += '?';
    }
  }
  EXPECT_EQ(placed, forms);
  EXPECT_EQ(lines.size(), 1u + 3u * static_cast<std::size_t>(forms));
  return kinds;
}

TEST(TableLayout, SeparatorsByColumnCount) {
  struct Case {
    std::int32_t columns;
    int forms;
    const char* separators;
  };
  const Case cases[] = {
      {4, 9, "SCCCRCCCR"}, {4, 1, "S"},      {1, 3, "SRR"}, {0, 3, "SRR"},   {-2, 3, "SRR"},
      {2, 5, "SCRCR"},     {kMax, 4, "SCCC"}, {kMin, 2, "SR"}, {3, 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Separators(c.columns, c.forms), c.separators) << c.columns << "/" << c.forms;
}

TEST(TableLayout, OnlyWholeLinesAndOneSeparatorPerFormLine) {
  StringList page;
  TraceLog trace;
  int placed = 0;
  TableLayout(trace, page, placed)
      .BuildTable(4, "",
                  "<TD><FORM NAME=\"X\"><form name=\"Y\">\r\n"
                  "\r\n"
                  "<td><form name=\"Z\">\r\n"
                  "<td><form name=\"after the last CR LF\">");
  EXPECT_EQ(page.Items(), (std::vector<Text>{"", Text(kRowStart), "<TD><FORM NAME=\"X\"><form name=\"Y\">", "",
                                             Text(kCellEnd), "<td><form name=\"Z\">"}));
}

TEST(TableLayout, NoFormLineGetsNoSeparatorAtAll) {
  StringList page;
  TraceLog trace;
  int placed = 0;
  TableLayout(trace, page, placed).BuildTable(4, "<table>\r\n", CrLfLines({"<td>", "<select>", ""}));
  EXPECT_EQ(page.Items(), (std::vector<Text>{"<table>", "<td>", "<select>", ""}));
  EXPECT_EQ(placed, 0);
}

TEST(TableLayout, TraceEntriesWhenTracing) {
  StringList page;
  TraceLog trace;
  trace.TraceEnabled = 1;
  int placed = 0;
  TableLayout(trace, page, placed).BuildTable(4, "", Forms(2));
  EXPECT_EQ(trace.TraceText, CrLfLines({"Here we are in:  BuildTable", "Here we are in:  StartNewRow",
                                        "Here we are in:  StartNewRow", "Here we are in: Leaving  BuildTable"}));
}

const std::vector<Text> kMenuLines = {
    "<td><form name=\"Fruit_Shop\">",
    "<select name=\"Fruit_Shop\" onchange=\"location=this.value\">",
    "<option value=\"\">Fruit_Shop</option>",
    "<option value=\"apples.html\">Apples</option>",
    "<option value=\"pears.html\">Pears</option>",
    "</select>",
    "<td><form name=\"Tools\">",
    "<select name=\"Tools\" onchange=\"location=this.value\">",
    "<option value=\"\">Tools</option>",
    "<option value=\"saw.html\">Saw</option>",
};

TEST(AssembleFinalPage, WorkedExampleWithFourAndOneColumns) {
  Text menus;
  for (const Text& line : kMenuLines) AppendLine(menus, line);
  for (const char* columns : {"4", "1"}) {
    StringList page;
    TraceLog trace;
    int placed = 0;
    AssembleFinalPage(page, trace, placed, ColumnCountOf(columns),
                      CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}),
                      CrLfLines({"<table>", "<tr>", "<td>"}), menus, "</select></td></tr></table></div></body></html>");
    const Text separator = Text(columns) == "4" ? "</td>" : "</td></tr><br><tr style=\"text-align:center\">";
    EXPECT_EQ(ListJoin(page), CrLfLines({
                                  "<html><body>",
                                  "<div style=\"text-align:left\">",
                                  "<table>",
                                  "<tr style=\"text-align:center\">",
                                  "<td><form name=\"Fruit_Shop\">",
                                  "<select name=\"Fruit_Shop\" onchange=\"location=this.value\">",
                                  "<option value=\"\">Fruit_Shop</option>",
                                  "<option value=\"apples.html\">Apples</option>",
                                  "<option value=\"pears.html\">Pears</option>",
                                  "</select>",
                                  separator,
                                  "<td><form name=\"Tools\">",
                                  "<select name=\"Tools\" onchange=\"location=this.value\">",
                                  "<option value=\"\">Tools</option>",
                                  "<option value=\"saw.html\">Saw</option>",
                                  "</select></td></tr></table></div></body></html>",
                              }))
        << columns;
  }
}

TEST(AssembleFinalPage, EmptyPiecesAndATrailerWithLineBreaks) {
  StringList page;
  TraceLog trace;
  int placed = 0;
  AssembleFinalPage(page, trace, placed, 4, "", "", "", "</table>\r\n</body>\r\n</html>\r\n");
  // An empty line stands for the table's opening line; the trailer stays one
  // piece and gets one CR LF more.
  EXPECT_EQ(ListJoin(page), "\r\n</table>\r\n</body>\r\n</html>\r\n\r\n");
}

TEST(MenuLineRange, BetweenTheFirstDivStyleAndTheNextDivEnd) {
  struct Case {
    const char* name;
    std::vector<Text> draft;
    std::optional<std::pair<std::size_t, std::size_t>> range;
  };
  const Case cases[] = {
      {"plain", {"<html>", "<DIV STYLE=\"x\">", "a", "b", "</select></div><br>"}, std::pair{2u, 4u}},
      {"both on one line", {"<div style=\"x\"></div>", "a", "</div>"}, std::pair{1u, 1u}},
      {"second div style is a menu line", {"<div style=1>", "<div style=2>", "</div>"}, std::pair{1u, 2u}},
      {"div end before the start is not seen", {"</div>", "<div style=1>", "a", "</div>", "</div>"}, std::pair{2u, 3u}},
      {"no div style line", {"<html>", "a", "</div>"}, std::nullopt},
      {"no div end after it", {"</div>", "<div style=1>", "a"}, std::nullopt},
      {"empty draft", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<LineRange> range = MenuLineRange(c.draft);
    ASSERT_EQ(range.has_value(), c.range.has_value()) << c.name;
    if (!range) continue;
    EXPECT_EQ(range->begin, c.range->first) << c.name;
    EXPECT_EQ(range->end, c.range->second) << c.name;
  }
}

}  // namespace
}  // namespace pravel
