// The walk over a normalised definition and the draft page it emits.
#include <gtest/gtest.h>

#include "app/Trace.h"
#include "html/FormBuilder.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "text/Pane.h"
#include "text/StringList.h"

namespace pravel {
namespace {

using test::CrLfLines;
using test::RecordingHost;

const Text kTemplate = CrLfLines({
    "<!--qx html hdr-->",
    "<html><body>",
    "<div style=\"text-align:left\">",
    "<!--/qx html hdr-->",
    "<!--qx form template1-->",
    "<td><form name=\"xxx\">",
    "<select name=\"xxx\" onchange=\"location=this.value\">",
    "<option value=\"\">xxx</option>",
    "<!--/qx form template1-->",
    "<!--qx single form entry-->",
    "<option value=\"yyy\">zzz</option>",
});

// The definition as normalisation leaves it.
Text Normalised(std::initializer_list<std::string_view> statements) {
  Text text;
  for (std::string_view s : statements) {
    if (s.starts_with("menuname")) AppendLine(text, " ");
    AppendLine(text, s);
    if (s.starts_with("menuname") || s.starts_with("linkaddress")) AppendLine(text, " ");
  }
  return text;
}

struct Walk {
  RecordingHost host;
  TraceLog trace;
  StringList html;
  int hdrDone = 0;
  std::int64_t lineIndex = 0;

