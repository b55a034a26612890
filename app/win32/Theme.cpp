#include "app/win32/Theme.h"

#include <cwchar>
#include <map>

#include "app/win32/Layout.h"

namespace pravel::win32 {

namespace {

HFONT CreateTahoma(LONG height, LONG weight) {
  LOGFONTW font{};
  font.lfHeight = height;  // positive: the cell height in pixels
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  std::wcscpy(font.lfFaceName, L"Tahoma");
  return CreateFontIndirectW(&font);
}

}  // namespace

Fonts CreateFonts(int dpi) { return Fonts{CreateTahoma(Scaled(18, dpi), 400), CreateTahoma(Scaled(22, dpi), 600)}; }

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (brush == nullptr) brush = CreateSolidBrush(colour);
  return brush;
}

}  // namespace pravel::win32
