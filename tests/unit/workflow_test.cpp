// The workflow on real files with a recording host: the ten commands, the
// guards, captions, status and flags of the four steps, and the turns only
// the window can take (a click during a command, text edited or a file
// changed between steps, memory running out, a page that cannot be
// written). What files a build writes is in the golden cases.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "app/ButtonBar.h"
#include "app/Workflow.h"
#include "support/FailingAllocation.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::FileExists;
using test::ProcessEnded;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

Text Guard(const char* state) {
  return "Please, first do the following steps successfully:\r\n"
         "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  \r\n"
         "THEN  Save/Show.\r\n" +
         Text(state);
}

const Text kDefinition = CrLfLines({"menuname=<Veg>", "linkname=<Kale>", "linkaddress=<kale.html>", "menuname=<Fruit>",
                                    "linkname=<Pears>", "linkaddress=<pears.html>"});
const Text kNormalised = CrLfLines({" ", "menuname=<Fruit>", " ", "linkname=<Pears>", "linkaddress=<pears.html>", " ",
                                    " ", "menuname=<Veg>", " ", "linkname=<Kale>", "linkaddress=<kale.html>", " "});

struct Fixture {
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, dir.Path().string()};

  Fixture() {
    WriteFile("Pravel.ini", CrLfLines({"<!--qx html hdr-->", "<div style=\"x\">", "<!--/qx html hdr-->",
                                       "<!--qx form template1-->", "<td><form name=\"xxx\">",
                                       "<!--/qx form template1-->", "<!--qx single form entry-->", "<a>zzz</a>"}));
  }
  // Through the open dialog, as a user would.
  void Open(const Text& content, const Text& name = "menus.txt") {
    WriteFile(name, content);
    host.dialogAnswers.push_back(dir.File(name));
    wf.RunCommand("OpenInput");
  }
  void Run(std::initializer_list<const char*> commands) {
    for (const char* command : commands) wf.RunCommand(command);
  }
  std::vector<int> Flags() const { return {wf.emptyInput, wf.FileOpen, wf.FileValidated, wf.HtmlBuilt}; }
};

TEST(ButtonBar, ZonesCoverTheBarExceptTheirBoundaries) {
  // Each boundary from both sides; the margins outside the outlines count.
  const std::tuple<int, int, std::string_view> cases[] = {
      {500, 5, "SaveShowHtml"}, {464, 50, "BuildHtml"},  {355, 78, "BuildHtml"},  {354, 50, "ValidateInput"},
      {245, 50, "ValidateInput"}, {244, 50, "SaveAs"},   {134, 50, "SaveAs"},     {133, 50, ""},
      {132, 50, "OpenInput"},   {300, 79, ""},          {465, 80, "Exit"},       {464, 100, "Help"},
      {354, 100, "Columns"},    {245, 100, "Columns"},  {244, 100, "PasteLink"}, {133, 100, "PasteLink"},
      {132, 100, ""},           {131, 100, "PasteMenu"},
  };
  for (const auto& [x, y, command] : cases) EXPECT_EQ(CommandAt(x, y), command) << x << "," << y;
  EXPECT_EQ(HighlightedOutline("PasteMenu")->left, 25);
  for (std::string_view none : {"nuttin", "DoOpen", "SaveAsClick", "Columns"}) EXPECT_EQ(HighlightedOutline(none), nullptr);
}

TEST(Workflow, TheFourStepsMoveCaptionStatusAndFlags) {
  Fixture f;
  f.Open(kDefinition);
  EXPECT_EQ(f.host.caption, kCaptionStep2);
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  EXPECT_EQ(f.host.menuNameList, (std::vector<Text>{"~ GoTo MenuName", "<Fruit>", "<Veg>"}));
  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(f.host.caption, kCaptionStep3);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 0}));
  f.wf.RunCommand("BuildHtml");
  EXPECT_EQ(f.host.caption, kCaptionStep4);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 1}));
  EXPECT_EQ(f.host.pane.PaneText(), kNormalised);
  EXPECT_EQ(f.host.sortedList, f.wf.SortedList);
  f.host.messages.clear();
  f.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(f.host.caption, kCaptionDone);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(f.host.shownFiles, std::vector<Text>{"Pravel.Html"});
  EXPECT_EQ(f.host.LastMessage(),
            "The following files are newly created:\r\n Pravel.html \r\n Pravel.txt \r\n MenusOnly.txt \r\n\r\n"
            "Located Here: " + f.dir.Path().string());
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  // Step 4 again is refused; the same text can be validated again.
  f.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(f.host.LastMessage(), Guard("emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0"));
  f.wf.RunCommand("ValidateInput");
  EXPECT_EQ(f.wf.FileValidated, 1);
}

