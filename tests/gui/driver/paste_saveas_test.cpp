// The editor commands of the bottom row and Save As: the statement templates
// pasted at the caret or over a selection, and the pane saved under the name
// typed into the save dialog.
#include <gtest/gtest.h>

#include "Expect.h"
#include "Files.h"
#include "PravelApp.h"
#include "app/win32/ControlIds.h"

namespace pravel::gui {
namespace {

using namespace pravel::win32;

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(clipboard not available)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

TEST(Paste, MenuTemplateAtTheCaretThenLinkTemplateOverASelection) {
  struct PasteCase {
    ZonePoint zone;
    long selectFrom, selectTo;  // in the pane before the click
    std::string paneAfter;
    std::string clipboard;
  };
  const std::string menu = "\r\nmenuname=<>\r\n\r\n";
  const std::string link = "\r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n";
  const PasteCase cases[] = {
      // The caret between "abc" and "def".
      {kPasteMenu, 3, 3, "abc" + menu + "def", menu},
      // "def" selected: the template takes its place.
      {kPasteLink, 17, 20, "abc" + menu + link, link},
  };
  PravelApp app;
  ASSERT_TRUE(app.Start());
  app.SetPaneText("abcdef");
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.zone.command);
    app.SetPaneSelection(c.selectFrom, c.selectTo);
    app.Click(c.zone.x, c.zone.y);
    EXPECT_TRUE(WaitUntil([&] { return WithCrOnly(app.PaneText()) == WithCrOnly(c.paneAfter); }, 5000))
        << "the pane holds \"" << app.PaneText() << "\"";
    EXPECT_EQ(app.PaneLengthWithCrLf(), static_cast<long>(c.paneAfter.size()));
    // The caret ends after the inserted text, and the pane has the focus.
    const long caret = c.selectFrom + static_cast<long>(WithCrOnly(c.clipboard).size());
    EXPECT_EQ(app.PaneSelection(), std::make_pair(caret, caret));
    EXPECT_EQ(app.FocusedControl(), kIdInputPane);
    // The template went through the clipboard and stays there.
    EXPECT_EQ(ClipboardText(), c.clipboard);
    EXPECT_EQ(WhiteOutlineOnceItIs(app, c.zone.command), c.zone.command);
    EXPECT_TRUE(app.NoBoxAppears());
    app.Screenshot(std::string("pasted-") + c.zone.command);
  }
  EXPECT_FALSE(FileExists(app.File("PravelTrace.txt")));
  EXPECT_EQ(app.Caption(), kCaptionStep1);
}

// What the pane holds when it is saved: no line break after the last line.
const std::string kPaneText = "menuname=<Fruit>\r\nlinkname=<Apples>\r\nlinkaddress=<apples.html>";

TEST(SaveAs, TheTypedNameGetsTxtUnlessItEndsInLowerCaseTxt) {
  struct NameCase {
    const char* typed;
    const char* written;
  };
  const NameCase cases[] = {
      {"notes", "notes.txt"},        // the dialog adds the default extension
      {"notes.txt", "notes.txt"},    // kept as typed
      {"notes.TXT", "notes.TXT.txt"},  // only a lower-case ".txt" counts
      {"page.html", "page.html.txt"},
  };
  PravelApp app;
  ASSERT_TRUE(app.Start());
  app.SetPaneText(kPaneText);
  const std::vector<std::string> before = FolderNames(app.Folder());

  // Cancelled: nothing written, nothing said.
  app.Click(kSaveAs.x, kSaveAs.y);
  ASSERT_TRUE(app.CancelDialog("Save As"));
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_EQ(FolderNames(app.Folder()), before);

  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.typed);
    app.Click(kSaveAs.x, kSaveAs.y);
    std::string nameShown;
    ASSERT_TRUE(app.SaveInSaveDialog(c.typed, &nameShown));
    // Nothing was opened in this run, so the dialog offers no name.
    EXPECT_EQ(nameShown, "");
    const std::string written = app.File(c.written);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(written); }, 5000)) << c.written << " not written";
    EXPECT_TRUE(app.NoBoxAppears());
    std::vector<std::string> expected = before;
    expected.push_back(c.written);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(app.Folder()), expected);  // the exact name, and no other file
    EXPECT_EQ(ReadFile(written), kPaneText);
    EXPECT_EQ(app.FocusedControl(), kIdInputPane);
    RemoveFile(written);
  }
  EXPECT_EQ(app.Caption(), kCaptionStep1);
  EXPECT_EQ(WithCrOnly(app.PaneText()), WithCrOnly(kPaneText));
}

// The dialog asks before replacing the name it returns; when the program
// adds ".txt" to that name, the file about to be replaced is another one,
// so the program asks about that one itself.
TEST(SaveAs, ReplacingAFileIsAskedForOnceWhateverNameIsWritten) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  app.SetPaneText(kPaneText);

  // "notes.txt" is written as typed: the dialog's own question (answered
  // Yes by the driver) is the only one.
  ASSERT_TRUE(WriteFile(app.File("notes.txt"), "older notes"));
  app.Click(kSaveAs.x, kSaveAs.y);
  std::vector<std::string> dialogQuestions;
  ASSERT_TRUE(app.SaveInSaveDialog("notes.txt", nullptr, &dialogQuestions));
  EXPECT_EQ(dialogQuestions.size(), 1u) << "the dialog did not ask before replacing notes.txt";
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_EQ(ReadFile(app.File("notes.txt")), kPaneText);

  const std::string target = app.File("page.html.txt");
  ASSERT_TRUE(WriteFile(target, "the user's older notes"));
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    app.Click(kSaveAs.x, kSaveAs.y);
    std::vector<std::string> dialogQuestions;
    ASSERT_TRUE(app.SaveInSaveDialog("page.html", nullptr, &dialogQuestions));
    EXPECT_TRUE(dialogQuestions.empty()) << "the dialog asked about page.html: " << dialogQuestions[0];
    const std::optional<Box> question = app.WaitForBox("Save As");
    ASSERT_TRUE(question) << "no question before replacing page.html.txt";
    EXPECT_NE(question->text.find("page.html.txt"), std::string::npos) << question->text;
    ASSERT_NE(GetDlgItem(question->window, IDNO), nullptr);
    app.Screenshot("replace-question");
    app.Press(*question, answer);
    EXPECT_TRUE(app.NoBoxAppears());
    EXPECT_EQ(ReadFile(target), answer == IDYES ? kPaneText : "the user's older notes");
  }
  EXPECT_FALSE(FileExists(app.File("page.html")));
}

}  // namespace
}  // namespace pravel::gui
