// The pictures of the guide and the help page, made from the running
// program by the GUI test's own driver: the example taken through the four
// steps by keys, the window (and the box it shows) kept after each, in a
// folder whose name reads well in the final message. scripts/make-pictures.sh
// runs it.
#include <gtest/gtest.h>

#include "GuiApp.h"

namespace pravel::gui {
namespace {

TEST(Pictures, TheFourStepsOnTheExample) {
  GuiApp app(L"C:\\Menus");
  app.CopyData({L"Pravel_Input.txt", L"Pravel.ini", L"HdrOnly.txt", L"TableHdr_template.txt", L"TrlOnly.txt"});
  ASSERT_TRUE(app.Start());
  // Wide enough for the sorted list that the build shows beside the pane.
  SetWindowPos(app.Main(), nullptr, 0, 0, 1180, 720, SWP_NOMOVE | SWP_NOZORDER);
  app.Keys({'1'});
  ASSERT_TRUE(app.OpenInDialog(L"Pravel_Input.txt"));
  app.Messages("opened");
  app.Picture(L"window-1-open");
  app.Keys({'2'});
  ASSERT_TRUE(app.WaitForBox(L"Pravel"));
  app.Picture(L"window-2-validate");
  app.Messages("validated");
  app.Keys({'3'});
  app.Messages("built");
  app.Picture(L"window-3-build");
  app.Keys({'4'});
  ASSERT_TRUE(app.WaitForBox(L"Pravel"));
  app.Picture(L"window-4-save-show");
  app.Messages("saved");
  EXPECT_FALSE(ReadBytes(app.File(L"Pravel.html")).empty());
  app.AltF4();
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace pravel::gui

int main(int argc, char** argv) { return pravel::gui::RunDriver(argc, argv); }
