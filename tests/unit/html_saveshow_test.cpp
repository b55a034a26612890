// Steps 3 and 4 end to end through the workflow: the draft page, the menu
// lines, the final page and the files they leave behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Workflow.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::FileExists;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

const Text kPageTemplate = CrLfLines({
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

// The worked example, written out of order: the build regroups it.
const Text kDefinition = CrLfLines({
    "menuname=<Tools>",
    "linkname=<Saw>",
    "linkaddress=<saw.html>",
    "",
    "menuname=<Fruit Shop>",
    "linkname=<Pears>",
    "linkaddress=<pears.html>",
    "linkname=<Apples>",
    "linkaddress=<apples.html>",
});

const std::vector<Text> kDraft = {
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
};

Text Joined(const std::vector<Text>& lines, std::size_t from = 0, std::size_t to = std::string::npos) {
  Text text;
  for (std::size_t i = from; i < lines.size() && i < to; ++i) AppendLine(text, lines[i]);
  return text;
}

Text FinalPage(const Text& separator) {
  return CrLfLines({"<html><body>", "<div style=\"text-align:left\">", "<table>", "<tr style=\"text-align:center\">"}) +
         Joined(kDraft, 2, 8) + CrLfLines({separator}) + Joined(kDraft, 8, 12) +
         CrLfLines({"</select></td></tr></table></div></body></html>"});
}

struct Road {
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, "C:\\Where\\It\\Started"};

  void WriteTemplates() {
    WriteFile("Pravel.ini", kPageTemplate);
    WriteFile("HdrOnly.txt", CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}));
    WriteFile("TableHdr_template.txt", CrLfLines({"<table>", "<!-- only the first line counts -->"}));
    WriteFile("TrlOnly.txt", "</select></td></tr></table></div></body></html>");
  }
  void Open(const Text& definition) {
    WriteFile("Pravel_Input.txt", definition);
    host.dialogAnswers.push_back(dir.File("Pravel_Input.txt"));
    wf.RunCommand("OpenInput");
  }
  void Build() {
    wf.RunCommand("ValidateInput");
    wf.RunCommand("BuildHtml");
  }
};

TEST(SaveShow, WorkedExampleByteForByte) {
  for (const char* columns : {"4", "1"}) {
    Road road;
    road.WriteTemplates();
    road.host.columns = columns;
    road.Open(kDefinition);
    road.Build();
    EXPECT_EQ(ReadFile("ShowDraft.Html"), Joined(kDraft));
    EXPECT_EQ(road.host.caption, kCaptionStep4);
    road.host.messages.clear();

    road.wf.RunCommand("SaveShowHtml");
    const Text page = FinalPage(Text(columns) == "4" ? "</td>" : "</td></tr><br><tr style=\"text-align:center\">");
    EXPECT_EQ(ReadFile("MenusOnly.txt"), Joined(kDraft, 2, 12)) << columns;
    EXPECT_EQ(ReadFile("Pravel.html"), page) << columns;
    EXPECT_EQ(ReadFile("Pravel.txt"), page) << columns;
    EXPECT_EQ(ListJoin(road.wf.HtmlLines), page);
    EXPECT_EQ(ReadFile("PravelTrace.txt"), "");
    EXPECT_EQ(road.host.shownFiles, std::vector<Text>{"Pravel.Html"});
    ASSERT_EQ(road.host.messages.size(), 1u);
    EXPECT_EQ(road.host.messages[0].text,
              "The following files are newly created:\r\n Pravel.html \r\n Pravel.txt \r\n MenusOnly.txt \r\n\r\n"
              "Located Here: C:\\Where\\It\\Started");
    EXPECT_EQ(road.host.caption, kCaptionDone);
    EXPECT_EQ(road.wf.StateText(), "emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
    EXPECT_EQ(road.wf.HtmlHdrDoneCount, 0);
    EXPECT_EQ(ListCount(road.wf.lb8), 0u);
  }
}

TEST(SaveShow, NineFormsInRowsOfFourFourAndOne) {
  Road road;
  road.WriteTemplates();
  Text definition;
  for (char menu = 'A'; menu <= 'I'; ++menu) {
    definition += CrLfLines({"menuname=<" + Text(1, menu) + ">", "linkname=<x>", "linkaddress=<x.html>"});
  }
  road.Open(definition);
  road.Build();
  road.wf.RunCommand("SaveShowHtml");
  Text separators;
  const auto& lines = road.wf.HtmlLines.Items();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].starts_with("<td><form")) separators += lines[i - 1] == "</td>" ? 'C' : 'R';
  }
  EXPECT_EQ(separators, "RCCCRCCCR");  // the first R is the row start
  EXPECT_EQ(lines[3], "<tr style=\"text-align:center\">");
}

