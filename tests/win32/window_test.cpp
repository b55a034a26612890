// The main window as start-up builds it: the controls in place with their
// texts and colours, and resizing.
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "ProgramWindow.h"
#include "app/win32/ControlIds.h"

namespace pravel::win32 {
namespace {

using test::ProgramWindow;
using test::TextOf;

RECT PlaceOf(HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

TEST(MainWindow, HasTheCaptionPlaceAndStyle) {
  ProgramWindow program;
  HWND main = program.controls.main;
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ClassOf(main), kMainWindowClass);
  EXPECT_EQ(TextOf(main), "Pravels   -step 1 = Open Input file");
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.left, 8);
  EXPECT_EQ(outer.top, 8);
  EXPECT_EQ(outer.right - outer.left, 606);
  EXPECT_EQ(outer.bottom - outer.top, 720);
  EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

TEST(MainWindow, CreatesEveryControlInPlace) {
  ProgramWindow program;
  RECT client{};
  GetClientRect(program.controls.main, &client);
  const int clientWidth = client.right;
  struct Case {
    int id;
    std::string windowClass;
    int x, y, width, height;  // -1: the control sizes itself
    bool visible;
    std::string text;
  };
  const Case cases[] = {
      {kIdButtonBarOverlay, "Static", 0, 0, 600, 143, true, ""},
      {kIdGoToMenuNameCombo, "ComboBox", 12, 148, 200, -1, true, "~ GoTo MenuName"},
      {kIdColumnsField, "Edit", 288, 148, 32, 20, true, "4"},
      {kIdFindLinkLabel, "Static", 336, 148, 112, 24, true, " Find LINK -->"},
      {kIdFindLinkField, "Edit", 436, 148, 150, 28, true, ""},
      {kIdInputPane, "RichEdit20A", 12, 180, 606 - 36, 720 - 254, true,
       "Paste  [InputFile]  into here  OR  [Open Input]  file. "},
      {kIdRe2, "Edit", 0, 412, clientWidth, 330, false, ""},
      {kIdSortedList, "ListBox", 610, 0, 700, 600, false, ""},
      {kIdHtmlLines, "ListBox", 0, 412, clientWidth, 330, false, ""},
      {kIdLb8, "ListBox", 0, 350, clientWidth, 320, false, "Build MenusOnly here: "},
      {kIdStatusLine, "msctls_statusbar32", -1, -1, -1, -1, true, "Pravel "},
  };
  for (const Case& c : cases) {
    HWND control = program.Control(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), c.windowClass.c_str()) << c.id;
    const RECT place = PlaceOf(control);
    if (c.x >= 0) {
      EXPECT_EQ(place.left, c.x) << c.id;
    }
    if (c.y >= 0) {
      EXPECT_EQ(place.top, c.y) << c.id;
    }
    if (c.width >= 0) {
      EXPECT_EQ(place.right - place.left, c.width) << c.id;
    }
    if (c.height >= 0) {
      EXPECT_EQ(place.bottom - place.top, c.height) << c.id;
    }
    EXPECT_EQ((GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0, c.visible) << c.id;
    EXPECT_EQ(TextOf(control), c.text) << c.id;
  }
  // The go-to list shows the program's order, not its own.
  EXPECT_FALSE(GetWindowLongA(program.Control(kIdGoToMenuNameCombo), GWL_STYLE) & CBS_SORT);
  EXPECT_FALSE(GetWindowLongA(program.Control(kIdSortedList), GWL_STYLE) & LBS_SORT);
  // The pane is in rich text mode (under Wine a plain-text one pastes over
  // the whole text) and keeps every change for undo.
  EXPECT_EQ(SendMessageA(program.Control(kIdInputPane), EM_GETTEXTMODE, 0, 0) & (TM_RICHTEXT | TM_MULTILEVELUNDO),
            TM_RICHTEXT | TM_MULTILEVELUNDO);
}

TEST(MainWindow, ResizingMovesTheStatusLineAndResizesThePane) {
  ProgramWindow program;
  struct Case {
    int width, height, paneWidth, paneHeight;
  };
  const Case cases[] = {{800, 900, 768, 646}, {606, 720, 574, 466}, {300, 400, 268, 146}, {200, 150, 168, 0}};
  for (const Case& c : cases) {
    MoveWindow(program.controls.main, 8, 8, c.width, c.height, TRUE);
    RECT outer{};
    GetWindowRect(program.controls.main, &outer);
    if (outer.right - outer.left != c.width || outer.bottom - outer.top != c.height) continue;  // below the minimum
    const RECT pane = PlaceOf(program.Control(kIdInputPane));
    EXPECT_EQ(pane.left, 12) << c.width;
    EXPECT_EQ(pane.top, 180) << c.width;
    EXPECT_EQ(pane.right - pane.left, c.paneWidth) << c.width;
    EXPECT_EQ(pane.bottom - pane.top, c.paneHeight) << c.height;
    RECT client{};
    GetClientRect(program.controls.main, &client);
    EXPECT_EQ(PlaceOf(program.Control(kIdStatusLine)).bottom, client.bottom) << c.height;
  }
}

TEST(MainWindow, GivesEachControlItsColours) {
  ProgramWindow program;
  struct Case {
    UINT message;
    int id;
    COLORREF background;
    COLORREF text;  // CLR_INVALID: left as it is
  };
  const Case cases[] = {
      {WM_CTLCOLOREDIT, kIdColumnsField, RGB(231, 169, 126), CLR_INVALID},
      {WM_CTLCOLOREDIT, kIdFindLinkField, RGB(246, 231, 223), CLR_INVALID},
      {WM_CTLCOLOREDIT, kIdGoToMenuNameCombo, RGB(246, 231, 223), CLR_INVALID},
      {WM_CTLCOLORSTATIC, kIdFindLinkLabel, RGB(59, 25, 34), RGB(255, 255, 255)},
      {WM_CTLCOLOREDIT, kIdRe2, RGB(238, 255, 255), CLR_INVALID},
      {WM_CTLCOLORLISTBOX, kIdHtmlLines, RGB(255, 240, 250), CLR_INVALID},
  };
  HDC dc = GetDC(program.controls.main);
  for (const Case& c : cases) {
    SetTextColor(dc, RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(program.controls.main, c.message,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(program.Control(c.id))));
    LOGBRUSH paint{};
    ASSERT_TRUE(GetObjectA(brush, sizeof(paint), &paint)) << c.id;
    EXPECT_EQ(paint.lbColor, c.background) << c.id;
    EXPECT_EQ(GetBkColor(dc), c.background) << c.id;
    EXPECT_EQ(GetTextColor(dc), c.text == CLR_INVALID ? RGB(1, 2, 3) : c.text) << c.id;
  }
  ReleaseDC(program.controls.main, dc);
  // The input pane keeps its own background.
  HWND pane = program.Control(kIdInputPane);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(pane, EM_SETBKGNDCOLOR, 0, RGB(246, 231, 223))), RGB(246, 231, 223));
}

}  // namespace
}  // namespace pravel::win32
