// The html layer: the template's pieces, the walk over a definition and the
// table's separators. The worked example byte for byte, the rules of a whole
// template and where the menu lines of a page lie are golden cases.
#include <gtest/gtest.h>

#include <limits>

#include "html/FormBuilder.h"
#include "html/PageTemplate.h"
#include "html/TableLayout.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

// Where a piece ends when a template leaves a marker out; the rules of a
// whole template, and how its placeholders are filled, are a golden case.
TEST(PageTemplate, PiecesAtTheEdgesOfTheTemplate) {
  const std::tuple<Text, std::vector<Text>, Text> cases[] = {
      {CrLfLines({"a", "<!--/qx form template1-->"}), {}, ""},                // no start marker
      {CrLfLines({"<!--qx form template1-->", "a"}), {"a", ""}, ""},          // no end marker: to the end
      {"<!--qx form template1-->\na\n<!--/qx form template1-->", {"a"}, ""},  // LF line ends
      {"<!--qx form template1-->\r\na\nb\r\n<!--/qx form template1-->\n<!--qx single form entry-->\r\nE\n",
       {"a", "b"},
       "E"},                                          // mixed line ends
      {"a\r\n<!--Qx Single Form Entry-->", {}, ""}};  // the entry marker last
  for (const auto& [text, form, entry] : cases) {
    const PageParts parts = ReadPageParts(text);
    EXPECT_EQ(parts.form, form) << text;
    EXPECT_EQ(parts.entry, entry) << text;
  }
}

// A template that would give a page without menus is refused before the
// build writes anything; each piece it lacks is named.
TEST(PageTemplate, NamesThePiecesAPageOfMenusNeeds) {
  const Text header = CrLfLines({"<!--qx html hdr-->", "<DIV STYLE=\"x\">", "<!--/qx html hdr-->"});
  const Text form = CrLfLines({"<!--qx form template1-->", "<select name=\"xxx\">", "<!--/qx form template1-->"});
  const Text entry = CrLfLines({"<!--qx single form entry-->", "<option value=\"yyy\">zzz</option>"});
  const std::pair<Text, std::size_t> cases[] = {
      {header + form + entry, 0},
      // the menus' div closed at once, or by a form: no link reaches the page
      {CrLfLines({"<!--qx html hdr-->", "<div style=\"x\"></div>", "<!--/qx html hdr-->"}) + form + entry, 1},
      {header + CrLfLines({"<!--qx form template1-->", "<td><div>", "</div>", "<!--/qx form template1-->"}) + entry, 1},
      {"", 3},
      // the div opened by the form instead of the header
      {CrLfLines({"<!--qx form template1-->", "<div style=\"x\">", "<!--/qx form template1-->"}) + entry, 0},
      {header + entry, 1},  // no form
      {header + form, 1},   // no entry line
  };
  for (const auto& [text, missing] : cases) EXPECT_EQ(MissingPieces(ReadPageParts(text)).size(), missing) << text;
}

TEST(DelegateWork, EmitsAFormPerMenuAndStopsAtAnAddressOutOfTurn) {
  const Text end(kDraftClosingLine);
  const Text longAddress = "https://example.org/" + Text(380, 'p') + " and the rest";  // kept whole
  const std::tuple<Text, std::vector<Text>, WalkEnd> cases[] = {
      // one menu, one link: no separate select end
      {CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<a>"}), {"H", "F:A", "E:1=a", end}, WalkEnd::Finished},
      // values as written around the statements, to the end of a line without ">"
      {CrLfLines({"remark", "  MENUNAME=<B> x", "LinkName=< 2 > y", "x linkaddress=<" + longAddress, "remark"}),
       {"H", "F:B", "E: 2 =" + longAddress, end},
       WalkEnd::Finished},
      // a line with two statements counts as its first keyword
      {CrLfLines({"menuname=<A> linkname=<B>", "linkaddress=<a>", "menuname=<C> linkname=<D>", "linkaddress=<c>"}),
       {"H", "F:A", "E:A=a", "</select>", "F:C", "E:C=c", end},
       WalkEnd::Finished},
      // The next statement is looked for after the current line: a value
      // that merely holds a keyword neither renames the next menu nor makes
      // the walk repeat one line for ever.
      {CrLfLines({"menuname=<A>", "linkname=<n>", "linkaddress=<p?menuname=x> linkname=<q>", "menuname=<B>",
                  "linkname=<m>", "linkaddress=<b>"}),
       {"H", "F:A", "E:n=p?menuname=x", "</select>", "F:B", "E:m=b", end},
       WalkEnd::Finished},
      // an address out of turn stops without the closing line
      {CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<one>", "linkaddress=<two>"}),
       {"H", "F:A", "E:1=one"},
       WalkEnd::OutOfOrder},
      {CrLfLines({"menuname=<Dried Fruit>", "linkname=<1>", "linkaddress=<a>"}),
       {"H", "F:Dried_Fruit", "E:1=a", end},
       WalkEnd::Finished},
  };
  // A template whose form is "F:xxx" and entry "E:zzz=yyy".
  const PageParts page =
      ReadPageParts(CrLfLines({"<!--qx html hdr-->", "H", "<!--/qx html hdr-->", "<!--qx form template1-->", "F:xxx",
                               "<!--/qx form template1-->", "<!--qx single form entry-->", "E:zzz=yyy"}));
  for (const auto& [definition, expected, expectedEnd] : cases) {
    std::vector<Text> lines;
    int headers = 0, renamed = 0;
    TraceLog trace;
    const WalkEnd walkEnd =
        DelegateWork(TextLines(definition), page, lines, headers, trace, [&](auto, auto) { ++renamed; });
    EXPECT_EQ(lines, expected) << definition;
    EXPECT_EQ(walkEnd, expectedEnd) << definition;
    EXPECT_EQ(renamed, definition.find("Dried") != Text::npos ? 1 : 0);
  }
}

TEST(TableLayout, TheColumnsFieldDecidesTheSeparatorBeforeEachForm) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  // The separator before each form: S row start, C cell end, R row end.
  const Text rowEndStart = Text(kRowEnd) + Text(kRowStart);
  const std::tuple<std::int32_t, int, const char*> layouts[] = {
      {4, 9, "SCCCRCCCR"}, {1, 3, "SRR"}, {0, 3, "SRR"}, {-2, 3, "SRR"}, {2, 5, "SCRCR"}, {kMax, 4, "SCCC"}, {3, 0, ""},
  };
  for (const auto& [columns, forms, expected] : layouts) {
    std::vector<Text> menus;
    for (int i = 0; i < forms; ++i) menus.insert(menus.end(), {"<TD><FORM NAME=\"x\">", "<select>"});
    std::vector<Text> page;
    TraceLog trace;
    TableLayout(trace, page).BuildTable(columns, "<table>\r\n<tr>", menus);
    Text kinds;
    for (std::size_t i = 1; i < page.size(); ++i) {
      if (page[i] != "<TD><FORM NAME=\"x\">") continue;
      const Text& before = page[i - 1];
      kinds += before == kRowStart ? 'S' : before == kCellEnd ? 'C' : before == rowEndStart ? 'R' : '?';
    }
    EXPECT_EQ(kinds, expected) << columns << " columns, " << forms << " forms";
    EXPECT_EQ(page.size(), 1 + 3 * static_cast<std::size_t>(forms)) << "one separator per form";
  }
}

}  // namespace
}  // namespace pravel
