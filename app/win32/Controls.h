// The main window and its controls, as the Host and the window procedure
// both reach them.
#pragma once

#include <windows.h>

#include "app/win32/ControlIds.h"

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

  // The control of an identity.
  HWND& Of(ControlId id) {
    switch (id) {
      case kIdButtonBarPicture:
        return buttonBarPicture;
      case kIdButtonBarOverlay:
        return buttonBarOverlay;
      case kIdGoToMenuNameCombo:
        return goToMenuNameCombo;
      case kIdColumnsField:
        return columnsField;
      case kIdFindLinkLabel:
        return findLinkLabel;
      case kIdFindLinkField:
        return findLinkField;
      case kIdInputPane:
        return inputPane;
      case kIdRe2:
        return re2;
      case kIdSortedList:
        return sortedList;
      case kIdHtmlLines:
        return htmlLines;
      case kIdLb8:
        return lb8;
      case kIdStatusLine:
        break;
    }
    return statusLine;
  }
};

}  // namespace pravel::win32
