// The workflow: zones, the dispatcher, guards, captions, status line, trace
// file and the state transitions of the four steps, run without a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "app/ButtonBar.h"
#include "app/Workflow.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::FileExists;
using test::ProcessEnded;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

const char* const kGuardAtStart =
    "Please, first do the following steps successfully:\r\n"
    "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  \r\n"
    "THEN  Save/Show.\r\n"
    "emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0";

const char* const kDefinition =
    "menuname=<Veg>\r\n"
    "linkname=<Kale>\r\n"
    "linkaddress=<kale.html>\r\n"
    "menuname=<Fruit>\r\n"
    "linkname=<Pears>\r\n"
    "linkaddress=<pears.html>\r\n"
    "linkname=<Apples>\r\n"
    "linkaddress=<apples.html>\r\n";

struct Fixture {
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, dir.Path().string()};

  // Opens a definition file through the open dialog, as a user would.
  void Open(const Text& content, const Text& name = "menus.txt") {
    WriteFile(name, content);
    host.dialogAnswers.push_back(dir.File(name));
    wf.RunCommand("OpenInput");
  }
  std::vector<int> Flags() const { return {wf.emptyInput, wf.FileOpen, wf.FileValidated, wf.HtmlBuilt}; }
};

TEST(ButtonBar, ZonesCoverTheBarExceptTheirBoundaries) {
  struct Case {
    int x, y;
    std::string_view command;
  };
  const Case cases[] = {
      {500, 5, "SaveShowHtml"}, {465, 50, "SaveShowHtml"}, {464, 50, "BuildHtml"},  {355, 78, "BuildHtml"},
      {354, 50, "ValidateInput"}, {245, 50, "ValidateInput"}, {244, 50, "SaveAs"}, {134, 50, "SaveAs"},
      {133, 50, ""},             {132, 50, "OpenInput"},     {0, 0, "OpenInput"},  {300, 79, ""},
      {0, 79, ""},               {599, 79, ""},              {465, 80, "Exit"},    {599, 142, "Exit"},
      {464, 100, "Help"},        {355, 100, "Help"},         {354, 100, "Columns"}, {245, 100, "Columns"},
      {244, 100, "PasteLink"},   {133, 100, "PasteLink"},    {132, 100, ""},       {131, 100, "PasteMenu"},
      {0, 142, "PasteMenu"},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandAt(c.x, c.y), c.command) << c.x << "," << c.y;
}

TEST(ButtonBar, OnlyTheNineButtonsAreOutlinedInWhite) {
  for (std::string_view command : {"SaveShowHtml", "BuildHtml", "ValidateInput", "SaveAs", "OpenInput", "Exit",
                                    "Help", "PasteLink", "PasteMenu"}) {
    ASSERT_NE(HighlightedOutline(command), nullptr) << command;
    EXPECT_EQ(HighlightedOutline(command)->command, command);
  }
  for (std::string_view command : {"nuttin", "DoOpen", "SaveAsClick", "Columns", "pastemenu", ""}) {
    EXPECT_EQ(HighlightedOutline(command), nullptr) << command;
  }
}

