// The Win32 host's services to the workflow: the lists, the picture
// control and the message pump.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramWindow.h"
#include "app/win32/ControlIds.h"

namespace pravel::win32 {
namespace {

using test::ProgramWindow;

std::vector<std::string> Items(HWND list, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::string> items;
  const auto count = SendMessageA(list, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::string item(static_cast<std::size_t>(SendMessageA(list, lengthMessage, i, 0)) + 1, '\0');
    item.resize(static_cast<std::size_t>(SendMessageA(list, textMessage, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

TEST(Win32Host, FillsTheGoToListInTheGivenOrder) {
  ProgramWindow program;
  HWND combo = program.Control(kIdGoToMenuNameCombo);
  const std::vector<std::vector<Text>> fills = {
      {"~ GoTo MenuName", "<apple>", "<Banana>", "<cherry>", "<Banana>"},
      {"~ GoTo MenuName"},
      {"~ GoTo MenuName", "<_x>", "<~y>", "<Zed>"},
  };
  for (const auto& entries : fills) {
    program.host.SetMenuNameList(entries);
    const std::vector<std::string> shown = Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    EXPECT_EQ(shown, std::vector<std::string>(entries.begin(), entries.end()));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  }
}

TEST(Win32Host, ShowsTheSortedListBesideTheWindow) {
  ProgramWindow program;
  HWND list = program.Control(kIdSortedList);
  EXPECT_FALSE(IsWindowVisible(list));
  std::vector<Text> lines;
  for (int i = 0; i < 100000; ++i) lines.push_back("menuname=<M" + std::to_string(99999 - i) + ">\tline");
  program.host.ShowSortedList(lines);
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VISIBLE);
  RECT place{};
  GetWindowRect(list, &place);
  MapWindowPoints(nullptr, program.controls.main, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 610);
  EXPECT_EQ(place.top, 0);
  EXPECT_EQ(place.right - place.left, 700);
  EXPECT_EQ(place.bottom - place.top, 600);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 100000);
  const std::vector<std::string> shown = Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
  EXPECT_EQ(shown.front(), lines.front());
  EXPECT_EQ(shown[5000], lines[5000]);
  EXPECT_EQ(shown.back(), lines.back());

  program.host.ShowSortedList({"b", "a"});  // a second build replaces the items
  EXPECT_EQ(Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT), (std::vector<std::string>{"b", "a"}));
}

TEST(Win32Host, KeepsThePictureInThePictureControl) {
  ProgramWindow program;
  char start[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, start);
  HWND picture = program.Control(kIdButtonBarPicture);
  struct Case {
    std::string folder;
    bool shown;
  };
  const Case cases[] = {{PRAVEL_ASSETS_DIR, true}, {"C:\\", false}, {PRAVEL_ASSETS_DIR, true}};
  for (const Case& c : cases) {
    ASSERT_TRUE(SetCurrentDirectoryA(c.folder.c_str())) << c.folder;
    program.host.ReloadButtonBarPicture();
    EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, c.shown) << c.folder;
    EXPECT_EQ(program.picture.Bitmap() != nullptr, c.shown) << c.folder;
  }
  SetCurrentDirectoryA(start);
}

// A window whose messages pump again, as a command does while it works.
struct PumpProbe {
  MessageLoop* loop = nullptr;
  int depth = 0;
  int deepest = 0;
  int handled = 0;
};
PumpProbe probe;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
  ++probe.handled;
  ++probe.depth;
  probe.deepest = std::max(probe.deepest, probe.depth);
  probe.loop->Pump();  // asked for while a pump runs: returns at once
  --probe.depth;
  return 0;
}

TEST(MessageLoop, APumpInsideAPumpReturnsAtOnce) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ProbeProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PumpProbe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("PumpProbe", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
  MessageLoop loop;
  probe = PumpProbe{&loop};
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_APP, 0, 0);
  loop.Pump();
  EXPECT_EQ(probe.handled, 3);
  EXPECT_EQ(probe.deepest, 1);
  DestroyWindow(window);
}

}  // namespace
}  // namespace pravel::win32
