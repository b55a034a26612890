// The definition format, Open Input, the go-to list and validation.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Workflow.h"
#include "definition/Definition.h"
#include "definition/Open.h"
#include "definition/Validation.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;
using test::RecordingHost;
using test::TempDir;

constexpr const char* kCancelled = "No File Selected!  Click on  [OpenInput]  again.";

TEST(Keyword, FoundAnywhereWithoutRegardToAsciiCase) {
  struct Case {
    std::string_view line, key;
    bool holds;
  };
  const Case cases[] = {
      {"menuname=<Fruit>", kMenuNameKey, true},
      {"MenuName=<Fruit>", kMenuNameKey, true},
      {"MENUNAME=<Fruit>", kMenuNameKey, true},
      {"   menuname=<Fruit>   remark", kMenuNameKey, true},
      {"menuname = <Fruit>", kMenuNameKey, false},
      {"menuname=Fruit", kMenuNameKey, false},
      {"LinkAddress=<a.html>", kLinkAddressKey, true},
      {"LinkAddress=<a.html>", kLinkNameKey, false},
      {"linkname=<x>", kMenuNameKey, false},
      // Only A..Z fold: a byte above 127 never matches a keyword letter.
      {"M\xC9NUNAME=<x>", kMenuNameKey, false},
      {"", kMenuNameKey, false},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldsKeyword(c.line, c.key), c.holds) << c.line << " / " << c.key;
}

TEST(Keyword, ValueKeepsCaseAndSpacesAndEndsAtTheFirstCloseAfterTheOpen) {
  const Text longAddress = "https://example.org/" + Text(380, 'p');
  struct Case {
    Text line, value;
  };
  const Case cases[] = {
      {"MenuName=<Fruit>", "Fruit"},
      {"   menuname=<Fruit>   remark", "Fruit"},
      {"menuname=<Dried Fruit>", "Dried Fruit"},
      {"menuname=< >", " "},
      {"menuname=<>", ""},
      {"linkaddress=<apples.html", "apples.html"},
      {"linkaddress=<apples.html and the rest", "apples.html and the rest"},
      {"menuname=<A> linkname=<B>", "A"},
      {"<b>menuname=<Fruit>", "b"},
      {"a > b menuname=<Fruit>", "Fruit"},
      {"a > b menuname=<Fruit", "Fruit"},
      {"no brackets at all", ""},
      {"linkaddress=<" + longAddress + ">", longAddress},
  };
  for (const Case& c : cases) EXPECT_EQ(StatementValue(c.line), c.value) << c.line;
}

TEST(MenuNameList, ListsFirstOpenToFirstCloseSortedWithThePromptFirst) {
  struct Case {
    const char* name;
    Text text;
    std::vector<Text> entries;  // after the prompt
  };
  const Case cases[] = {
      {"case and spaces kept",
       CrLfLines({"menuname=<Fruit>", "MENUNAME=<Fruit>", "menuname=<Dried Fruit>", "linkname=<x>"}),
       {"<Dried Fruit>", "<Fruit>", "<Fruit>"}},
      {"empty name", "menuname=<>", {"<>"}},
      {"no closing bracket", "menuname=<Fruit", {}},
      {"close before open", "a > b menuname=<Fruit>", {}},
      {"first brackets of the line", "<b>menuname=<Fruit>", {"<b>"}},
      {"case-insensitive order", CrLfLines({"menuname=<cherry>", "menuname=<Banana>", "menuname=<apple>"}),
       {"<apple>", "<Banana>", "<cherry>"}},
      // "~" sorts after the letters, yet the prompt heads the list.
      {"prompt before names after ~", CrLfLines({"menuname=<~zz>", "menuname=<}>"}), {"<}>", "<~zz>"}},
      {"nothing to list", CrLfLines({"linkname=<a>", "", "remark"}), {}},
      {"lone line feeds", "menuname=<b>\nmenuname=<a>", {"<a>", "<b>"}},
      {"lines are examined whole", Text(250, ' ') + "menuname=<" + Text(20, 'n') + ">",
       {"<" + Text(20, 'n') + ">"}},
  };
  for (const Case& c : cases) {
    std::vector<Text> expected{kMenuNamePrompt};
    expected.insert(expected.end(), c.entries.begin(), c.entries.end());
    EXPECT_EQ(MenuNameEntries(TextLines(c.text)), expected) << c.name;
  }
}

