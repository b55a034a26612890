// The window as it comes up, and the three later steps refused before a
// definition has been opened.
#include <gtest/gtest.h>

#include "Expect.h"
#include "Files.h"
#include "PravelApp.h"
#include "app/win32/ControlIds.h"

namespace pravel::gui {
namespace {

using namespace pravel::win32;

TEST(StartUp, ShowsCaptionStatusLineAndControls) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.Caption(), kCaptionStep1);
  EXPECT_EQ(app.Status(), kStatusAtStart);

  RECT frame{};
  GetWindowRect(app.Main(), &frame);
  EXPECT_EQ(frame.left, 8);
  EXPECT_EQ(frame.top, 8);
  EXPECT_EQ(frame.right - frame.left, 606);
  EXPECT_EQ(frame.bottom - frame.top, 720);

  struct ControlCase {
    int id;
    const char* name;
    bool shown;
    const char* text;  // nullptr: not checked
  };
  const ControlCase controls[] = {
      {kIdButtonBarOverlay, "ButtonBarOverlay", true, nullptr},
      {kIdGoToMenuNameCombo, "GoToMenuNameCombo", true, nullptr},
      {kIdColumnsField, "ColumnsField", true, "4"},
      {kIdFindLinkLabel, "FindLinkLabel", true, " Find LINK -->"},
      {kIdFindLinkField, "FindLinkField", true, ""},
      {kIdInputPane, "InputPane", true, kPaneAtStart.c_str()},
      {kIdStatusLine, "StatusLine", true, nullptr},
      {kIdRe2, "re2", false, ""},
      {kIdSortedList, "SortedList", false, nullptr},
      {kIdHtmlLines, "HtmlLines", false, nullptr},
      {kIdLb8, "lb8", false, nullptr},
  };
  for (const ControlCase& c : controls) {
    SCOPED_TRACE(c.name);
    HWND control = app.Control(c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, c.shown);
    if (c.text != nullptr) {
      EXPECT_EQ(app.ControlText(c.id), c.text);
    }
  }
  char paneClass[64] = "";
  GetClassNameA(app.Control(kIdInputPane), paneClass, sizeof paneClass);
  EXPECT_STRCASEEQ(paneClass, "RichEdit20A");
  EXPECT_EQ(app.ComboEntries(), std::vector<std::string>{"~ GoTo MenuName"});
  EXPECT_EQ(app.ComboSelection(), 0);

  // No button is outlined in white before the first command.
  EXPECT_TRUE(WaitUntil([&] { return WhiteOutline(app.CaptureButtonBar()).empty(); }, 5000))
      << WhiteOutline(app.CaptureButtonBar());
  // The picture is there: a plain bar would have a handful of colours.
  const Capture bar = app.CaptureButtonBar();
  EXPECT_GT(bar.DistinctColours(0, 0, 600, 143), 50u) << "the button-bar picture does not show";
  app.Screenshot("start");
}

TEST(StartUp, ControlsHaveTheirColours) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(WaitUntil([&] { return WhiteOutline(app.CaptureButtonBar()).empty(); }, 5000));
  struct ColourCase {
    const char* where;
    int x, y;  // client pixels, away from text and borders
    Rgb colour;
  };
  const ColourCase cases[] = {
      {"window background between the controls", 250, 160, {59, 25, 34}},
      {"window background right of the find field", 592, 150, {59, 25, 34}},
      {"find label background", 340, 150, {59, 25, 34}},
      {"columns field", 314, 162, {231, 169, 126}},
      {"find field", 570, 168, {246, 231, 223}},
      {"input pane", 400, 500, {246, 231, 223}},
  };
  const Capture client = app.CaptureClient();
  ASSERT_TRUE(client.Valid());
  for (const ColourCase& c : cases) {
    EXPECT_EQ(client.At(c.x, c.y), c.colour) << c.where << " at (" << c.x << ", " << c.y << ") is "
                                             << Describe(client.At(c.x, c.y));
  }
}

TEST(StartUp, EachLaterStepIsRefusedWithAllValuesZero) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  const std::string trace = app.File("PravelTrace.txt");
  EXPECT_FALSE(FileExists(trace)) << "the trace file is written before any step ran";
  for (const ZonePoint& step : {kValidateInput, kBuildHtml, kSaveShowHtml}) {
    SCOPED_TRACE(step.command);
    RemoveFile(trace);
    app.Click(step.x, step.y);
    EXPECT_EQ(app.ConfirmMessage(), GuardText(0, 0, 0, 0));
    // The refused step still writes the (empty) trace file.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(trace); }, 5000)) << "PravelTrace.txt not written";
    EXPECT_EQ(ReadFile(trace), "");
    EXPECT_EQ(app.Caption(), kCaptionStep1);
    EXPECT_EQ(app.Status(), kStatusAtStart);
    EXPECT_TRUE(WaitUntil([&] { return WhiteOutline(app.CaptureButtonBar()) == step.command; }, 5000))
        << WhiteOutline(app.CaptureButtonBar());
    app.Screenshot(std::string("refused-") + step.command);
  }
  EXPECT_TRUE(app.NoBoxAppears());
}

}  // namespace
}  // namespace pravel::gui
