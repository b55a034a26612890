// Find in the pane (Enter in the find field, again and again) and go to a
// menu name from the list, with the "not found" question at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "Expect.h"
#include "Files.h"
#include "PravelApp.h"
#include "app/win32/ControlIds.h"

namespace pravel::gui {
namespace {

using namespace pravel::win32;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Where the search text occurs in the pane, letter case ignored, every line
// break counted as one character.
std::vector<long> Occurrences(const std::string& paneText, const std::string& what) {
  std::vector<long> at;
  const std::string text = Lower(WithCrOnly(paneText));
  for (std::size_t p = text.find(Lower(what)); p != std::string::npos; p = text.find(Lower(what), p + 1)) {
    at.push_back(static_cast<long>(p));
  }
  return at;
}

std::string NotFoundQuestion(const std::string& what) {
  return "\"" + what + "\" not found, continue from beginning?    ";
}

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.CopyData("Find_Input.txt");
    definition = ReadFile(app.File("Find_Input.txt"));
    ASSERT_TRUE(app.Start());
    app.Click(kOpenInput.x, kOpenInput.y);
    ASSERT_TRUE(app.OpenInOpenDialog("Find_Input.txt"));
    ASSERT_EQ(CaptionOnceItIs(app, kCaptionStep2), kCaptionStep2);
  }

  // The pane shows the match at this position selected, and the find field
  // keeps the focus for the next Enter.
  void ExpectMatchAt(long position, const std::string& what) {
    const std::pair<long, long> expected{position, position + static_cast<long>(what.size())};
    EXPECT_TRUE(WaitUntil([&] { return app.PaneSelection() == expected; }, 5000))
        << "selection " << app.PaneSelection().first << ".." << app.PaneSelection().second << ", expected "
        << expected.first << ".." << expected.second;
    EXPECT_EQ(app.PaneSelectedText(), WithCrOnly(definition).substr(static_cast<std::size_t>(position), what.size()));
    EXPECT_EQ(app.FocusedControl(), kIdFindLinkField);
  }

  // The "not found" question comes up; it is answered with the button.
  void AnswerNotFound(const std::string& what, int button) {
    const std::optional<Box> question = app.WaitForBox("");
    ASSERT_TRUE(question) << "no \"not found\" question";
    EXPECT_EQ(question->text, NotFoundQuestion(what));
    EXPECT_NE(GetDlgItem(question->window, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(question->window, IDNO), nullptr);
    app.Screenshot("not-found");
    app.Press(*question, button);
  }

  PravelApp app;
  std::string definition;
};

TEST_F(FindTest, EnterStepsThroughEveryOccurrenceThenAsksAndWrapsOnYes) {
  const std::vector<long> apples = Occurrences(definition, "apples");
  ASSERT_EQ(apples.size(), 3u);
  app.Find("apples");
  for (long at : apples) {
    SCOPED_TRACE(at);
    ExpectMatchAt(at, "apples");
    app.Screenshot("found");
    app.PressEnterInFindField();
  }
  // After the last one: No keeps the place, so the next Enter asks again.
  AnswerNotFound("apples", IDNO);
  app.PressEnterInFindField();
  AnswerNotFound("apples", IDYES);
  // Yes goes back to the beginning; the question did not search again.
  EXPECT_TRUE(app.NoBoxAppears());
  app.PressEnterInFindField();
  ExpectMatchAt(apples[0], "apples");
  app.PressEnterInFindField();
  ExpectMatchAt(apples[1], "apples");
  EXPECT_TRUE(app.NoBoxAppears());
}

TEST_F(FindTest, GoToMenuNameFindsTheChosenNameAndThePromptIsSearchedToo) {
  std::vector<std::string> entries = app.ComboEntries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], "~ GoTo MenuName");
  EXPECT_EQ(entries[3], "<Veg>");
  std::sort(entries.begin() + 1, entries.begin() + 3);  // the two spellings of Fruit compare equal
  EXPECT_EQ(entries[1], "<FRUIT>");
  EXPECT_EQ(entries[2], "<Fruit>");
  const std::vector<std::string> shown = app.ComboEntries();
  const int fruit = static_cast<int>(std::find(shown.begin(), shown.end(), "<Fruit>") - shown.begin());
  const int veg = 3;

  // "<Fruit>" is found on its menu line, inside a link name, and in the
  // other spelling, in turn.
  const std::vector<long> fruits = Occurrences(definition, "<Fruit>");
  ASSERT_EQ(fruits.size(), 3u);
  for (long at : fruits) {
    SCOPED_TRACE(at);
    app.ChooseGoToEntry(fruit);
    ExpectMatchAt(at, "<Fruit>");
    EXPECT_EQ(app.ControlText(kIdFindLinkField), "<Fruit>");
    EXPECT_EQ(app.ComboSelection(), fruit);
  }
  app.Screenshot("went-to-fruit");
  // A menu before the last match is not found until the search wraps.
  app.ChooseGoToEntry(veg);
  AnswerNotFound("<Veg>", IDYES);
  app.ChooseGoToEntry(veg);
  ExpectMatchAt(Occurrences(definition, "<Veg>")[0], "<Veg>");
  // The prompt is searched for like any entry.
  app.ChooseGoToEntry(0);
  AnswerNotFound("~ GoTo MenuName", IDNO);
  EXPECT_EQ(app.ControlText(kIdFindLinkField), "~ GoTo MenuName");
}

TEST(Find, AnEmptyPaneIsReportedAndNotSearched) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  app.SetPaneText("");
  app.Find("apples");
  EXPECT_EQ(app.ConfirmMessage(), "No text to search");
  EXPECT_TRUE(app.NoBoxAppears());
}

}  // namespace
}  // namespace pravel::gui