TEST(Workflow, AStepBeforeItsTurnIsRefusedWithTheStateAndStillWritesTheTrace) {
  for (const char* step : {"ValidateInput", "BuildHtml", "SaveShowHtml"}) {
    Fixture f;
    f.host.pane.PaneSetText(kDefinition);  // pasted, never opened
    f.wf.RunCommand(step);
    ASSERT_EQ(f.host.messages.size(), 1u) << step;
    EXPECT_EQ(f.host.messages[0].text, Guard("emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0"));
    EXPECT_EQ(f.host.caption, kCaptionStep1);
    EXPECT_EQ(ReadFile("PravelTrace.txt"), "") << step;
    EXPECT_TRUE(FileExists("PravelTrace.txt")) << step;
  }
  // A cancelled open moves the caption on and nothing else.
  Fixture f;
  f.wf.RunCommand("OpenInput");
  EXPECT_EQ(f.host.LastMessage(), "No File Selected!  Click on  [OpenInput]  again.");
  EXPECT_EQ(f.host.caption, kCaptionStep2);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 0, 0, 0}));
  // Columns and a release on a boundary run nothing.
  f.wf.RunCommand("Columns");
  f.wf.DispatchClick(300, 79);
  EXPECT_EQ(f.wf.CurrentCommand, "Columns");
  EXPECT_EQ(f.host.messages.size(), 1u);
  EXPECT_FALSE(FileExists("PravelTrace.txt"));
  EXPECT_THROW(f.wf.RunCommand("Exit"), ProcessEnded);
}

TEST(Workflow, BuildValidatesTextEditedSinceStepTwoAgain) {
  Fixture f;
  f.Open(kDefinition);
  f.wf.RunCommand("ValidateInput");
  f.host.pane.PaneSetText("menuname=<Veg>\r\nlinkname=<Kale>\r\n");
  f.host.messages.clear();
  f.wf.RunCommand("BuildHtml");
  ASSERT_EQ(f.host.messages.size(), 2u);
  EXPECT_NE(f.host.messages[0].text.find("there are 0  LinkAddresses coded and 1 LinkNames"), Text::npos);
  EXPECT_EQ(f.host.messages[1].text, Guard("emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0"));
  EXPECT_EQ(f.host.caption, kCaptionStep3);
  EXPECT_FALSE(FileExists("ShowDraft.Html"));
}

// A host whose message pump delivers a click that was waiting in the queue.
class ClickDuringPumpHost : public RecordingHost {
 public:
  Workflow* wf = nullptr;
  void PumpMessages() override {
    if (wf->CommandRunning()) wf->DispatchClick(500, 5);  // Save/Show
  }
};

TEST(Workflow, AClickArrivingWhileACommandRunsIsDropped) {
  TempDir dir;
  ClickDuringPumpHost host;
  Workflow wf(host, dir.Path().string());
  host.wf = &wf;
  wf.DispatchClick(300, 5);  // Validate Input
  EXPECT_EQ(wf.CurrentCommand, "ValidateInput");
  EXPECT_EQ(host.messages.size(), 1u);  // Validate Input's own refusal only
}

