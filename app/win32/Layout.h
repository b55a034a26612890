// Where every control of the main window stands: one table that creating
// the controls and resizing the window both read.
#pragma once

#include <windows.h>

#include "app/ButtonBar.h"
#include "app/win32/ControlIds.h"

namespace pravel::win32 {

// Everything is laid out in pixels of a 96-DPI display and scaled by the
// window's DPI, so that on a 150 % or 200 % display the window is as large
// and as sharp as it is meant to be.
inline constexpr int kDesignDpi = 96;
inline int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, kDesignDpi); }
inline RECT ScaledRect(const ButtonOutline& zone, int dpi) {
  return RECT{Scaled(zone.left, dpi), Scaled(zone.top, dpi), Scaled(zone.right, dpi), Scaled(zone.bottom, dpi)};
}

// The main window's outer size at the start, and its place on the screen.
inline constexpr POINT kWindowPosition{8, 8};
inline constexpr SIZE kWindowSize{606, 720};

// A control's rectangle for a main window of the given outer size and
// client width (pixels at the window's DPI). The input pane follows the
// window's size; the hidden stores span the client area; everything else
// stands still.
RECT ControlRect(ControlId id, SIZE window, int clientWidth, int dpi);

}  // namespace pravel::win32
