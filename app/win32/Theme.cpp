#include "app/win32/Theme.h"

#include <cwchar>
#include <map>

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

Fonts CreateFonts(int dpi) {
  return Fonts{CreateTahoma(MulDiv(18, dpi, 96), 400), CreateTahoma(MulDiv(22, dpi, 96), 600)};
}

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (brush == nullptr) brush = CreateSolidBrush(colour);
  return brush;
}

}  // namespace pravel::win32