TEST(Workflow, TheDefinitionChangingBetweenOpenAndBuild) {
  const Text path = "menus.txt";
  const std::pair<const char*, std::function<void()>> cases[] = {
      // The pane still holds the text: the build writes it where it was.
      {"", [&] { fs::remove(path); }},
      {"it is a folder", [&] { fs::remove(path), fs::create_directory(path); }},
      {"it is read-only", [&] { fs::permissions(path, fs::perms::owner_read); }},
  };
  for (const auto& [reason, change] : cases) {
    Fixture f;
    f.Open(kDefinition);
    f.wf.RunCommand("ValidateInput");
    change();
    f.host.messages.clear();
    f.wf.RunCommand("BuildHtml");
    EXPECT_EQ(f.wf.HtmlBuilt, 1);
    EXPECT_EQ(f.host.pane.PaneText(), kNormalised);
    if (*reason == '\0') {
      EXPECT_EQ(ReadFile(path), kNormalised);
      continue;
    }
    EXPECT_EQ(f.host.LastMessage(), "Could not write the input file " + f.dir.File(path) + ": " + reason +
                                           ".\r\nThe file keeps its previous content; the rebuilt definition is in "
                                           "the input pane and in ValidatedInput.txt.");
    EXPECT_FALSE(FileExists(path + ".bak"));
  }
}

TEST(Workflow, BuildRefusesADefinitionThatBecameOneOfItsOwnFiles) {
  // Opened from another folder, "Pravel.ini" is a definition like any
  // other; once a dialog has made its folder current, the build would
  // write its records over it and read it back as the page template.
  Fixture f;
  fs::create_directory("sub");
  f.Open(kDefinition, "sub/Pravel.ini");
  f.wf.RunCommand("ValidateInput");
  fs::current_path("sub");
  f.wf.RunCommand("BuildHtml");
  EXPECT_EQ(f.host.LastMessage(), "Cannot build from the input file " + f.dir.File("sub/Pravel.ini") +
                                      ": Pravel.ini is a file Pravel writes or reads as a template; save the "
                                      "definition under another name.");
  EXPECT_EQ(ReadFile("Pravel.ini"), kDefinition);
  EXPECT_FALSE(FileExists("Sorted_Pravel.txt"));
}

TEST(Workflow, APageThatCannotBeWrittenIsNotClaimedAndARetryWorks) {
  Fixture f;
  f.Open(kDefinition);
  f.Run({"ValidateInput", "BuildHtml"});
  for (const char* blocked : {"MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    fs::create_directory(blocked);
    f.wf.RunCommand("SaveShowHtml");
    EXPECT_EQ(f.host.LastMessage(), Text("Could not write ") + blocked +
                                        ": it is a folder.\r\nThe page is not complete. Run Save/Show Html again "
                                        "once the file can be written.");
    EXPECT_TRUE(f.host.shownFiles.empty());
    EXPECT_EQ(f.host.caption, kCaptionStep4);
    fs::remove(blocked);
  }
  f.wf.RunCommand("SaveShowHtml");
  EXPECT_EQ(f.host.caption, kCaptionDone);
  EXPECT_NE(ReadFile("Pravel.html").find("<td><form name=\"Veg\">"), Text::npos);
  EXPECT_EQ(ReadFile("Pravel.html"), ReadFile("Pravel.txt"));
}

TEST(Workflow, RunningOutOfMemoryAnywhereInAStepEndsWithCodeThree) {
  for (const char* step : {"OpenInput", "ValidateInput", "BuildHtml", "SaveShowHtml"}) {
    int ended = 0;
    for (long allocation = 0;; ++allocation) {
      Fixture f;
      WriteFile("menus.txt", kDefinition);
      const std::vector<const char*> before = {"OpenInput", "ValidateInput", "BuildHtml"};
      for (const char* earlier : before) {
        if (Text(earlier) == step) break;
        if (Text(earlier) == "OpenInput") f.host.dialogAnswers.push_back(f.dir.File("menus.txt"));
        f.wf.RunCommand(earlier);
      }
      if (Text(step) == "OpenInput") f.host.dialogAnswers.push_back(f.dir.File("menus.txt"));
      int exitCode = -1;
      test::FailAllocation(allocation);
      try {
        f.wf.RunCommand(step);
      } catch (const ProcessEnded& end) {
        exitCode = end.exitCode;
      }
      const bool failed = test::AllocationFailed();
      test::FailAllocation(-1);
      if (!failed) break;  // the step made fewer allocations than this
      // Only a sort's spare room may be refused without ending: it sorts
      // in place instead.
      if (exitCode != -1) {
        ASSERT_EQ(exitCode, 3) << step << " allocation " << allocation;
        ++ended;
        EXPECT_EQ(f.host.LastMessage(), "Insufficient memory");
      }
      EXPECT_FALSE(f.wf.CommandRunning());
      const Text now = ReadFile("menus.txt");
      if (now != kDefinition) {
        EXPECT_EQ(now, kNormalised);
        EXPECT_EQ(ReadFile("menus.txt.bak"), kDefinition);
      }
      for (const auto& entry : fs::directory_iterator(".")) {
        EXPECT_EQ(entry.path().string().find(".pravel-tmp-"), Text::npos) << "left behind: " << entry.path();
      }
    }
    EXPECT_GT(ended, 10) << step;
  }
}

TEST(EditorTools, FindStepsThroughEveryMatchThenAsksToWrap) {
  Fixture f;
  f.wf.RunCommand("Help");
  EXPECT_EQ(f.host.shownFiles, std::vector<Text>{"Pravel_Help.url"});
  f.wf.FindLink();
  EXPECT_EQ(f.host.LastMessage(), "No text to search");

  f.host.pane.PaneSetText("menuname=<Fruit>\r\nlinkname=<FRUIT>\r\nlinkname=<fruits>");
  f.host.findField = "<fruit";
  for (std::int64_t at : {9, 27, 45}) {
    f.wf.FindLink();
    EXPECT_EQ(f.host.pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>(at, at + 6)));
  }
  f.host.questionAnswers = {false, true};
  f.wf.FindLink();
  EXPECT_EQ(f.host.questions.back(), "\"<fruit\" not found, continue from beginning?    ");
  EXPECT_EQ(f.wf.FindStart, 51);  // No keeps the start
  f.wf.FindLink();
  EXPECT_EQ(f.wf.FindStart, 0);  // Yes wraps, without searching again
  // The go-to list searches its entry from there.
  f.wf.GoToMenuName(2, "<FRUIT>");
  EXPECT_EQ(f.host.findField, "<FRUIT>");
  EXPECT_EQ(f.host.pane.PaneSelection().first, 9);
}

