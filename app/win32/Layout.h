// The main window's controls in one table, in creation order: what each one
// is (class, style, text, font) and where it stands. Creating the controls,
// resizing the window and moving to another DPI all read this table.
#pragma once

#include <windows.h>

#include <span>

#include "app/Commands.h"
#include "app/win32/ControlIds.h"

namespace pravel::win32 {

// Everything is laid out in pixels of a 96-DPI display and scaled by the
// window's DPI, so that on a 150 % or 200 % display the window is as large
// and as sharp as it is meant to be.
inline constexpr int kDesignDpi = 96;
inline int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, kDesignDpi); }
inline RECT ScaledRect(const BarRect& zone, int dpi) {
  return RECT{Scaled(zone.left, dpi), Scaled(zone.top, dpi), Scaled(zone.right, dpi), Scaled(zone.bottom, dpi)};
}

// The main window's outer size at the start, and its place on the screen.
inline constexpr POINT kWindowPosition{8, 8};
inline constexpr SIZE kWindowSize{606, 720};
// The smallest outer size the window may be made.
inline constexpr SIZE kMinimumWindowSize{606, 380};

enum class Extent {
  Fixed,       // the size given
  WindowLess,  // the window's outer size less the size given
  Client,      // the client area's width
};

enum class ControlFont { Default, Small, Large };

struct ControlPlace {
  ControlId id;
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;  // WS_CHILD is added; WS_VISIBLE where the control shows
  DWORD exStyle;
  ControlFont font;
  int x, y;
  Extent widthFrom;
  int width;
  Extent heightFrom;
  int height;
};

// Every control but the status line, which places itself, in the order
// they are made.
std::span<const ControlPlace> ControlTable();

// A control's rectangle for a main window of the given outer size and
// client width (pixels at the window's DPI). The input pane follows the
// window's size; the hidden stores span the client area; everything else
// stands still.
RECT ControlRect(const ControlPlace& place, SIZE window, int clientWidth, int dpi);

}  // namespace pravel::win32