  WalkEnd Run(const Text& definition, const Text& pageTemplate = kTemplate) {
    const TextLines lines(definition);
    return DelegateWork(DraftStores{host, trace, html, hdrDone, lineIndex}, lines, pageTemplate);
  }
  std::vector<Text> Lines() const { return html.Items(); }
};

TEST(DelegateWork, WorkedExample) {
  Walk walk;
  const WalkEnd end = walk.Run(Normalised({"menuname=<Fruit Shop>", "linkname=<Apples>", "linkaddress=<apples.html>",
                                           "linkname=<Pears>", "linkaddress=<pears.html>", "menuname=<Tools>",
                                           "linkname=<Saw>", "linkaddress=<saw.html>"}));
  EXPECT_EQ(end, WalkEnd::Finished);
  EXPECT_EQ(walk.Lines(), (std::vector<Text>{
                              "<html><body>",
                              "<div style=\"text-align:left\">",
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
                              "</select></td></tr></table></div><br></body></html>",
                          }));
  ASSERT_EQ(walk.host.messages.size(), 1u);
  EXPECT_EQ(walk.host.messages[0].text,
            "No spaces allowed in MenuName: \r\nMenuName changed from   Fruit Shop   to   Fruit_Shop");
  EXPECT_EQ(walk.host.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(walk.hdrDone, 1);
  EXPECT_EQ(walk.lineIndex, 0);  // the trailer resets it
}

TEST(DelegateWork, OneMenuOneLinkHasNoSeparateSelectEnd) {
  Walk walk;
  walk.Run(Normalised({"menuname=<Fruit>", "linkname=<Apples>", "linkaddress=<apples.html>"}));
  EXPECT_EQ(walk.Lines(), (std::vector<Text>{
                              "<html><body>",
                              "<div style=\"text-align:left\">",
                              "<td><form name=\"Fruit\">",
                              "<select name=\"Fruit\" onchange=\"location=this.value\">",
                              "<option value=\"\">Fruit</option>",
                              "<option value=\"apples.html\">Apples</option>",
                              "</select></td></tr></table></div><br></body></html>",
                          }));
  EXPECT_TRUE(walk.host.messages.empty());
}

TEST(DelegateWork, HeaderOnlyWhileNoneIsDone) {
  Walk walk;
  walk.hdrDone = 1;
  walk.Run(Normalised({"menuname=<A>", "linkname=<n>", "linkaddress=<a>"}));
  EXPECT_EQ(walk.Lines().front(), "<td><form name=\"A\">");
  EXPECT_EQ(walk.hdrDone, 1);
}

TEST(DelegateWork, TemplateWithoutMarkersGivesAnEmptyLinePerLink) {
  for (const Text& pageTemplate : {Text(), Text("<html>\n<!--qx html hdr-->\n<b>\n<!--/qx html hdr-->")}) {
    Walk walk;
    walk.Run(Normalised({"menuname=<A>", "linkname=<1>", "linkaddress=<1>", "linkname=<2>", "linkaddress=<2>",
                         "menuname=<B>", "linkname=<3>", "linkaddress=<3>"}),
             pageTemplate);
    EXPECT_EQ(walk.Lines(),
              (std::vector<Text>{"", "", "</select>", "", "</select></td></tr></table></div><br></body></html>"}));
  }
}

TEST(DelegateWork, ValuesAsWrittenAroundTheStatements) {
  Walk walk;
  walk.Run(CrLfLines({"remark", "  MENUNAME=<Dried Fruit> remark", "LinkName=<yyyy>", "x linkaddress=<a.html",
                      "trailing remark"}));
  EXPECT_EQ(walk.Lines()[4], "<option value=\"\">Dried_Fruit</option>");
  EXPECT_EQ(walk.Lines()[5], "<option value=\"a.html\">a.htmly</option>");
  EXPECT_EQ(walk.host.LastMessage(),
            "No spaces allowed in MenuName: \r\nMenuName changed from   Dried Fruit   to   Dried_Fruit");
}

TEST(DelegateWork, AddressOutOfTurnStopsWithoutTrailer) {
  Walk walk;
  const WalkEnd end = walk.Run(CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<one>", "linkaddress=<two>",
                                          "linkname=<3>", "linkaddress=<three>"}));
  EXPECT_EQ(end, WalkEnd::OutOfOrder);
  EXPECT_EQ(walk.Lines().back(), "<option value=\"one\">1</option>");
  ASSERT_EQ(walk.host.messages.size(), 1u);
  EXPECT_EQ(walk.host.messages[0].text, "[Linkaddress=] statement, Out Of Order. Shoot me sombody.");
  EXPECT_EQ(walk.host.messages[0].kind, MessageKind::Error);
}

TEST(DelegateWork, ALineHoldingTwoStatementsCountsAsItsFirstKeyword) {
  Walk walk;
  walk.Run(CrLfLines({"menuname=<A> linkname=<B>", "linkaddress=<a>", "menuname=<C> linkname=<D>", "linkaddress=<c>"}));
  EXPECT_EQ(walk.Lines(), (std::vector<Text>{
                              "<html><body>", "<div style=\"text-align:left\">", "<td><form name=\"A\">",
                              "<select name=\"A\" onchange=\"location=this.value\">", "<option value=\"\">A</option>",
                              "<option value=\"a\">A</option>", "</select>", "<td><form name=\"C\">",
                              "<select name=\"C\" onchange=\"location=this.value\">", "<option value=\"\">C</option>",
                              "<option value=\"c\">C</option>", "</select></td></tr></table></div><br></body></html>"}));
}

// The next statement is searched after the current line; a value that
// merely contains a keyword must neither rename the next menu nor make the
// walk repeat one line for ever.
TEST(DelegateWork, ScansContinueAfterTheCurrentLine) {
  Walk menu;
  menu.Run(Normalised({"menuname=<A>", "linkname=<n>", "linkaddress=<page.php?menuname=x>", "menuname=<B>",
                       "linkname=<m>", "linkaddress=<b>"}));
  EXPECT_EQ(menu.Lines()[7], "<td><form name=\"B\">");

  Walk link;
  const WalkEnd end = link.Run(CrLfLines({"menuname=<A>", "linkname=<n>", "linkaddress=<a> linkname=<p>",
                                          "linkname=<m>", "linkaddress=<b>"}));
  EXPECT_EQ(end, WalkEnd::Finished);
  EXPECT_EQ(link.Lines()[5], "<option value=\"a\">n</option>");
  EXPECT_EQ(link.Lines()[6], "<option value=\"b\">m</option>");
  EXPECT_EQ(link.Lines().size(), 8u);
}

TEST(DelegateWork, TraceEntriesWhenTracing) {
  Walk walk;
  walk.trace.TraceEnabled = 1;
  walk.Run(Normalised({"menuname=<A>", "linkname=<1>", "linkaddress=<1>", "menuname=<B>", "linkname=<2>",
                       "linkaddress=<2>"}));
  EXPECT_EQ(walk.trace.TraceText, CrLfLines({"Here we are in:  DelegateWork", "Here we are in:  StripMenuName",
                                             "Here we are in:  HtmlHeader", "Here we are in:  StripMenuName",
                                             "Here we are in:  HtmlTrailer"}));
}

}  // namespace
}  // namespace pravel
