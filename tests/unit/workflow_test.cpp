// The workflow on real files with a recording host: the ten commands, the
// guards, captions, status and flags of the four steps, and the turns only
// the window can take (a click during a command, text edited or a file
// changed between steps, memory running out, a page that cannot be
// written). What files a build writes is in the golden cases.
#include "app/Workflow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/FailingAllocation.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

namespace fs = std::filesystem;
using namespace test;

Text Guard(const char* state) {
  return "Please, first do the following steps successfully:\r\n1) Open Input_File,  2) Validate Input_File,  3) Build "
         "Html,  \r\nTHEN  Save/Show.\r\nemptyInput_<>= 0  FileOpen= " +
         Text(state);
}

const Text kDefinition = CrLfLines({"menuname=<Veg>", "linkname=<Kale>", "linkaddress=<kale.html>", "menuname=<Fruit>",
                                    "linkname=<Pears>", "linkaddress=<pears.html>"});
const Text kNormalised = CrLfLines({" ", "menuname=<Fruit>", " ", "linkname=<Pears>", "linkaddress=<pears.html>", " ",
                                    " ", "menuname=<Veg>", " ", "linkname=<Kale>", "linkaddress=<kale.html>", " "});

struct Fixture {
  TempDir dir;
  RecordingHost host;
  Workflow wf{host};

  Fixture() {
    WriteFile("Pravel.ini", CrLfLines({"<!--qx html hdr-->", "<div style=\"x\">", "<!--/qx html hdr-->",
                                       "<!--qx form template1-->", "<td><form name=\"xxx\">",
                                       "<!--/qx form template1-->", "<!--qx single form entry-->", "<a>zzz</a>"}));
  }
  // The definition opened through the dialog, then the commands.
  void Open(const Text& content, const std::vector<Command>& commands = {}, const Text& name = "menus.txt") {
    WriteFile(name, content);
    host.dialogAnswers.push_back(dir.File(name));
    wf.RunCommand(Command::OpenInput);
    for (Command command : commands) wf.RunCommand(command);
  }
  std::vector<int> Flags() const {
    const StepState& state = wf.State();
    return {state.emptyInput, state.FileOpen, state.FileValidated, state.HtmlBuilt};
  }
};

TEST(ButtonBar, ZonesCoverTheBarExceptTheirBoundaries) {
  // Each boundary from both sides; the margins outside the outlines count.
  // clang-format off
  const std::tuple<int, int, std::string_view> cases[] = {
      {500, 5, "SaveShowHtml"},   {464, 50, "BuildHtml"},  {355, 78, "BuildHtml"},  {354, 50, "ValidateInput"},
      {245, 50, "ValidateInput"}, {244, 50, "SaveAs"},     {134, 50, "SaveAs"},     {133, 50, ""},
      {132, 50, "OpenInput"},     {300, 79, ""},           {465, 80, "Exit"},       {464, 100, "Help"},
      {354, 100, "Columns"},      {245, 100, "Columns"},   {244, 100, "PasteLink"}, {133, 100, "PasteLink"},
      {132, 100, ""},             {131, 100, "PasteMenu"}};
  // clang-format on
  for (const auto& [x, y, command] : cases) {
    const std::optional<Command> hit = CommandAt(x, y);
    EXPECT_EQ(hit ? InfoOf(*hit).name : std::string_view(), command) << x << "," << y;
  }
  for (std::string_view none : {"nuttin", "DoOpen", "SaveAsClick", "Columns"})
    EXPECT_EQ(HighlightedCommand(none), nullptr);
}

