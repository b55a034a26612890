// The main window and its controls, as the Host and the window procedure
// both reach them.
#pragma once

#include <windows.h>

namespace pravel::win32 {

struct Controls {
  HWND main = nullptr;
  HWND tooltip = nullptr;
  HWND buttonBarPicture = nullptr;
  HWND buttonBarOverlay = nullptr;
  HWND goToMenuNameCombo = nullptr;
  HWND columnsField = nullptr;
  HWND findLinkLabel = nullptr;
  HWND findLinkField = nullptr;
  HWND inputPane = nullptr;
  HWND re2 = nullptr;
  HWND sortedList = nullptr;
  HWND htmlLines = nullptr;
  HWND lb8 = nullptr;
  HWND statusLine = nullptr;
  // Pixels per inch of the window: every size is scaled by dpi / 96.
  int dpi = 96;
};

}  // namespace pravel::win32
