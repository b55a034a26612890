#include "app/win32/ButtonBarPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "app/ButtonBar.h"
#include "app/win32/Theme.h"

namespace pravel::win32 {

namespace {

namespace gp = Gdiplus::DllExports;

// GDI+ is started on first use and kept for the process, like the fonts.
bool StartGdiplus() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

std::wstring Widen(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

void DrawOutline(HDC dc, const ButtonOutline& outline, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 0, colour);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, outline.left, outline.top, outline.right, outline.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace

ButtonBarPicture::~ButtonBarPicture() { Clear(); }

void ButtonBarPicture::Clear() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  size_ = {0, 0};
}

void ButtonBarPicture::Load(const std::string& path) {
  Clear();
  if (!StartGdiplus()) return;
  Gdiplus::GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromFile(Widen(path).c_str(), &image) != Gdiplus::Ok || image == nullptr) return;
  UINT width = 0;
  UINT height = 0;
  HBITMAP bitmap = nullptr;
  // Transparent parts of the picture show the window's background colour.
  const Gdiplus::ARGB background = 0xFF000000u | (GetRValue(kWindowBackground) << 16) |
                                   (GetGValue(kWindowBackground) << 8) | GetBValue(kWindowBackground);
  if (gp::GdipGetImageWidth(image, &width) == Gdiplus::Ok && gp::GdipGetImageHeight(image, &height) == Gdiplus::Ok &&
      gp::GdipCreateHBITMAPFromBitmap(image, &bitmap, background) == Gdiplus::Ok) {
    bitmap_ = bitmap;
    size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
  }
  gp::GdipDisposeImage(image);
}

std::string ButtonBarPicturePath() {
  // Asked for the length first: a deep current directory is not cut short.
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  std::string path(buffer.data(), std::min<std::size_t>(length, buffer.size()));
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + kButtonBarPictureName;
}

void PaintButtonBar(HDC dc, int width, int height, const ButtonBarPicture& picture,
                    std::string_view currentCommand) {
  if (dc == nullptr) return;
  const RECT bar{0, 0, width, height};
  FillRect(dc, &bar, SolidBrush(kWindowBackground));
  if (picture.Bitmap() != nullptr) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture.Bitmap());
    BitBlt(dc, 0, 0, std::min<int>(width, picture.Size().cx), std::min<int>(height, picture.Size().cy), source, 0, 0,
           SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  for (const ButtonOutline& outline : kButtonOutlines) DrawOutline(dc, outline, kOutlineColour);
  if (const ButtonOutline* current = HighlightedOutline(currentCommand)) DrawOutline(dc, *current, kHighlightColour);
}

}  // namespace pravel::win32