TEST(Workflow, TheFourStepsMoveCaptionStatusAndFlags) {
  Fixture f;
  f.Open(kDefinition);
  EXPECT_EQ(f.host.Caption(), "Pravels   -step 2  = Validate Input");  // the captions as the user reads them
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  EXPECT_EQ(f.host.menuNameList, (std::vector<Text>{"~ GoTo MenuName", "<Veg>", "<Fruit>"}));
  const std::tuple<Command, const char*, std::vector<int>> steps[] = {
      {Command::ValidateInput, "Pravels   -step 3 = Build Html", {0, 1, 1, 0}},
      {Command::BuildHtml, "Pravels   -step 4 =  Save/Show Html", {0, 1, 1, 1}},
      {Command::SaveShowHtml, "Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.", {0, 1, 0, 0}}};
  for (const auto& [step, caption, flags] : steps) {
    f.wf.RunCommand(step);
    EXPECT_EQ(f.host.Caption(), caption);
    EXPECT_EQ(f.Flags(), flags) << InfoOf(step).name;
  }
  EXPECT_EQ(f.host.sortedList, StoredLines(kNormalised));
  // The go-to list follows the rewritten pane.
  EXPECT_EQ(f.host.menuNameList, (std::vector<Text>{"~ GoTo MenuName", "<Fruit>", "<Veg>"}));
  EXPECT_EQ(f.host.shownFiles, std::vector<Text>{f.dir.File("Pravel.Html")});
  EXPECT_EQ(f.host.status, "Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0");
  // Step 4 again is refused; the same text can be validated again.
  f.wf.RunCommand(Command::SaveShowHtml);
  EXPECT_EQ(f.host.LastMessage(), Guard("1  FileValidated= 0  HtmlBuilt= 0"));
  f.wf.RunCommand(Command::ValidateInput);
  EXPECT_EQ(f.wf.State().FileValidated, 1);
}

TEST(Workflow, AStepBeforeItsTurnIsRefusedAndStillWritesTheTrace) {
  for (Command step : {Command::ValidateInput, Command::BuildHtml, Command::SaveShowHtml}) {
    Fixture f;
    f.host.InputPane().PaneSetText(kDefinition);  // pasted, never opened
    f.wf.RunCommand(step);
    EXPECT_EQ(f.host.messages.size(), 1u) << InfoOf(step).name;
    EXPECT_EQ(f.host.LastMessage(), Guard("0  FileValidated= 0  HtmlBuilt= 0"));
    EXPECT_EQ(f.host.Caption(), "") << "the caption moved";
    EXPECT_TRUE(fs::exists("PravelTrace.txt") && ReadFile("PravelTrace.txt").empty()) << InfoOf(step).name;
  }
  // A cancelled open moves the caption on and nothing else.
  Fixture f;
  f.wf.RunCommand(Command::OpenInput);
  EXPECT_EQ(f.host.LastMessage(), "No File Selected!  Click on  [OpenInput]  again.");
  EXPECT_EQ(f.host.Caption(), kCaptionStep2);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_FALSE(fs::exists("PravelTrace.txt"));
}

TEST(Workflow, BuildValidatesTextEditedSinceStepTwoAgain) {
  Fixture f;
  f.Open(kDefinition, {Command::ValidateInput});
  f.host.InputPane().PaneSetText("menuname=<Veg>\r\nlinkname=<Kale>\r\n");
  f.host.messages.clear();
  f.wf.RunCommand(Command::BuildHtml);
  ASSERT_EQ(f.host.messages.size(), 2u);
  EXPECT_NE(f.host.messages[0].find("there are 0  LinkAddresses coded and 1 LinkNames"), Text::npos);
  EXPECT_EQ(f.host.messages[1], Guard("1  FileValidated= 0  HtmlBuilt= 0"));
  EXPECT_EQ(f.host.Caption(), kCaptionStep3);
  EXPECT_FALSE(fs::exists("ShowDraft.Html"));
}

// A host whose message pump delivers a click that was waiting in the queue.
struct ClickDuringPumpHost : RecordingHost {
  Workflow* wf = nullptr;
  void PumpMessages() override {
    if (wf->CommandRunning()) wf->DispatchClick(500, 5);  // Save/Show
  }
};

TEST(Workflow, AClickArrivingWhileACommandRunsIsDropped) {
  TempDir dir;
  ClickDuringPumpHost host;
  Workflow wf(host);
  host.wf = &wf;
  wf.DispatchClick(300, 5);  // Validate Input
  EXPECT_EQ(wf.CurrentCommand(), "ValidateInput");
  EXPECT_EQ(host.messages.size(), 1u);  // Validate Input's own refusal only
}

TEST(Workflow, TheDefinitionChangingBetweenOpenAndBuild) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"", [] { fs::remove("menus.txt"); }},  // the build writes the pane's text where it was
      {"it is read-only", [] { fs::permissions("menus.txt", fs::perms::owner_read); }},
  };
  for (const auto& [reason, change] : cases) {
    Fixture f;
    f.Open(kDefinition, {Command::ValidateInput});
    change();
    f.wf.RunCommand(Command::BuildHtml);
    EXPECT_EQ(f.wf.State().HtmlBuilt, 1);
    EXPECT_EQ(f.host.InputPane().PaneText(), kNormalised);
    if (*reason == '\0') {
      EXPECT_EQ(ReadFile("menus.txt"), kNormalised);
    } else {
      EXPECT_EQ(f.host.LastMessage(), "Could not write the input file " + f.dir.File("menus.txt") + ": " + reason +
                                          ".\r\nThe file keeps its previous content; the rebuilt definition is in "
                                          "the input pane and in ValidatedInput.txt.");
    }
  }
}

