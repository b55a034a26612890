// Editor tools: paste templates, Save As, Help, find and go-to.
#include <gtest/gtest.h>

#include "app/Workflow.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "tools/EditorTools.h"

namespace pravel {
namespace {

using test::FileExists;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

struct Fixture {
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, dir.Path().string()};
};

TEST(PasteTemplate, InsertsTheTemplateAtTheCaretOrOverTheSelection) {
  struct Case {
    const char* command;
    Text text;
    std::int64_t from, to;
    Text expected;
  };
  const Case cases[] = {
      {"PasteMenu", "abcdef", 3, 3, "abc\r\nmenuname=<>\r\n\r\ndef"},
      {"PasteLink", "abcdef", 3, 3, "abc\r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\ndef"},
      {"PasteLink", "one word two", 4, 8, "one \r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n two"},
      {"PasteMenu", "", 0, 0, "\r\nmenuname=<>\r\n\r\n"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.host.pane.PaneSetText(c.text);
    f.host.pane.PaneSelect(c.from, c.to);
    f.wf.RunCommand(c.command);
    EXPECT_EQ(f.host.pane.PaneText(), c.expected) << c.command << " into " << c.text;
    EXPECT_TRUE(f.host.inputFocused);
    // The clipboard keeps the template, so pasting by hand inserts it again.
    f.host.PasteIntoInputPane();
    EXPECT_EQ(TextTally(f.host.pane.PaneText(), f.host.clipboard), 2) << c.command;
    EXPECT_EQ(f.wf.FileOpen, 0);
  }
}

TEST(SaveAs, AddsTxtUnlessTheNameEndsInExactlyTxt) {
  struct Case {
    Text typed, written;
  };
  const Case cases[] = {
      {"notes", "notes.txt"},
      {"notes.txt", "notes.txt"},
      {"notes.TXT", "notes.TXT.txt"},
      {"page.html", "page.html.txt"},
      {"a.txt.bak", "a.txt.bak.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(SaveAsName(c.typed), c.written) << c.typed;

  Fixture f;
  f.host.pane.PaneSetText("menuname=<A>\r\nno break at the end");
  f.host.dialogAnswers.push_back(f.dir.File("notes"));
  f.wf.RunCommand("SaveAs");
  EXPECT_EQ(ReadFile("notes.txt"), "menuname=<A>\r\nno break at the end");
  EXPECT_EQ(f.wf.CurrentCommand, "SaveAsClick");
  EXPECT_TRUE(f.host.inputFocused);
  EXPECT_EQ(f.wf.InputPath, "");

  const FileDialog& d = f.host.dialogs.at(0);
  EXPECT_TRUE(d.save);
  EXPECT_EQ(d.title, "Save As");
  EXPECT_EQ(d.filterName, "Text Files");
  EXPECT_EQ(d.filterPattern, "*.TXT");
  EXPECT_EQ(d.defaultExt, "txt");
  EXPECT_EQ(d.fileName, "");  // nothing opened yet
}

TEST(SaveAs, AsksBeforeReplacingTheFileItAddedTxtTo) {
  struct Case {
    bool answer;
    Text expected;
  };
  for (const Case& c : {Case{false, "old"}, Case{true, "new"}}) {
    Fixture f;
    WriteFile("page.html.txt", "old");
    f.host.pane.PaneSetText("new");
    f.host.dialogAnswers.push_back(f.dir.File("page.html"));
    f.host.questionAnswers.push_back(c.answer);
    f.wf.RunCommand("SaveAs");
    ASSERT_EQ(f.host.questions.size(), 1u);
    EXPECT_EQ(f.host.questions[0],
              "Save As|" + f.dir.File("page.html.txt") + " already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(ReadFile("page.html.txt"), c.expected);
  }

  // The name the user typed was already confirmed by the dialog itself.
  Fixture f;
  WriteFile("notes.txt", "old");
  f.host.pane.PaneSetText("new");
  f.host.dialogAnswers.push_back(f.dir.File("notes.txt"));
  f.wf.RunCommand("SaveAs");
  EXPECT_TRUE(f.host.questions.empty());
  EXPECT_EQ(ReadFile("notes.txt"), "new");
}

TEST(SaveAs, CancelWritesNothingAndAFailedWriteIsReported) {
  Fixture f;
  f.wf.InputPath = f.dir.File("opened.txt");
  f.wf.RunCommand("SaveAs");
  EXPECT_EQ(f.host.dialogs.at(0).fileName, f.dir.File("opened.txt"));
  EXPECT_TRUE(f.host.messages.empty());
  EXPECT_TRUE(f.host.inputFocused);

  f.host.dialogAnswers.push_back(f.dir.File("no-such-folder/x.txt"));
  f.wf.RunCommand("SaveAs");
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(f.host.messages[0].text.find("Could not save " + f.dir.File("no-such-folder/x.txt") + ": "), 0u);
  EXPECT_EQ(f.wf.InputPath, f.dir.File("opened.txt"));

  // A template the pane's text would overwrite, and that the next build
  // would read back as a template.
  WriteFile("HdrOnly.txt", "<html>");
  f.host.dialogAnswers.push_back(f.dir.File("HdrOnly"));
  f.wf.RunCommand("SaveAs");
  ASSERT_EQ(f.host.messages.size(), 2u);
  EXPECT_EQ(f.host.messages[1].text, "Could not save " + f.dir.File("HdrOnly.txt") +
                                         ": HdrOnly.txt is a file Pravel writes or reads as a template; save the "
                                         "definition under another name.\r\nThe text is still in the pane.");
  EXPECT_EQ(ReadFile("HdrOnly.txt"), "<html>");
}

TEST(FindLink, StepsThroughEveryMatchThenAsksToWrap) {
  Fixture f;
  f.host.pane.PaneSetText("menuname=<Fruit>\r\nlinkname=<FRUIT>\r\nlinkname=<fruits>");
  f.host.findField = "<fruit";
  const std::int64_t expected[] = {9, 27, 45};
  for (std::int64_t at : expected) {
    f.wf.RunCommand("Columns");  // any command leaves the find state alone
    FindLink(f.wf);
    EXPECT_EQ(f.host.pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>(at, at + 6)));
    EXPECT_EQ(f.wf.FindStart, at + 6);
    EXPECT_FALSE(f.host.pane.SelectionHidden());
    EXPECT_TRUE(f.host.findFocused);
  }
  f.host.questionAnswers.push_back(false);
  FindLink(f.wf);
  ASSERT_EQ(f.host.questions.size(), 1u);
  EXPECT_EQ(f.host.questions[0], "|\"<fruit\" not found, continue from beginning?    ");
  EXPECT_EQ(f.wf.FindStart, 51);  // No keeps the start
  EXPECT_TRUE(f.host.pane.SelectionHidden());

  f.host.questionAnswers.push_back(true);
  FindLink(f.wf);
  EXPECT_EQ(f.wf.FindStart, 0);  // Yes wraps, without searching again
  FindLink(f.wf);
  EXPECT_EQ(f.wf.FindStart, 15);
}

TEST(FindLink, EmptyPaneIsReportedAndChangesNothing) {
  Fixture f;
  f.wf.FindStart = 7;
  f.host.findField = "x";
  FindLink(f.wf);
  EXPECT_EQ(f.host.LastMessage(), "No text to search");
  EXPECT_EQ(f.wf.FindStart, 7);
  EXPECT_TRUE(f.host.questions.empty());
}

TEST(GoToMenuName, SearchesTheChosenEntryFromTheFindStart) {
  Fixture f;
  f.host.pane.PaneSetText("menuname=<Tools>\r\nmenuname=<Fruit>\r\n~ GoTo MenuName");
  GoToMenuName(f.wf, 2, "<Fruit>");
  EXPECT_EQ(f.host.findField, "<Fruit>");
  EXPECT_EQ(f.host.pane.PaneSelection().first, 27);

  // A menu above the last match is not found until the user wraps.
  GoToMenuName(f.wf, 1, "<Tools>");
  EXPECT_EQ(f.host.questions.size(), 1u);
  f.host.questionAnswers.push_back(true);
  GoToMenuName(f.wf, 1, "<Tools>");
  GoToMenuName(f.wf, 1, "<Tools>");
  EXPECT_EQ(f.host.pane.PaneSelection().first, 9);

  // The prompt is searched like any entry; no choice does nothing.
  GoToMenuName(f.wf, 0, "~ GoTo MenuName");
  EXPECT_EQ(f.host.pane.PaneSelection().first, 36);
  const auto calls = f.host.calls.size();
  GoToMenuName(f.wf, -1, "");
  EXPECT_EQ(f.host.calls.size(), calls);
}

}  // namespace
}  // namespace pravel
