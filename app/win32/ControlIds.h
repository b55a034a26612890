// Identities of the main window's controls, and the window class name.
// The GUI test driver finds the controls by these, as the window does.
#pragma once

namespace pravel::win32 {

inline constexpr const wchar_t* kMainWindowClass = L"PravelMainWindow";

enum ControlId : int {
  // Hidden: holds the decoded button-bar picture (STM_GETIMAGE gives it, or
  // nothing when the picture file was missing). The overlay shows the
  // picture and the outlines above it, and takes the clicks.
  kIdButtonBarPicture = 101,
  kIdButtonBarOverlay = 102,
  kIdGoToMenuNameCombo = 103,
  kIdColumnsField = 104,
  kIdFindLinkLabel = 105,
  kIdFindLinkField = 106,
  kIdInputPane = 107,
  kIdRe2 = 108,
  kIdSortedList = 109,
  kIdHtmlLines = 110,
  kIdLb8 = 111,
  kIdStatusLine = 112,
};

}  // namespace pravel::win32