TEST(Workflow, ADefinitionAnotherProgramWroteIsReplacedOnlyWhenTheUserSaysSo) {
  const Text edited = kDefinition + CrLfLines({"menuname=<Nuts>", "linkname=<Pecan>", "linkaddress=<pecan.html>"});
  const auto edit = [&] { WriteFile("menus.txt", edited); };
  // The change, the answer to the question (none: not asked), what the
  // file and its backup then hold.
  const std::tuple<std::function<void()>, std::optional<bool>, Text, Text> cases[] = {
      {[] {}, std::nullopt, kNormalised, kDefinition},  // as it was read: no question
      {edit, true, kNormalised, edited},                // replaced; the other program's text kept
      {edit, false, edited, ""},                        // nothing written
  };
  for (const auto& [change, answer, file, backup] : cases) {
    Fixture f;
    f.Open(kDefinition, {Command::ValidateInput});
    change();
    if (answer) f.host.questionAnswers.push_back(*answer);
    const Outcome built = f.wf.RunCommand(Command::BuildHtml);
    EXPECT_EQ(f.host.questions, answer ? std::vector<Text>{f.dir.File("menus.txt") +
                                                           " changed on disk since it was opened. Replace it with the "
                                                           "definition in the pane? (Its present text is kept in " +
                                                           f.dir.File("menus.txt") + ".bak.)"}
                                       : std::vector<Text>{});
    EXPECT_EQ(ReadFile("menus.txt"), file);
    EXPECT_EQ(ReadFile("menus.txt.bak"), backup);
    if (answer == false) {
      EXPECT_EQ(built.kind, Outcome::Refused);
      EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 0})) << "not as after step 2";
      EXPECT_EQ(f.host.Caption(), kCaptionStep3);
      EXPECT_EQ(f.host.InputPane().PaneText(), kDefinition);
      EXPECT_FALSE(fs::exists("Sorted_Pravel.txt"));
    }
  }
}

TEST(Workflow, TextInNoFileIsNeverThrownAwayWithoutAsking) {
  const Text discard = "The definition in the pane has changes that are not saved. Discard them?";
  Fixture f;
  f.Open(kDefinition);
  f.Open(kDefinition);  // nothing typed: nothing asked
  EXPECT_TRUE(f.host.questions.empty());
  const Text typed = kDefinition + CrLfLines({"a remark typed into the pane"});
  f.host.InputPane().PaneSetText(typed);
  f.host.questionAnswers = {false, false};
  f.wf.RunCommand(Command::Exit);  // No: the program goes on
  f.wf.RunCommand(Command::OpenInput);
  EXPECT_EQ(f.host.questions, (std::vector<Text>{discard, discard}));
  EXPECT_EQ(f.host.InputPane().PaneText(), typed);
  // A build that leaves the typed remark out keeps it in the backup, and
  // then the pane's text is in a file: Exit ends without a question.
  f.wf.RunCommand(Command::ValidateInput);
  f.wf.RunCommand(Command::BuildHtml);
  EXPECT_EQ(ReadFile("menus.txt.bak"), typed);
  EXPECT_NE(f.host.LastMessage().find("left out 1 line"), Text::npos) << f.host.LastMessage();
  EXPECT_THROW(f.wf.RunCommand(Command::Exit), ProcessEnded);
  EXPECT_EQ(f.host.questions.size(), 2u);
}