TEST(EditorTools, PasteInsertsTheTemplateAtTheCaretOrOverTheSelection) {
  Fixture f;
  f.host.pane.PaneSetText("one word two");
  f.host.pane.PaneSelect(4, 8);
  f.wf.RunCommand("PasteLink");
  EXPECT_EQ(f.host.pane.PaneText(), "one \r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n two");
  f.wf.RunCommand("PasteMenu");
  EXPECT_EQ(f.host.clipboard, "\r\nmenuname=<>\r\n\r\n");  // Ctrl+V pastes it again
  EXPECT_NE(f.host.pane.PaneText().find("\r\n\r\n\r\nmenuname=<>\r\n\r\n two"), Text::npos);
}

TEST(EditorTools, SaveAsWritesThePaneAndAsksBeforeReplacingTheFileItNamed) {
  Fixture f;
  f.host.pane.PaneSetText("new");
  WriteFile("page.html.txt", "old");
  WriteFile("HdrOnly.txt", "<html>");
  const std::tuple<Text, std::optional<bool>, const char*, Text> cases[] = {
      {"notes", std::nullopt, "notes.txt", "new"},
      {"page.html", false, "page.html.txt", "old"},  // ".txt" added: the dialog asked of another name
      {"page.html", true, "page.html.txt", "new"},
      {"HdrOnly", std::nullopt, "HdrOnly.txt", "<html>"},  // a template the next build would read
  };
  for (const auto& [typed, answer, written, content] : cases) {
    f.host.dialogAnswers.push_back(f.dir.File(typed));
    if (answer) f.host.questionAnswers.push_back(*answer);
    f.wf.RunCommand("SaveAs");
    EXPECT_EQ(ReadFile(written), content) << typed;
  }
  EXPECT_EQ(f.host.questions.size(), 2u);
  EXPECT_EQ(f.host.LastMessage(), "Could not write " + f.dir.File("HdrOnly.txt") +
                                      ": HdrOnly.txt is a file Pravel writes or reads as a template; save the "
                                      "definition under another name.\r\nThe text is still in the pane.");
}

}  // namespace
}  // namespace pravel
