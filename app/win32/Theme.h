// The window's colours and fonts, in one place so the controls, the painter
// and the colour messages agree.
#pragma once

#include <windows.h>

namespace pravel::win32 {

inline constexpr COLORREF kWindowBackground = RGB(59, 25, 34);
inline constexpr COLORREF kFieldBackground = RGB(246, 231, 223);  // go-to list, find field, input pane
inline constexpr COLORREF kColumnsBackground = RGB(231, 169, 126);
inline constexpr COLORREF kOutlineColour = RGB(166, 158, 128);
inline constexpr COLORREF kHighlightColour = RGB(255, 255, 255);  // current button, find label text
inline constexpr COLORREF kRe2Background = RGB(238, 255, 255);
inline constexpr COLORREF kHtmlLinesBackground = RGB(255, 240, 250);

// The two fonts every control uses, created once and kept for the process.
struct Fonts {
  HFONT small = nullptr;  // Tahoma 18, normal
  HFONT large = nullptr;  // Tahoma 22, semi-bold
};

// At the window's DPI: the heights are pixels of a 96-DPI display.
Fonts CreateFonts(int dpi);

// One solid brush per background colour, created on first use and kept for
// the process: a control asks for its colour on every repaint.
HBRUSH SolidBrush(COLORREF colour);

}  // namespace pravel::win32