TEST(Workflow, ABookmarkFileOpensAsTheDefinitionSavedFromItAndMenusExportAsOne) {
  const Text bookmarks =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n<DT><H3>Veg</H3>\r\n<DL><p>\r\n"
      "<DT><A HREF=\"kale.html\">Kale</A>\r\n</DL><p>\r\n</DL>\r\n";
  Fixture f;
  WriteFile("marks.html", bookmarks);
  // The save dialog cancelled: nothing written, nothing opened.
  f.host.dialogAnswers = {f.dir.File("marks.html")};
  EXPECT_EQ(f.wf.RunCommand(Command::OpenInput).kind, Outcome::Refused);
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(f.host.Caption(), "");
  // Saved under a name of its own: opened as that definition.
  f.host.dialogAnswers = {f.dir.File("marks.html"), f.dir.File("veg")};
  EXPECT_TRUE(f.wf.RunCommand(Command::OpenInput).done());
  EXPECT_EQ(f.wf.InputPath(), f.dir.File("veg.txt"));
  EXPECT_EQ(f.host.InputPane().PaneText(), ReadFile("veg.txt"));
  EXPECT_EQ(f.host.LastMessage(), "Imported 1 link in 1 menu from " + f.dir.File("marks.html"));
  EXPECT_EQ(f.host.Caption(), kCaptionStep2);
  // Exported under one of Pravel's own names: refused, nothing written.
  f.host.dialogAnswers = {f.dir.File("Pravel.html")};
  EXPECT_EQ(f.wf.RunCommand(Command::ExportBookmarks).kind, Outcome::Refused);
  EXPECT_FALSE(fs::exists("Pravel.html"));
  // Over the definition it is made from: refused, though the dialog only
  // asked whether to replace a file.
  f.host.dialogAnswers = {f.dir.File("veg.txt")};
  EXPECT_EQ(f.wf.RunCommand(Command::ExportBookmarks).kind, Outcome::Refused);
  EXPECT_EQ(f.host.InputPane().PaneText(), ReadFile("veg.txt"));
  f.host.dialogAnswers = {f.dir.File("back.html")};
  EXPECT_TRUE(f.wf.RunCommand(Command::ExportBookmarks).done());
  EXPECT_NE(ReadFile("back.html").find("<DT><A HREF=\"kale.html\">Kale</A>"), Text::npos);
}

TEST(Workflow, EveryFileOfTheRoadIsBesideTheDefinitionInThePane) {
  // Two definitions in two folders, each named by its whole path while
  // the current folder is a third one: each page is built from its own
  // folder's template and written there, over nothing of the other.
  Fixture f;
  const std::vector<Command> road = {Command::ValidateInput, Command::BuildHtml, Command::SaveShowHtml};
  for (const Text folder : {"a", "b"}) {
    fs::create_directory(folder);
    Text page = ReadFile("Pravel.ini");
    page.replace(page.find("style=\"x\""), 9, "style=\"" + folder + "\"");
    WriteFile(folder + "/Pravel.ini", page);
  }
  f.Open(kDefinition, road, "a/menus.txt");
  f.Open(CrLfLines({"menuname=<Nuts>", "linkname=<Pecan>", "linkaddress=<pecan.html>"}), road, "b/menus.txt");
  EXPECT_TRUE(f.host.LastMessage().ends_with("Located Here: " + f.dir.File("b"))) << f.host.LastMessage();
  for (const auto& [folder, menu] : {std::pair{"a", "Fruit"}, {"b", "Nuts"}}) {
    const Text page = ReadFile(Text(folder) + "/ShowDraft.Html");
    EXPECT_NE(page.find("<div style=\"" + Text(folder) + "\">"), Text::npos) << folder;
    EXPECT_NE(page.find("<form name=\"" + Text(menu) + "\">"), Text::npos) << folder;
  }
  for (const char* name : {"Pravel.html", "ShowDraft.Html", "ValidatedInput.txt", "PravelTrace.txt"}) {
    EXPECT_FALSE(fs::exists(name)) << name << " written in the current folder";
  }

  // A folder that cannot be written (on Windows a folder's read-only mark
  // does not stop writing): said so, nothing written anywhere; saved in
  // another folder, the definition builds there.
  fs::permissions("b", fs::perms::owner_read | fs::perms::owner_exec);
  f.wf.RunCommand(Command::ValidateInput);
#ifndef _WIN32
  EXPECT_EQ(f.wf.RunCommand(Command::BuildHtml).kind, Outcome::Failed);
  EXPECT_EQ(f.host.LastMessage(), "Cannot write in the folder " + f.dir.File("b") +
                                      ": it is read-only.\r\nThe page and its files are made beside the definition. "
                                      "Save the definition in another folder with Save As, then build again.");
  EXPECT_FALSE(fs::exists("ValidatedInput.txt"));
#endif
  f.host.dialogAnswers.push_back(f.dir.File("a/nuts.txt"));
  f.wf.RunCommand(Command::SaveAs);
  EXPECT_TRUE(f.wf.RunCommand(Command::BuildHtml).done());
  EXPECT_NE(ReadFile("a/ShowDraft.Html").find("Nuts"), Text::npos);
  EXPECT_EQ(ReadFile("a/nuts.txt"), f.host.InputPane().PaneText());
  fs::permissions("b", fs::perms::owner_all);
}

