// The html layer: the template's pieces and placeholders, the walk over a
// definition and the table's separators. The worked example byte for byte,
// and where the menu lines of a page lie, are golden cases.
#include <gtest/gtest.h>

#include <limits>

#include "html/FormBuilder.h"
#include "html/PageTemplate.h"
#include "html/TableLayout.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

TEST(PageTemplate, PiecesAreCutAtMarkersInAnyCaseAnywhereInALine) {
  const Text longLine = "<option value=\"yyy\">" + Text(300, 'z') + "</option>";  // kept whole
  // What the form and the entry become, and why.
  const std::tuple<Text, std::vector<Text>, Text> cases[] = {
      // marker lines are left out
      {CrLfLines({"x <!--QX Form Template1--> y", "a", "b", "<!--/qx form template1-->"}), {"a", "b"}, ""},
      {CrLfLines({"a", "<!--/qx form template1-->"}), {}, ""},        // no start marker
      {CrLfLines({"<!--qx form template1-->", "a"}), {"a", ""}, ""},  // no end marker: to the end
      // an end marker before the start is not seen
      {CrLfLines({"<!--/qx form template1-->", "<!--qx form template1-->", "a"}), {"a", ""}, ""},
      // a second start marker is an ordinary line
      {CrLfLines({"<!--qx form template1-->", "<!--qx form template1-->", "<!--/qx form template1-->"}),
       {"<!--qx form template1-->"},
       ""},
      {"<!--qx form template1-->\na\n<!--/qx form template1-->", {}, ""},  // LF-only lines are one line
      {CrLfLines({"<!--qx single form entry-->", longLine, "ignored"}), {}, longLine},
      {"a\r\n<!--Qx Single Form Entry-->", {}, ""},  // the entry marker on the last line
  };
  for (const auto& [text, form, entry] : cases) {
    const PageParts parts = ReadPageParts(text);
    EXPECT_EQ(parts.form, form) << text;
    EXPECT_EQ(parts.entry, entry) << text;
  }
}

TEST(PageTemplate, PlaceholdersAreFilledWithExactCaseInOrderWithoutEscaping) {
  const char* const cases[][4] = {
      {"<option value=\"yyy\">zzz</option>", "Apples", "apples.html", "<option value=\"apples.html\">Apples</option>"},
      {"<option value=\"yyy\">zzz</option>", "yyyy", "a.html", "<option value=\"a.html\">a.htmly</option>"},
      {"<option value=\"yyy\">zzz</option>", "n", "zzz", "<option value=\"zzz\">n</option>"},
      {"<option value=\"YYY\">ZZZ</option>", "n", "a", "<option value=\"YYY\">ZZZ</option>"},
      {"zzzz yyyyyy", "N", "A", "Nz AA"},
      {"zzz", "<b>&\"", "", "<b>&\""},
  };
  for (const auto& c : cases) EXPECT_EQ(FillEntry(c[0], c[1], c[2]), c[3]) << c[0];
  EXPECT_EQ(FillPlaceholder("<form name=\"xxx\" id=\"XXX\">", kMenuNamePlaceholder, "Fruit_Shop"),
            "<form name=\"Fruit_Shop\" id=\"XXX\">");
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