TEST(Workflow, EachLaterStepIsRefusedAtStartUpAndWritesAnEmptyTrace) {
  for (const char* step : {"ValidateInput", "BuildHtml", "SaveShowHtml"}) {
    Fixture f;
    f.wf.RunCommand(step);
    EXPECT_EQ(f.host.MessageTexts(), std::vector<Text>{kGuardAtStart}) << step;
    EXPECT_EQ(f.host.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(f.host.caption, kCaptionStep1) << step;
    EXPECT_EQ(f.host.status, kStatusAtStart) << step;
    EXPECT_EQ(f.wf.CurrentCommand, step);
    ASSERT_TRUE(FileExists("PravelTrace.txt")) << step;
    EXPECT_EQ(ReadFile("PravelTrace.txt"), "") << step;
  }
}

TEST(Workflow, OtherCommandsNeverWriteTheTrace) {
  for (const char* command : {"OpenInput", "SaveAs", "PasteMenu", "PasteLink", "Help", "Columns"}) {
    Fixture f;
    f.wf.RunCommand(command);
    EXPECT_FALSE(FileExists("PravelTrace.txt")) << command;
  }
  Fixture f;
  EXPECT_THROW(f.wf.RunCommand("Exit"), ProcessEnded);
  EXPECT_FALSE(FileExists("PravelTrace.txt"));
}

TEST(Workflow, CommandsRepaintThenPumpThenRun) {
  Fixture f;
  f.wf.RunCommand("Help");
  EXPECT_EQ(f.host.calls, (std::vector<Text>{"RepaintButtonBar", "PumpMessages", "ShowFile: Pravel_Help.url"}));
  EXPECT_EQ(f.wf.CurrentCommand, "Help");

  // Columns only moves the outline: no pump, no routine.
  f.host.calls.clear();
  f.wf.RunCommand("Columns");
  EXPECT_EQ(f.host.calls, std::vector<Text>{"RepaintButtonBar"});
  EXPECT_EQ(f.wf.CurrentCommand, "Columns");

  // A release on a boundary runs nothing at all.
  f.host.calls.clear();
  f.wf.DispatchClick(300, 79);
  EXPECT_TRUE(f.host.calls.empty());
  EXPECT_EQ(f.wf.CurrentCommand, "Columns");
}

TEST(Workflow, ExitEndsTheProcessWithCodeZero) {
  Fixture f;
  try {
    f.wf.DispatchClick(500, 100);
    FAIL() << "Exit returned";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  EXPECT_EQ(f.wf.CurrentCommand, "Exit");
}

// A host whose message pump delivers a click that was waiting in the queue.
class ClickDuringPumpHost : public RecordingHost {
 public:
  Workflow* wf = nullptr;
  int x = 0, y = 0;
  void PumpMessages() override {
    RecordingHost::PumpMessages();
    if (wf && wf->CommandRunning()) wf->DispatchClick(x, y);
  }
};

TEST(Workflow, AClickArrivingWhileACommandRunsIsDropped) {
  TempDir dir;
  ClickDuringPumpHost host;
  Workflow wf(host, dir.Path().string());
  host.wf = &wf;
  host.x = 500;  // Save/Show, queued while Validate Input runs
  host.y = 5;
  wf.DispatchClick(300, 5);
  EXPECT_EQ(wf.CurrentCommand, "ValidateInput");
  EXPECT_EQ(host.messages.size(), 1u);  // only Validate Input's own guard
  EXPECT_FALSE(wf.CommandRunning());
}

// A host that runs out of memory when the open dialog is asked for.
class ExhaustedHost : public RecordingHost {
 public:
  std::optional<Text> ChooseFile(const FileDialog&) override { throw std::bad_alloc(); }
};

TEST(Workflow, OutOfMemoryShowsTheMessageAndEndsWithCodeThree) {
  TempDir dir;
  ExhaustedHost host;
  Workflow wf(host, dir.Path().string());
  try {
    wf.RunCommand("OpenInput");
    FAIL() << "the process did not end";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.exitCode, 3);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Insufficient memory");
  EXPECT_EQ(host.messages[0].kind, MessageKind::Fatal);
}

TEST(Workflow, TheFourStepsMoveCaptionStatusAndFlags) {
  Fixture f;
  WriteFile("Pravel.ini",
            "<!--qx html hdr-->\r\n<div style=\"x\">\r\n<!--/qx html hdr-->\r\n"
            "<!--qx form template1-->\r\n<td><form name=\"xxx\">\r\n<!--/qx form template1-->\r\n"
            "<!--qx single form entry-->\r\n<option value=\"yyy\">zzz</option>\r\n");

  f.Open(kDefinition);
  EXPECT_EQ(f.host.caption, kCaptionStep2);
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  EXPECT_EQ(f.host.pane.PaneText(), kDefinition);
  EXPECT_EQ(f.wf.InputPath, f.dir.File("menus.txt"));

  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(f.host.caption, kCaptionStep3);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 1  HtmlBuilt= 0");

  f.wf.RunCommand("BuildHtml");
  EXPECT_EQ(f.host.caption, kCaptionStep4);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 1}));
  EXPECT_EQ(ReadFile(kDraftFileName), ListJoin(f.wf.HtmlLines));
  EXPECT_TRUE(f.host.sortedListShown);

  f.host.messages.clear();
  f.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(f.host.caption, kCaptionDone);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(f.host.shownFiles, std::vector<Text>{"Pravel.Html"});
  ASSERT_FALSE(f.host.messages.empty());
  EXPECT_EQ(f.host.LastMessage(),
            "The following files are newly created:\r\n Pravel.html \r\n Pravel.txt \r\n MenusOnly.txt \r\n\r\n"
            "Located Here: " +
                f.dir.Path().string());
  EXPECT_EQ(ReadFile("Pravel.html"), ReadFile("Pravel.txt"));

  // Step 4 again is refused; the same text can be validated again.
  f.host.messages.clear();
  f.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(f.host.LastMessage(),
            "Please, first do the following steps successfully:\r\n"
            "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  \r\n"
            "THEN  Save/Show.\r\n"
            "emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(f.wf.FileValidated, 1);
}

