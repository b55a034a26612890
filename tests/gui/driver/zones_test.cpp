// Where a click on the button bar lands: each zone runs its command, the
// boundaries between the zones run nothing, and the Columns zone only moves
// the white outline away.
#include <gtest/gtest.h>

#include "Expect.h"
#include "Files.h"
#include "PravelApp.h"

namespace pravel::gui {
namespace {

const std::string kMenuTemplate = "\r\nmenuname=<>\r\n\r\n";
const std::string kLinkTemplate = "\r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n";

// What a click visibly did.
enum class Effect {
  Nothing,      // no box, no change of the pane, the caption or the outline
  Guard,        // the step guard message
  OpenDialog,   // the open dialog (cancelled here)
  SaveDialog,   // the save dialog (cancelled here)
  PasteMenu,    // the menu template pasted into the pane
  PasteLink,    // the link template pasted into the pane
  OutlineOnly,  // the Columns zone: only the white outline changes
};

struct ZoneCase {
  int x, y;
  const char* where;
  Effect effect;
  const char* whiteAfter;  // the button outlined in white afterwards
};

// In this order, from a fresh start: each case also relies on the white
// outline the one before left.
const ZoneCase kCases[] = {
    {70, 100, "PasteMenu zone", Effect::PasteMenu, "PasteMenu"},
    {300, 79, "the line between the rows", Effect::Nothing, "PasteMenu"},
    {133, 50, "the left boundary of the top row", Effect::Nothing, "PasteMenu"},
    {132, 100, "the left boundary of the bottom row", Effect::Nothing, "PasteMenu"},
    {133, 100, "just right of the bottom row's boundary", Effect::PasteLink, "PasteLink"},
    {300, 100, "the Columns zone", Effect::OutlineOnly, ""},
    {132, 50, "just left of the top row's boundary", Effect::OpenDialog, ""},
    {500, 5, "above the drawn outline of Save/Show", Effect::Guard, "SaveShowHtml"},
    {300, 80, "the first line of the bottom row, in Columns", Effect::OutlineOnly, ""},
    {300, 78, "the last line of the top row, in Validate", Effect::Guard, "ValidateInput"},
    {134, 50, "just right of the top row's boundary", Effect::SaveDialog, ""},
    {464, 50, "the right end of Build Html", Effect::Guard, "BuildHtml"},
    {465, 50, "the left end of Save/Show", Effect::Guard, "SaveShowHtml"},
    {354, 50, "the right end of Validate", Effect::Guard, "ValidateInput"},
    {355, 50, "the left end of Build Html", Effect::Guard, "BuildHtml"},
    {244, 100, "the right end of PasteLink", Effect::PasteLink, "PasteLink"},
    {245, 100, "the left end of Columns", Effect::OutlineOnly, ""},
    {5, 140, "the bottom left corner, in PasteMenu", Effect::PasteMenu, "PasteMenu"},
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Zones, EachClickRunsTheCommandOfItsZoneAndTheBoundariesRunNothing) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  const std::string trace = app.File("PravelTrace.txt");
  for (const ZoneCase& c : kCases) {
    SCOPED_TRACE(std::string("click at (") + std::to_string(c.x) + ", " + std::to_string(c.y) + "), " + c.where);
    const std::string paneBefore = WithCrOnly(app.PaneText());
    const std::string captionBefore = app.Caption();
    RemoveFile(trace);
    app.Click(c.x, c.y);
    switch (c.effect) {
      case Effect::Nothing:
      case Effect::OutlineOnly:
        EXPECT_TRUE(app.NoBoxAppears());
        break;
      case Effect::Guard:
        EXPECT_EQ(app.ConfirmMessage(), GuardText(0, 0, 0, 0));
        break;
      case Effect::OpenDialog:
        EXPECT_TRUE(app.CancelDialog(kOpenDialogTitle));
        EXPECT_EQ(app.ConfirmMessage(), kNoFileSelected);
        break;
      case Effect::SaveDialog:
        EXPECT_TRUE(app.CancelDialog("Save As"));
        EXPECT_TRUE(app.NoBoxAppears());
        // Save As renames the current command to one that outlines nothing
        // but does not repaint the bar itself: the next repaint shows it.
        app.RepaintButtonBar();
        break;
      case Effect::PasteMenu:
      case Effect::PasteLink: {
        const std::string& pasted = c.effect == Effect::PasteMenu ? kMenuTemplate : kLinkTemplate;
        EXPECT_TRUE(WaitUntil([&] { return WithCrOnly(app.PaneText()) != paneBefore; }, 5000));
        const std::string paneAfter = WithCrOnly(app.PaneText());
        EXPECT_EQ(paneAfter.size(), paneBefore.size() + WithCrOnly(pasted).size());
        EXPECT_EQ(Count(paneAfter, WithCrOnly(pasted)), Count(paneBefore, WithCrOnly(pasted)) + 1);
        EXPECT_TRUE(app.NoBoxAppears());
        break;
      }
    }
    EXPECT_EQ(WhiteOutlineOnceItIs(app, c.whiteAfter), c.whiteAfter);
    if (c.effect != Effect::PasteMenu && c.effect != Effect::PasteLink) {
      EXPECT_EQ(WithCrOnly(app.PaneText()), paneBefore);
    }
    if (c.effect != Effect::OpenDialog) {
      EXPECT_EQ(app.Caption(), captionBefore);
    }
    // Only the three later steps write the trace file, refused or not.
    EXPECT_EQ(FileExists(trace), c.effect == Effect::Guard);
  }
  app.Screenshot("after-all-zones");
}

}  // namespace
}  // namespace pravel::gui
