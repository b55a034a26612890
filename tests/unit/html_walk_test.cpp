// The walk over a definition and the draft lines it emits, on its own.
#include <gtest/gtest.h>

#include "app/Trace.h"
#include "html/FormBuilder.h"
#include "support/RecordingHost.h"
#include "text/Pane.h"
#include "text/StringList.h"
#include "unit/html_worked_example.h"

namespace pravel {
namespace {

using test::CrLfLines;

struct Walk {
  test::RecordingHost host;
  TraceLog trace;
  StringList html;
  int hdrDone = 0;
  std::int64_t lineIndex = 0;

  std::vector<Text> Run(const Text& definition, const Text& pageTemplate = example::kPageTemplate) {
    end = DelegateWork(DraftStores{host, trace, html, hdrDone, lineIndex}, TextLines(definition), pageTemplate);
    return html.Items();
  }
  WalkEnd end = WalkEnd::Finished;
};

// The form region and the entry line of the worked example, filled.
std::vector<Text> Form(const Text& menu) {
  return {"<td><form name=\"" + menu + "\">", "<select name=\"" + menu + "\" onchange=\"location=this.value\">",
          "<option value=\"\">" + menu + "</option>"};
}
Text Entry(const Text& name, const Text& address) { return "<option value=\"" + address + "\">" + name + "</option>"; }

std::vector<Text> Page(std::initializer_list<std::vector<Text>> pieces) {
  std::vector<Text> lines = {"<html><body>", "<div style=\"text-align:left\">"};
  for (const auto& piece : pieces) lines.insert(lines.end(), piece.begin(), piece.end());
  return lines;
}

TEST(DelegateWork, OneMenuOneLinkHasNoSeparateSelectEnd) {
  Walk walk;
  EXPECT_EQ(walk.Run(CrLfLines({" ", "menuname=<Fruit>", " ", "linkname=<Apples>", "linkaddress=<apples.html>", " "})),
            Page({Form("Fruit"), {Entry("Apples", "apples.html"), example::kClosingLine}}));
  EXPECT_EQ(walk.end, WalkEnd::Finished);
  EXPECT_TRUE(walk.host.messages.empty());
  EXPECT_EQ(walk.hdrDone, 1);
  EXPECT_EQ(walk.lineIndex, 0);  // the trailer resets it
}

TEST(DelegateWork, ValuesAsWrittenAroundTheStatements) {
  Walk walk;
  const auto lines = walk.Run(CrLfLines({"remark", "  MENUNAME=<Dried Fruit> remark", "LinkName=<yyyy>",
                                         "x linkaddress=<a.html", "trailing remark"}));
  EXPECT_EQ(lines, Page({Form("Dried_Fruit"), {Entry("a.htmly", "a.html"), example::kClosingLine}}));
  ASSERT_EQ(walk.host.messages.size(), 1u);
  EXPECT_EQ(walk.host.messages[0].text,
            "No spaces allowed in MenuName: \r\nMenuName changed from   Dried Fruit   to   Dried_Fruit");
  EXPECT_EQ(walk.host.messages[0].kind, MessageKind::Warning);
}

TEST(DelegateWork, TemplateWithoutMarkersGivesAnEmptyLinePerLink) {
  // An LF-only template is one line: its markers begin no region.
  for (const Text& pageTemplate : {Text(), Text("<!--qx html hdr-->\n<b>\n<!--/qx html hdr-->")}) {
    Walk walk;
    EXPECT_EQ(walk.Run(CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<1>", "linkname=<2>",
                                  "linkaddress=<2>", "menuname=<B>", "linkname=<3>", "linkaddress=<3>"}),
                       pageTemplate),
              (std::vector<Text>{"", "", "</select>", "", example::kClosingLine}));
  }
}

TEST(DelegateWork, AddressOutOfTurnStopsWithoutTrailer) {
  Walk walk;
  EXPECT_EQ(walk.Run(CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<one>", "linkaddress=<two>",
                                "linkname=<3>", "linkaddress=<three>"})),
            Page({Form("A"), {Entry("1", "one")}}));
  EXPECT_EQ(walk.end, WalkEnd::OutOfOrder);
  ASSERT_EQ(walk.host.messages.size(), 1u);
  EXPECT_EQ(walk.host.messages[0].text, "[Linkaddress=] statement, Out Of Order. Shoot me sombody.");
  EXPECT_EQ(walk.host.messages[0].kind, MessageKind::Error);
}

TEST(DelegateWork, ALineHoldingTwoStatementsCountsAsItsFirstKeyword) {
  Walk walk;
  EXPECT_EQ(walk.Run(CrLfLines({"menuname=<A> linkname=<B>", "linkaddress=<a>", "menuname=<C> linkname=<D>",
                                "linkaddress=<c>"})),
            Page({Form("A"), {Entry("A", "a"), "</select>"}, Form("C"), {Entry("C", "c"), example::kClosingLine}}));
}

// The next statement is searched after the current line; a value that
// merely contains a keyword must neither rename the next menu nor make the
// walk repeat one line for ever.
TEST(DelegateWork, ScansContinueAfterTheCurrentLine) {
  Walk menu;
  EXPECT_EQ(menu.Run(CrLfLines({"menuname=<A>", "linkname=<n>", "linkaddress=<page.php?menuname=x>", "menuname=<B>",
                                "linkname=<m>", "linkaddress=<b>"})),
            Page({Form("A"), {Entry("n", "page.php?menuname=x"), "</select>"}, Form("B"),
                  {Entry("m", "b"), example::kClosingLine}}));

  Walk link;
  EXPECT_EQ(link.Run(CrLfLines(
                {"menuname=<A>", "linkname=<n>", "linkaddress=<a> linkname=<p>", "linkname=<m>", "linkaddress=<b>"})),
            Page({Form("A"), {Entry("n", "a"), Entry("m", "b"), example::kClosingLine}}));
}

}  // namespace
}  // namespace pravel