TEST(Workflow, SaveShowAsksBeforeWritingAPageBuiltFromAnOlderPane) {
  Fixture f;
  f.Open(kDefinition, {Command::ValidateInput, Command::BuildHtml});
  Pane& pane = f.host.InputPane();
  pane.PaneSetText(pane.PaneText() + CrLfLines({"menuname=<LateMenu>", "linkname=<Late>", "linkaddress=<late.html>"}));
  f.host.questionAnswers = {false, true};
  EXPECT_EQ(f.wf.RunCommand(Command::SaveShowHtml).kind, Outcome::Refused);  // No: nothing written
  EXPECT_FALSE(fs::exists("Pravel.html"));
  EXPECT_EQ(f.Flags(), (std::vector<int>{0, 1, 1, 1}));
  EXPECT_TRUE(f.wf.RunCommand(Command::SaveShowHtml).done());  // Yes: built again, then written
  EXPECT_EQ(f.host.questions.size(), 2u);
  EXPECT_NE(ReadFile("Pravel.html").find("LateMenu"), Text::npos);
  EXPECT_EQ(f.host.Caption(), kCaptionDone);
}

TEST(Workflow, OneBoxListsTheRenamedMenusWhateverTheirNumber) {
  Text definition;
  for (int i = 0; i < 12; ++i) {
    definition += CrLfLines({"menuname=<Menu " + NumberToText(i) + ">", "linkname=<x>", "linkaddress=<x.html>"});
  }
  Fixture f;
  f.Open(definition, {Command::ValidateInput, Command::BuildHtml});
  const auto renamed = std::count_if(f.host.messages.begin(), f.host.messages.end(), [](const Text& message) {
    return message.find("No spaces allowed") != Text::npos;
  });
  EXPECT_EQ(renamed, 1);
  EXPECT_TRUE(f.host.LastMessage().ends_with("Menu_7\r\n... and 2 more menus renamed the same way."))
      << f.host.LastMessage();
}