TEST(Validation, CountsLinesAndKeepsTheLastEmptyStatement) {
  struct Case {
    const char* name;
    Text text;
    StatementCounts counts;
  };
  const Case cases[] = {
      {"one menu, two pairs",
       CrLfLines({"menuname=<Fruit>", "linkname=<A>", "linkaddress=<a>", "linkname=<B>", "linkaddress=<b>"}),
       {1, 2, 2, 0}},
      {"keywords in any case", CrLfLines({"MenuName=<F>", "LinkName=<Apples>", "LINKADDRESS=<x>"}), {1, 1, 1, 0}},
      {"two keywords on a line count once each", "menuname=<A> linkname=<B>", {1, 1, 0, 0}},
      {"a keyword twice on a line counts once", "linkname=<A> linkname=<B>", {0, 1, 0, 0}},
      {"a blank value is not empty", "menuname=< >", {1, 0, 0, 0}},
      {"spaced keyword is no keyword", "menuname = <Fruit>", {0, 0, 0, 0}},
      {"empty link name", CrLfLines({"menuname=<F>", "linkname=<>", "linkaddress=<a>"}), {1, 1, 1, 2}},
      {"empty address", CrLfLines({"menuname=<F>", "linkname=<x>", "linkaddress=<>"}), {1, 1, 1, 3}},
      {"last one found wins", CrLfLines({"linkname=<>", "menuname=<>"}), {1, 1, 0, 1}},
      {"on one line the address test comes last", "linkaddress=<> menuname=<>", {1, 0, 1, 3}},
      {"lines are examined whole", Text(300, ' ') + "linkaddress=<>", {0, 0, 1, 3}},
      {"nothing", "", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const StatementCounts got = CountStatements(TextLines(c.text));
    EXPECT_EQ(got.menuNames, c.counts.menuNames) << c.name;
    EXPECT_EQ(got.linkNames, c.counts.linkNames) << c.name;
    EXPECT_EQ(got.linkAddresses, c.counts.linkAddresses) << c.name;
    EXPECT_EQ(got.emptyInput, c.counts.emptyInput) << c.name;
  }
}

TEST(Validation, ReportIsComposedByteForByte) {
  const Text passing =
      "Validation Results: \r\n"
      "    Input must contain at least 1 MenuName.\r\n"
      "SO FAR: there are 1 MenuNames coded.\r\n"
      "    Input must contain 1 LinkAddress for each LinkName, \r\n"
      "    ie., a one for one corespondence.\r\n"
      "SO FAR: there are 2  LinkAddresses coded and 2 LinkNames coded.\r\n"
      "\r\n";
  EXPECT_EQ(ValidationReport({1, 2, 2, 0}), passing);

  const Text failing =
      "Validation Results: \r\n"
      "    Input must contain at least 1 MenuName.\r\n"
      "SO FAR: there are 0 MenuNames coded.\r\n"
      "    Input must contain 1 LinkAddress for each LinkName, \r\n"
      "    ie., a one for one corespondence.\r\n"
      "SO FAR: there are 12  LinkAddresses coded and 3 LinkNames coded.\r\n"
      "\r\n"
      "Input_file contains 'empty_Input_parms', such as ' linkname=<>, Please FIX  Input_File.'";
  EXPECT_EQ(ValidationReport({0, 3, 12, 3}), failing);
  // The note reads the same whatever kind of statement was empty.
  EXPECT_EQ(ValidationReport({0, 3, 12, 1}), failing);
}

TEST(Validation, CheckDefinitionDecidesAndReportsEveryTime) {
  struct Case {
    const char* name;
    Text text;
    int validated, emptyInput;
  };
  const Case cases[] = {
      {"complete", CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"}), 1, 0},
      {"order is not checked", CrLfLines({"menuname=<F>", "linkaddress=<a>", "linkaddress=<b>", "linkname=<A>",
                                          "linkname=<B>"}),
       1, 0},
      {"menu names only", "menuname=<F>", 1, 0},
      {"no menu name", CrLfLines({"linkname=<A>", "linkaddress=<a>"}), 0, 0},
      {"unequal counts", CrLfLines({"menuname=<F>", "linkname=<A>"}), 0, 0},
      {"empty statement", CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<>"}), 0, 3},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    Workflow wf(host, "C:\\start");
    host.pane.PaneSetText(c.text);
    wf.FileValidated = 1 - c.validated;
    wf.HtmlHdrDoneCount = 5;
    wf.emptyInput = 2;
    CheckDefinition(wf);
    EXPECT_EQ(wf.FileValidated, c.validated) << c.name;
    EXPECT_EQ(wf.emptyInput, c.emptyInput) << c.name;
    EXPECT_EQ(wf.HtmlHdrDoneCount, 0) << c.name;
    ASSERT_EQ(host.messages.size(), 1u) << c.name;
    EXPECT_EQ(host.messages[0].text, ValidationReport(CountStatements(TextLines(c.text)))) << c.name;
    EXPECT_EQ(host.status, "Pravels: " + wf.StateText()) << c.name;
    EXPECT_EQ(host.calls.back(), "SetStatus: " + host.status) << c.name;
  }
}

class OpenInput : public ::testing::Test {
 protected:
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, dir.Path().string()};

  void Open(std::optional<Text> answer) {
    host.dialogAnswers.push_back(std::move(answer));
    DoOpen(wf);
  }
};

TEST_F(OpenInput, LoadsTheChosenFileByteForByte) {
  const Text bytes = "menuname=<Fruit>\r\nlinkname=<\xC4pfel>\nlinkaddress=<a.html>\rremark\r\n\r\n";
  test::WriteFile("Pravel_Input.txt", bytes);
  wf.trace.TraceEnabled = 1;
  wf.trace.Trace(" BuildHtml");
  wf.FileValidated = 1;
  wf.HtmlBuilt = 1;

  Open(dir.File("Pravel_Input.txt"));

  ASSERT_EQ(host.dialogs.size(), 1u);
  const FileDialog& d = host.dialogs[0];
  EXPECT_FALSE(d.save);
  EXPECT_EQ(d.title, "Load/Open  Input File   *.txt");
  EXPECT_EQ(d.filterName, "Text Files");
  EXPECT_EQ(d.filterPattern, "*.TXT");
  EXPECT_EQ(d.fileName, "Pravel_Input.txt");
  EXPECT_EQ(std::filesystem::path(d.initialDir), std::filesystem::current_path());

  EXPECT_EQ(host.pane.PaneText(), bytes);
  EXPECT_EQ(wf.InputPath, dir.File("Pravel_Input.txt"));
  EXPECT_TRUE(host.inputFocused);
  EXPECT_EQ(wf.FileOpen, 1);
  EXPECT_EQ(wf.FileValidated, 0);
  EXPECT_EQ(wf.HtmlBuilt, 0);
  EXPECT_EQ(wf.CurrentCommand, "DoOpen");
  EXPECT_EQ(wf.trace.TraceText, "");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.menuNameList, (std::vector<Text>{kMenuNamePrompt, "<Fruit>"}));
  EXPECT_EQ(wf.MenuNameCnt, 1);
  EXPECT_EQ(wf.LineIndex, 0);

  // The closing sequence: list, caption, status, then the bar's picture.
  const std::vector<Text> tail(host.calls.end() - 4, host.calls.end());
  EXPECT_EQ(tail, (std::vector<Text>{"SetMenuNameList", "SetCaption: Pravels   -step 2  = Validate Input",
                                     "SetStatus: Pravels: emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0",
                                     "ReloadButtonBarPicture"}));
}

TEST_F(OpenInput, CancelOrAFileThatCannotBeLoadedKeepsThePreviousState) {
  std::filesystem::create_directory("folder.txt");
  test::WriteFile("binary.txt", Text("menuname=<A>\0\r\n", 15));
  struct Case {
    const char* name;
    std::optional<Text> answer;
    MessageKind kind;
    std::vector<Text> mentions;  // what the message must say
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, MessageKind::Warning, {kCancelled}},
      {"a folder", dir.File("folder.txt"), MessageKind::Error, {dir.File("folder.txt"), "folder"}},
      {"missing", dir.File("gone.txt"), MessageKind::Error, {dir.File("gone.txt")}},
      {"not text", dir.File("binary.txt"), MessageKind::Error, {dir.File("binary.txt"), "NUL"}},
  };
  test::WriteFile("first.txt", "menuname=<Kept>\r\n");
  Open(dir.File("first.txt"));
  for (const Case& c : cases) {
    host.messages.clear();
    host.caption = "before";
    host.menuNameList.clear();
    wf.FileValidated = 1;  // as after a validation of the loaded text
    Open(c.answer);

    ASSERT_EQ(host.messages.size(), 1u) << c.name;
    EXPECT_EQ(host.messages[0].kind, c.kind) << c.name;
    if (c.kind == MessageKind::Warning) {
      EXPECT_EQ(host.messages[0].text, kCancelled);
    }
    for (const Text& part : c.mentions) EXPECT_NE(host.messages[0].text.find(part), Text::npos) << c.name;

    EXPECT_EQ(host.pane.PaneText(), "menuname=<Kept>\r\n") << c.name;
    EXPECT_EQ(wf.InputPath, dir.File("first.txt")) << c.name;
    EXPECT_EQ(wf.FileOpen, 1) << c.name;
    EXPECT_EQ(wf.FileValidated, 1) << c.name;
    EXPECT_EQ(host.caption, kCaptionStep2) << c.name;
    EXPECT_EQ(host.menuNameList, (std::vector<Text>{kMenuNamePrompt, "<Kept>"})) << c.name;
  }
  EXPECT_EQ(host.pictureReloads, 5);
}

TEST_F(OpenInput, CancelAtStartLeavesEverythingAtZeroAndListsThePaneAsItIs) {
  host.pane.PaneSetText("menuname=<Typed>\r\nmenuname=<Also>");
  Open(std::nullopt);
  EXPECT_EQ(host.LastMessage(), kCancelled);
  EXPECT_EQ(wf.FileOpen, 0);
  EXPECT_EQ(wf.InputPath, "");
  EXPECT_EQ(host.caption, kCaptionStep2);
  EXPECT_EQ(host.status, "Pravels: emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0");
  EXPECT_EQ(host.menuNameList, (std::vector<Text>{kMenuNamePrompt, "<Also>", "<Typed>"}));
  EXPECT_EQ(wf.MenuNameCnt, 2);
}

}  // namespace
}  // namespace pravel