TEST(SaveShow, MissingTemplatesReadAsEmptyAndAreLeftBehindEmpty) {
  Road road;
  road.Open(kDefinition);
  road.Build();
  // No template: an empty entry line per link, no header, no form lines.
  EXPECT_EQ(ReadFile("ShowDraft.Html"), CrLfLines({"", "", "</select>", "", kDraft.back()}));
  road.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(road.host.caption, kCaptionDone);
  EXPECT_EQ(ReadFile("MenusOnly.txt"), "");  // the draft has no "<div style=" line
  EXPECT_EQ(ReadFile("Pravel.html"), "\r\n\r\n");
  for (const char* name : {"Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"}) {
    EXPECT_TRUE(FileExists(name)) << name;
    EXPECT_EQ(ReadFile(name), "") << name;
  }
}

TEST(SaveShow, BuildingTwiceGivesTheHeaderOnce) {
  Road road;
  road.WriteTemplates();
  road.Open(kDefinition);
  road.Build();
  road.wf.RunCommand("BuildHtml");
  EXPECT_EQ(road.wf.HtmlLines.Items(), kDraft);
  EXPECT_EQ(ReadFile("ShowDraft.Html"), Joined(kDraft));
}

TEST(SaveShow, TemplateMarkersInCapitalsAndAmongOtherText) {
  Road road;
  road.WriteTemplates();
  WriteFile("Pravel.ini", CrLfLines({
                              "<!-- page -->  <!--QX HTML HDR-->  header follows",
                              "<div style=\"a\">",
                              "x <!--/Qx Html Hdr--> x",
                              "<!--Qx Form Template1-->",
                              "<td><form name=\"xxx\" title=\"XXX\">",
                              "<!--/QX FORM TEMPLATE1-->",
                              "<!--qx SINGLE form entry--> the next line is the entry",
                              "<option value=\"yyy\">zzz / ZZZ / YYY</option>",
                          }));
  road.Open(CrLfLines({"menuname=<M>", "linkname=<n>", "linkaddress=<a>"}));
  road.Build();
  EXPECT_EQ(road.wf.HtmlLines.Items(),
            (std::vector<Text>{"<div style=\"a\">", "<td><form name=\"M\" title=\"XXX\">",
                               "<option value=\"a\">n / ZZZ / YYY</option>", kDraft.back()}));
}

// A file that cannot be written is reported with its reason; the completion
// message and the show request do not come, and the draft page stays so that
// step 4 can run again.
TEST(SaveShow, WriteFailureIsReportedAndNotClaimed) {
  for (const char* blocked : {"MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    Road road;
    road.WriteTemplates();
    road.Open(kDefinition);
    road.Build();
    road.host.messages.clear();
    fs::create_directory(blocked);

    road.wf.RunCommand("SaveShowHtml");
    ASSERT_EQ(road.host.messages.size(), 1u) << blocked;
    EXPECT_EQ(road.host.messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(road.host.messages[0].text.starts_with(Text("Could not write ") + blocked + ": ")) << blocked;
    EXPECT_TRUE(road.host.shownFiles.empty());
    EXPECT_EQ(road.host.caption, kCaptionStep4);
    EXPECT_EQ(road.wf.StateText(), "emptyInput_<>= 0  FileOpen= 1  FileValidated= 1  HtmlBuilt= 1");
    EXPECT_EQ(road.wf.HtmlLines.Items(), kDraft) << blocked;

    fs::remove(blocked);
    road.wf.RunCommand("SaveShowHtml");
    EXPECT_EQ(road.host.caption, kCaptionDone) << blocked;
    EXPECT_EQ(ReadFile("Pravel.txt"), FinalPage("</td>")) << blocked;
    EXPECT_EQ(road.host.shownFiles, std::vector<Text>{"Pravel.Html"});
  }
}

}  // namespace
}  // namespace pravel
