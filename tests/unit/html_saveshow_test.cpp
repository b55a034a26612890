// Steps 3 and 4 through the workflow: the draft page, the menu lines, the
// final page and the files they leave behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Workflow.h"
#include "support/RecordingHost.h"
#include "unit/html_worked_example.h"

namespace pravel {
namespace {

namespace fs = std::filesystem;
using namespace example;
using test::CrLfLines;
using test::ReadFile;

struct Road {
  test::TempDir dir;
  test::RecordingHost host;
  Workflow wf{host, "C:\\Where\\It\\Started"};

  void Build(const Text& definition = kDefinition) {
    test::WriteFile("Pravel_Input.txt", definition);
    host.dialogAnswers.push_back(dir.File("Pravel_Input.txt"));
    for (const char* command : {"OpenInput", "ValidateInput", "BuildHtml"}) wf.RunCommand(command);
  }
};

TEST(SaveShow, WorkedExampleByteForByte) {
  for (const Text columns : {"4", "1"}) {
    Road road;
    WriteTemplates(".");
    road.host.columns = columns;
    road.Build();
    EXPECT_EQ(ReadFile("ShowDraft.Html"), Lines(DraftLines()));
    EXPECT_EQ(road.host.messages.back().text,
              "No spaces allowed in MenuName: \r\nMenuName changed from   Fruit Shop   to   Fruit_Shop");
    road.host.messages.clear();

    road.wf.RunCommand("SaveShowHtml");
    const Text page = FinalPage(columns == "4" ? kCellEnd : kRowEnd);
    EXPECT_EQ(ReadFile("MenusOnly.txt"), Lines(kMenuLines));
    EXPECT_EQ(ReadFile("Pravel.html"), page) << columns;
    EXPECT_EQ(ReadFile("Pravel.txt"), page) << columns;
    EXPECT_EQ(ListJoin(road.wf.HtmlLines), page);
    EXPECT_EQ(road.host.shownFiles, std::vector<Text>{"Pravel.Html"});
    ASSERT_EQ(road.host.MessageTexts(),
              std::vector<Text>{"The following files are newly created:\r\n Pravel.html \r\n Pravel.txt \r\n"
                                " MenusOnly.txt \r\n\r\nLocated Here: C:\\Where\\It\\Started"});
    EXPECT_EQ(road.host.caption, kCaptionDone);
    EXPECT_EQ(road.wf.StateText(), "emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
    EXPECT_EQ(road.wf.HtmlHdrDoneCount, 0);
  }
}

TEST(SaveShow, NineFormsInRowsOfFourFourAndOne) {
  Road road;
  WriteTemplates(".");
  Text definition;
  for (char menu = 'A'; menu <= 'I'; ++menu) {
    definition += CrLfLines({"menuname=<" + Text(1, menu) + ">", "linkname=<x>", "linkaddress=<x.html>"});
  }
  road.Build(definition);
  road.wf.RunCommand("SaveShowHtml");
  Text separators;  // S row start, C cell end, R row end, before each form
  const auto& lines = road.wf.HtmlLines.Items();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!lines[i].starts_with("<td><form")) continue;
    separators += lines[i - 1] == kCellEnd ? 'C' : lines[i - 1] == kRowEnd ? 'R' : 'S';
  }
  EXPECT_EQ(separators, "SCCCRCCCR");
}

TEST(SaveShow, MissingTemplatesReadAsEmptyAndAreLeftBehindEmpty) {
  Road road;
  road.Build();
  // No template: an empty entry line per link, no header, no form lines.
  EXPECT_EQ(ReadFile("ShowDraft.Html"), CrLfLines({"", "", "</select>", "", kClosingLine}));
  road.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(road.host.caption, kCaptionDone);
  EXPECT_EQ(ReadFile("MenusOnly.txt"), "");  // no "<div style=" line in the draft
  EXPECT_EQ(ReadFile("Pravel.html"), "\r\n\r\n");
  for (const char* name : {"Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"}) {
    EXPECT_TRUE(test::FileExists(name)) << name;
    EXPECT_EQ(ReadFile(name), "") << name;
  }
}

TEST(SaveShow, BuildingTwiceGivesTheHeaderOnce) {
  Road road;
  WriteTemplates(".");
  road.Build();
  road.wf.RunCommand("BuildHtml");
  EXPECT_EQ(road.wf.HtmlLines.Items(), DraftLines());
}

TEST(SaveShow, MarkersInAnyCaseAmongOtherTextPlaceholdersInCapitalsKept) {
  Road road;
  WriteTemplates(".");
  test::WriteFile("Pravel.ini", CrLfLines({"<!-- page -->  <!--QX HTML HDR-->  header follows", "<div style=\"a\">",
                                           "x <!--/Qx Html Hdr--> x", "<!--Qx Form Template1-->",
                                           "<td><form name=\"xxx\" title=\"XXX\">", "<!--/QX FORM TEMPLATE1-->",
                                           "<!--qx SINGLE form entry--> the entry follows",
                                           "<option value=\"yyy\">zzz / ZZZ / YYY</option>"}));
  road.Build(CrLfLines({"menuname=<M>", "linkname=<n>", "linkaddress=<a>"}));
  EXPECT_EQ(road.wf.HtmlLines.Items(),
            (std::vector<Text>{"<div style=\"a\">", "<td><form name=\"M\" title=\"XXX\">",
                               "<option value=\"a\">n / ZZZ / YYY</option>", kClosingLine}));
}

TEST(SaveShow, TraceEntriesWhenTracing) {
  Road road;
  WriteTemplates(".");
  road.wf.trace.TraceEnabled = 1;
  road.Build();
  road.wf.RunCommand("SaveShowHtml");
  const Text trace = road.wf.trace.TraceText;
  const Text mine = trace.substr(trace.find("Here we are in:  DelegateWork"));
  Text expected;
  for (const char* suffix : {" DelegateWork", " StripMenuName", " HtmlHeader", " StripMenuName", " HtmlTrailer",
                             " SaveShowHtml", " Create_MenusOnly", " Create_MenusOnly  NOT  </div>",
                             " RecreateAll_from", " BuildTable", " StartNewRow", " StartNewRow",
                             "Leaving  BuildTable"}) {
    AppendLine(expected, Text("Here we are in: ") + suffix);
  }
  EXPECT_EQ(mine, expected);
}

// A file that cannot be written is reported with its reason; the completion
// message and the show request do not come, and the draft page stays so that
// step 4 can run again.
TEST(SaveShow, WriteFailureIsReportedAndNotClaimed) {
  for (const char* blocked : {"MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    Road road;
    WriteTemplates(".");
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
    EXPECT_EQ(road.wf.HtmlLines.Items(), DraftLines()) << blocked;

    fs::remove(blocked);
    road.wf.RunCommand("SaveShowHtml");
    EXPECT_EQ(road.host.caption, kCaptionDone) << blocked;
    EXPECT_EQ(ReadFile("Pravel.txt"), FinalPage(kCellEnd)) << blocked;
  }
}

}  // namespace
}  // namespace pravel
