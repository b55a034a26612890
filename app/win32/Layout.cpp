#include "app/win32/Layout.h"

#include <algorithm>

namespace pravel::win32 {

namespace {

enum class Extent {
  Fixed,       // the size given
  WindowLess,  // the window's outer size less the size given
  Client,      // the client area's width
};

struct Place {
  ControlId id;
  int x, y;
  Extent widthFrom;
  int width;
  Extent heightFrom;
  int height;
};

constexpr Place kPlaces[] = {
    {kIdButtonBarPicture, 0, 0, Extent::Fixed, kButtonBarWidth, Extent::Fixed, kButtonBarHeight},
    {kIdButtonBarOverlay, 0, 0, Extent::Fixed, kButtonBarWidth, Extent::Fixed, kButtonBarHeight},
    {kIdGoToMenuNameCombo, 12, 148, Extent::Fixed, 200, Extent::Fixed, 400},  // with its drop-down
    {kIdColumnsField, 288, 148, Extent::Fixed, 32, Extent::Fixed, 20},
    {kIdFindLinkLabel, 336, 148, Extent::Fixed, 112, Extent::Fixed, 24},
    {kIdFindLinkField, 436, 148, Extent::Fixed, 150, Extent::Fixed, 28},
    {kIdInputPane, 12, 180, Extent::WindowLess, 32, Extent::WindowLess, 254},
    {kIdRe2, 0, 412, Extent::Client, 0, Extent::Fixed, 330},
    {kIdSortedList, 610, 0, Extent::Fixed, 700, Extent::Fixed, 600},
    {kIdHtmlLines, 0, 412, Extent::Client, 0, Extent::Fixed, 330},
    {kIdLb8, 0, 350, Extent::Client, 0, Extent::Fixed, 320},
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

RECT ControlRect(ControlId id, SIZE window, int clientWidth, int dpi) {
  for (const Place& place : kPlaces) {
    if (place.id != id) continue;
    const int x = Scaled(place.x, dpi);
    const int y = Scaled(place.y, dpi);
    const int width = Length(place.widthFrom, place.width, window.cx, clientWidth, dpi);
    const int height = Length(place.heightFrom, place.height, window.cy, clientWidth, dpi);
    return RECT{x, y, x + width, y + height};
  }
  return RECT{0, 0, 0, 0};
}

}  // namespace pravel::win32