TEST(Workflow, APageThatCannotBeWrittenIsNotClaimedAndARetryWorks) {
  Fixture f;
  f.Open(kDefinition, {Command::ValidateInput, Command::BuildHtml});
  for (const char* blocked : {"MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    fs::create_directory(blocked);
    f.wf.RunCommand(Command::SaveShowHtml);
    EXPECT_EQ(f.host.LastMessage(), Text("Could not write ") + blocked +
                                        ": it is a folder.\r\nThe page is not "
                                        "complete. Run Save/Show Html again once the file can be written.");
    EXPECT_EQ(f.host.Caption(), kCaptionStep4);
    fs::remove(blocked);
  }
  EXPECT_TRUE(f.host.shownFiles.empty());
  f.wf.RunCommand(Command::SaveShowHtml);
  EXPECT_EQ(f.host.Caption(), kCaptionDone);
  EXPECT_NE(ReadFile("Pravel.html").find("<td><form name=\"Veg\">"), Text::npos);
}

TEST(Workflow, RunningOutOfMemoryAnywhereInAStepEndsWithCodeThree) {
#ifdef _WIN32
  GTEST_SKIP() << "the same code runs natively and under the sanitizers; under Wine it takes half a minute";
#endif
  const std::vector<Command> steps = {Command::OpenInput, Command::ValidateInput, Command::BuildHtml,
                                      Command::SaveShowHtml};
  for (std::size_t s = 0; s < steps.size(); ++s) {
    int ended = 0;
    for (long allocation = 0;; ++allocation) {
      Fixture f;
      f.Open(kDefinition, std::vector<Command>(steps.begin() + 1, steps.begin() + std::max<std::size_t>(s, 1)));
      if (s == 0) f.host.dialogAnswers.push_back(f.dir.File("menus.txt"));
      int exitCode = -1;
      FailAllocation(allocation);
      try {
        f.wf.RunCommand(steps[s]);
      } catch (const ProcessEnded& end) {
        exitCode = end.exitCode;
      }
      if (!StopFailingAllocations()) break;  // the step made fewer allocations than this
      // Only a sort's spare room may be refused without ending: it sorts
      // in place instead.
      if (exitCode != -1) {
        ASSERT_EQ(exitCode, 3) << InfoOf(steps[s]).name << " allocation " << allocation;
        EXPECT_EQ(f.host.LastMessage(), "Insufficient memory");
        ++ended;
      }
      EXPECT_FALSE(f.wf.CommandRunning());
      if (ReadFile("menus.txt") != kDefinition) {
        EXPECT_EQ(ReadFile("menus.txt"), kNormalised);
        EXPECT_EQ(ReadFile("menus.txt.bak"), kDefinition);
      }
      for (const auto& entry : fs::directory_iterator(".")) {
        EXPECT_EQ(entry.path().string().find(".pravel-tmp-"), Text::npos) << "left behind: " << entry.path();
      }
    }
    EXPECT_GT(ended, 10) << InfoOf(steps[s]).name;
  }
}

TEST(EditorTools, FindPasteAndSaveAs) {
  Fixture f;
  // Every match in turn, then the question whether to start again.
  f.host.InputPane().PaneSetText("menuname=<Fruit>\r\nlinkname=<FRUIT>\r\nlinkname=<fruits>");
  f.host.findField = "<fruit";
  for (std::int64_t at : {9, 27, 45}) {
    f.wf.FindLink();
    EXPECT_EQ(f.host.InputPane().PaneSelection(), (std::pair<std::int64_t, std::int64_t>(at, at + 6)));
  }
  f.host.questionAnswers = {false, true};
  f.wf.FindLink();
  EXPECT_EQ(f.host.questions.back(), "\"<fruit\" not found, continue from beginning?    ");
  EXPECT_EQ(f.wf.FindStart(), 51);  // No keeps the start
  f.wf.FindLink();
  EXPECT_EQ(f.wf.FindStart(), 0);  // Yes wraps, without searching again
  f.wf.FindLink();
  f.wf.FindLink();
  // A choice from the go-to list is found above the last match, and the
  // find field keeps its place.
  f.wf.GoToMenuName(1, "<Fruit>");
  EXPECT_EQ(f.host.InputPane().PaneSelection().first, 9);
  EXPECT_EQ(f.wf.FindStart(), 33);

  // A template at the caret or over the selection, kept on the clipboard.
  f.host.InputPane().PaneSetText("one word two");
  f.host.InputPane().PaneSelect(4, 8);
  f.wf.RunCommand(Command::PasteLink);
  EXPECT_EQ(f.host.InputPane().PaneText(), "one \r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n two");
  EXPECT_EQ(f.host.InputPane().PaneSelection(), (std::pair<std::int64_t, std::int64_t>(16, 16)));  // between <>
  // With the caret inside a statement, on a line of its own after it.
  f.host.InputPane().PaneSetText("menuname=<Tools>\r\nlinkname=<hammer>");
  f.host.InputPane().PaneSelect(15, 15);
  f.wf.RunCommand(Command::PasteLink);
  EXPECT_EQ(f.host.InputPane().PaneText(),
            "menuname=<Tools>\r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n\r\nlinkname=<hammer>");
  EXPECT_EQ(f.host.InputPane().PaneSelection(), (std::pair<std::int64_t, std::int64_t>(28, 28)));

  // Save As asks again when the name it writes is not the one the dialog
  // asked about, and never overwrites a template the next build reads.
  WriteFile("page.html.txt", "old");
  WriteFile("HdrOnly.txt", "<html>");
  const std::tuple<Text, std::optional<bool>, const char*, Text> cases[] = {
      {"notes", std::nullopt, "notes.txt", f.host.InputPane().PaneText()},
      {"page.html", false, "page.html.txt", "old"},
      {"page.html", true, "page.html.txt", f.host.InputPane().PaneText()},
      {"HdrOnly", std::nullopt, "HdrOnly.txt", "<html>"},
  };
  for (const auto& [typed, answer, written, content] : cases) {
    f.host.dialogAnswers.push_back(f.dir.File(typed));
    if (answer) f.host.questionAnswers.push_back(*answer);
    f.wf.RunCommand(Command::SaveAs);
    EXPECT_EQ(ReadFile(written), content) << typed;
  }
  EXPECT_EQ(f.host.questions.size(), 4u);  // two of the find, two of Save As
  EXPECT_EQ(f.host.LastMessage(),
            "Could not write " + f.dir.File("HdrOnly.txt") +
                ": HdrOnly.txt is a file Pravel "
                "writes or reads as a template; save the definition under another name.\r\nThe text "
                "is still in the pane.");
}

}  // namespace
}  // namespace pravel