TEST(Workflow, CancelledOpenStillAdvancesTheCaptionOnly) {
  Fixture f;
  f.wf.RunCommand("OpenInput");
  EXPECT_EQ(f.host.LastMessage(), "No File Selected!  Click on  [OpenInput]  again.");
  EXPECT_EQ(f.host.caption, kCaptionStep2);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0");
  EXPECT_EQ(f.host.menuNameList, std::vector<Text>{"~ GoTo MenuName"});
  EXPECT_EQ(f.wf.CurrentCommand, "DoOpen");

  // Text pasted into the pane cannot be validated before a file was opened.
  f.host.pane.PaneSetText(kDefinition);
  f.host.messages.clear();
  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(f.host.MessageTexts(), std::vector<Text>{kGuardAtStart});
}

TEST(Workflow, BuildRevalidatesTextEditedIntoAnInvalidOne) {
  Fixture f;
  f.Open(kDefinition);
  f.wf.RunCommand("ValidateInput");
  f.wf.HtmlLines = StringList();
  ListAdd(f.wf.HtmlLines, "stale");
  ListAdd(f.wf.lb8, "stale");
  f.host.pane.PaneSetText("menuname=<Veg>\r\nlinkname=<Kale>\r\n");
  f.host.messages.clear();
  f.wf.RunCommand("BuildHtml");
  ASSERT_EQ(f.host.messages.size(), 2u);
  EXPECT_NE(f.host.messages[0].text.find("SO FAR: there are 0  LinkAddresses coded and 1 LinkNames coded."),
            Text::npos);
  EXPECT_EQ(f.host.messages[1].text.find("Please, first do the following steps successfully:"), 0u);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(ListCount(f.wf.HtmlLines), 0u);
  EXPECT_EQ(ListCount(f.wf.lb8), 0u);
  EXPECT_EQ(f.host.caption, kCaptionStep3);
  EXPECT_FALSE(FileExists(kDraftFileName));
}

TEST(Workflow, BuildRefusesADefinitionThatBecameOneOfItsOwnFiles) {
  // Opened from another folder, "Pravel.ini" is a definition like any
  // other; once a dialog has made its folder current, the build would
  // write its records over it and read it back as the page template.
  Fixture f;
  std::filesystem::create_directory("sub");
  f.Open(kDefinition, "sub/Pravel.ini");
  ASSERT_EQ(f.wf.FileOpen, 1);
  f.wf.RunCommand("ValidateInput");
  std::filesystem::current_path("sub");
  f.host.messages.clear();
  f.wf.RunCommand("BuildHtml");
  EXPECT_EQ(f.host.LastMessage(), "Cannot build from the input file " + f.dir.File("sub/Pravel.ini") +
                                      ": Pravel.ini is a file Pravel writes or reads as a template; save the "
                                      "definition under another name.");
  EXPECT_EQ(f.wf.HtmlBuilt, 0);
  EXPECT_EQ(ReadFile("Pravel.ini"), kDefinition);
  EXPECT_FALSE(FileExists("Sorted_Pravel.txt"));
}

TEST(Trace, LinesCarryThePrefixAndAreEmptiedByOpen) {
  Fixture f;
  f.wf.trace.TraceEnabled = 1;
  f.wf.RunCommand("BuildHtml");
  EXPECT_EQ(ReadFile("PravelTrace.txt"), "Here we are in:  BuildHtml\r\n");

  f.Open(kDefinition);
  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(ReadFile("PravelTrace.txt"), "");

  TraceLog log;
  log.TraceEnabled = 1;
  log.Trace("StripAndBuild");
  log.Trace("Leaving  BuildTable");
  EXPECT_EQ(log.TraceText, "Here we are in: StripAndBuild\r\nHere we are in: Leaving  BuildTable\r\n");
  TraceLog off;
  off.Trace(" BuildHtml");
  EXPECT_EQ(off.TraceText, "");
}

}  // namespace
}  // namespace pravel
