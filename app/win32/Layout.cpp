#include "app/win32/Layout.h"

#include <richedit.h>

#include <algorithm>

namespace pravel::win32 {

namespace {

// The editing controls: the input pane, and re2 which takes the same bits.
// The input pane never wraps its lines.
constexpr DWORD kPaneStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN | ES_SUNKEN |
                             WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
constexpr DWORD kFieldStyle = ES_AUTOHSCROLL | ES_NOHIDESEL | WS_TABSTOP;
// The list boxes keep the order they are given.
constexpr DWORD kListStyle = LBS_HASSTRINGS | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT |
                             LBS_WANTKEYBOARDINPUT | WS_BORDER | WS_VSCROLL | WS_TABSTOP;

constexpr ControlPlace kControls[] = {
    // The decoded picture is kept in this hidden control; the overlay shows
    // it and draws the outlines above it, so the two never fight over paint.
    {kIdButtonBarPicture, L"STATIC", nullptr, SS_BITMAP, 0, ControlFont::Default, 0, 0, Extent::Fixed, kButtonBarWidth,
     Extent::Fixed, kButtonBarHeight},
    {kIdButtonBarOverlay, L"STATIC", nullptr, SS_OWNERDRAW | SS_NOTIFY | WS_VISIBLE, 0, ControlFont::Default, 0, 0,
     Extent::Fixed, kButtonBarWidth, Extent::Fixed, kButtonBarHeight},
    // Not sorted by the control: the entries come in the program's order,
    // the prompt first. The height includes the drop-down.
    {kIdGoToMenuNameCombo, L"COMBOBOX", nullptr,
     CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE, 0, ControlFont::Large, 12, 148,
     Extent::Fixed, 200, Extent::Fixed, 400},
    // The two fields are as tall as their large font and its frame, so a
    // digit is not cut at its foot; the label ends before its field.
    {kIdColumnsField, L"EDIT", L"4", kFieldStyle | WS_VISIBLE, WS_EX_CLIENTEDGE, ControlFont::Large, 288, 148,
     Extent::Fixed, 32, Extent::Fixed, 28},
    {kIdFindLinkLabel, L"STATIC", L" Find LINK -->", SS_NOTIFY | SS_CENTERIMAGE | WS_VISIBLE, 0, ControlFont::Small,
     336, 148, Extent::Fixed, 112, Extent::Fixed, 28},
    {kIdFindLinkField, L"EDIT", L"", kFieldStyle | WS_VISIBLE, WS_EX_CLIENTEDGE, ControlFont::Large, 454, 148,
     Extent::Fixed, 132, Extent::Fixed, 28},
    {kIdInputPane, L"RichEdit20W", nullptr, kPaneStyle | WS_VISIBLE, WS_EX_CLIENTEDGE, ControlFont::Large, 12, 180,
     Extent::WindowLess, 32, Extent::WindowLess, 254},
    {kIdRe2, L"EDIT", L"", kPaneStyle, WS_EX_CLIENTEDGE, ControlFont::Large, 0, 412, Extent::Client, 0, Extent::Fixed,
     330},
    {kIdSortedList, L"LISTBOX", nullptr, kListStyle, 0, ControlFont::Default, 610, 0, Extent::Fixed, 700, Extent::Fixed,
     600},
    {kIdHtmlLines, L"LISTBOX", nullptr, kListStyle, 0, ControlFont::Large, 0, 412, Extent::Client, 0, Extent::Fixed,
     330},
    {kIdLb8, L"LISTBOX", L"Build MenusOnly here: ", kListStyle, 0, ControlFont::Small, 0, 350, Extent::Client, 0,
     Extent::Fixed, 320},
};

int Length(Extent from, int given, LONG windowLength, int clientWidth, int dpi) {
  switch (from) {
    case Extent::WindowLess:
      // A window made smaller than the pane's margins leaves the pane empty
      // rather than handing the control a negative size.
      return std::max(0, static_cast<int>(windowLength) - Scaled(given, dpi));
    case Extent::Client:
      return clientWidth;
    case Extent::Fixed:
      break;
  }
  return Scaled(given, dpi);
}

}  // namespace

std::span<const ControlPlace> ControlTable() { return kControls; }

RECT ControlRect(const ControlPlace& place, SIZE window, int clientWidth, int dpi) {
  const int x = Scaled(place.x, dpi);
  const int y = Scaled(place.y, dpi);
  const int width = Length(place.widthFrom, place.width, window.cx, clientWidth, dpi);
  const int height = Length(place.heightFrom, place.height, window.cy, clientWidth, dpi);
  return RECT{x, y, x + width, y + height};
}

}  // namespace pravel::win32
