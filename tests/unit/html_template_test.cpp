// The page template: its lines, markers, regions, entry line and placeholders.
#include <gtest/gtest.h>

#include "html/PageTemplate.h"

namespace pravel {
namespace {

std::vector<Text> Texts(const std::vector<std::string_view>& views) { return {views.begin(), views.end()}; }

TEST(TemplateLines, OnlyCrLfEndsALine) {
  struct Case {
    const char* text;
    std::vector<Text> lines;
  };
  const Case cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b", ""}},
      {"a\nb\nc", {"a\nb\nc"}},  // LF-only: one line
      {"a\rb\r\n\r\nc", {"a\rb", "", "c"}},
  };
  for (const Case& c : cases) {
    const TemplateLines lines{Text(c.text)};
    std::vector<Text> got;
    for (std::size_t i = 0; i < lines.Count(); ++i) got.emplace_back(lines.Line(i));
    EXPECT_EQ(got, c.lines) << c.text;
    EXPECT_EQ(lines.Line(lines.Count()), "");
    EXPECT_EQ(lines.Line(lines.Count() + 7), "");
  }
}

TEST(TemplateLines, MarkersAreFoundInAnyCaseAnywhereInALine) {
  const TemplateLines lines(
      "intro\r\n"
      "  <!--QX HTML HDR--> header starts\r\n"
      "<html>\r\n"
      "x<!--/Qx Html Hdr-->y\r\n"
      "<!--qx html hdr-->");
  EXPECT_EQ(lines.FindMarkerLine(kHeaderStartMarker), 1u);
  EXPECT_EQ(lines.FindMarkerLine(kHeaderStartMarker, 2), 4u);
  EXPECT_EQ(lines.FindMarkerLine(kHeaderEndMarker), 3u);
  EXPECT_EQ(lines.FindMarkerLine(kFormStartMarker), lines.Count());
  EXPECT_EQ(Texts(lines.Region(kHeaderStartMarker, kHeaderEndMarker)), std::vector<Text>{"<html>"});
}

TEST(TemplateLines, Regions) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<Text> region;
  };
  const Case cases[] = {
      {"plain", "<!--qx form template1-->\r\na\r\nb\r\n<!--/qx form template1-->\r\nc", {"a", "b"}},
      {"no start marker", "a\r\n<!--/qx form template1-->", {}},
      {"no end marker: to the end", "<!--qx form template1-->\r\na\r\nb\r\n", {"a", "b", ""}},
      {"end marker before start is not seen",
       "<!--/qx form template1-->\r\n<!--qx form template1-->\r\na",
       {"a"}},
      {"second start marker is an ordinary line",
       "<!--qx form template1-->\r\na\r\nx<!--qx form template1-->\r\n<!--/qx form template1-->",
       {"a", "x<!--qx form template1-->"}},
      {"empty region", "<!--qx form template1--><!--/qx form template1-->\r\na\r\n<!--/qx form template1-->", {"a"}},
      {"markers on one LF-only line", "<!--qx form template1-->\na\n<!--/qx form template1-->", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Texts(TemplateLines(c.text).Region(kFormStartMarker, kFormEndMarker)), c.region) << c.name;
  }
}

TEST(TemplateLines, EntryLine) {
  const Text longLine = "<option value=\"yyy\">" + Text(300, 'z') + "</option>";  // kept whole
  struct Case {
    Text text;
    Text entry;
  };
  const Case cases[] = {
      {"<!--qx single form entry-->\r\n" + longLine, longLine},
      {"<!--qx single form entry-->\r\n<option>zzz</option>\r\nignored", "<option>zzz</option>"},
      {"a\r\n<!--QX SINGLE FORM ENTRY-->\r\n\r\nnot this", ""},
      {"<option>zzz</option>\r\n<!--qx single form entry-->", ""},  // marker on the last line
      {"<option>zzz</option>", ""},                                 // no marker
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TemplateLines(c.text).EntryLine(), c.entry) << c.text;
}

TEST(Placeholders, FilledWithExactCaseInOrderWithoutEscaping) {
  struct Case {
    const char* entry;
    const char* name;
    const char* address;
    const char* filled;
  };
  const Case cases[] = {
      {"<option value=\"yyy\">zzz</option>", "Apples", "apples.html", "<option value=\"apples.html\">Apples</option>"},
      {"<option value=\"yyy\">zzz</option>", "yyyy", "a.html", "<option value=\"a.html\">a.htmly</option>"},
      {"<option value=\"yyy\">zzz</option>", "n", "zzz", "<option value=\"zzz\">n</option>"},
      {"<option value=\"YYY\">ZZZ</option>", "n", "a", "<option value=\"YYY\">ZZZ</option>"},
      {"zzzz yyyyyy", "N", "A", "Nz AA"},
      {"zzz", "<b>&\"", "", "<b>&\""},
      {"", "n", "a", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillEntry(c.entry, c.name, c.address), c.filled) << c.entry;

  EXPECT_EQ(FillPlaceholder("<td><form name=\"xxx\">", kMenuNamePlaceholder, "Fruit_Shop"),
            "<td><form name=\"Fruit_Shop\">");
  EXPECT_EQ(FillPlaceholder("<td><form name=\"XXX\">", kMenuNamePlaceholder, "Fruit_Shop"), "<td><form name=\"XXX\">");
  EXPECT_EQ(FillPlaceholder("xxx", kMenuNamePlaceholder, "xxxx"), "xxxx");
}

}  // namespace
}  // namespace pravel
