#include "app/win32/ButtonBarPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "app/ButtonBar.h"
#include "app/win32/Encoding.h"
#include "app/win32/Theme.h"
#include "text/TextFile.h"

namespace pravel::win32 {

namespace {

// GDI+ is taken at run time, like the other system libraries: it needs
// ole32, and a system without ole32 must still get the start-up message
// that names it. It is started on first use and kept for the process.
struct GdiplusApi {
  using Startup = ::Gdiplus::Status(WINAPI*)(ULONG_PTR*, const ::Gdiplus::GdiplusStartupInput*, void*);
  using FromFile = ::Gdiplus::Status(WINAPI*)(const WCHAR*, ::Gdiplus::GpBitmap**);
  using Dimension = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpImage*, UINT*);
  using ToBitmap = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpBitmap*, HBITMAP*, ::Gdiplus::ARGB);
  using Dispose = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpImage*);

  FromFile CreateBitmapFromFile = nullptr;
  Dimension GetImageWidth = nullptr;
  Dimension GetImageHeight = nullptr;
  ToBitmap CreateHBITMAPFromBitmap = nullptr;
  Dispose DisposeImage = nullptr;
  bool ready = false;
};

template <typename Fn>
bool Take(HMODULE library, const char* name, Fn& target) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return target != nullptr;
}

const GdiplusApi& GdiplusLibrary() {
  static const GdiplusApi api = [] {
    GdiplusApi loaded;
    HMODULE library = LoadLibraryW(L"gdiplus.dll");
    GdiplusApi::Startup startup = nullptr;
    if (library == nullptr || !Take(library, "GdiplusStartup", startup) ||
        !Take(library, "GdipCreateBitmapFromFile", loaded.CreateBitmapFromFile) ||
        !Take(library, "GdipGetImageWidth", loaded.GetImageWidth) ||
        !Take(library, "GdipGetImageHeight", loaded.GetImageHeight) ||
        !Take(library, "GdipCreateHBITMAPFromBitmap", loaded.CreateHBITMAPFromBitmap) ||
        !Take(library, "GdipDisposeImage", loaded.DisposeImage)) {
      return loaded;
    }
    ULONG_PTR token = 0;
    const ::Gdiplus::GdiplusStartupInput input;
    loaded.ready = startup(&token, &input, nullptr) == ::Gdiplus::Ok;
    return loaded;
  }();
  return api;
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
  const GdiplusApi& gdiplus = GdiplusLibrary();
  if (!gdiplus.ready) return;
  ::Gdiplus::GpBitmap* image = nullptr;
  if (gdiplus.CreateBitmapFromFile(Widen(path).c_str(), &image) != ::Gdiplus::Ok || image == nullptr) return;
  UINT width = 0;
  UINT height = 0;
  HBITMAP bitmap = nullptr;
  // Transparent parts of the picture show the window's background colour.
  const ::Gdiplus::ARGB background = 0xFF000000u | (GetRValue(kWindowBackground) << 16) |
                                     (GetGValue(kWindowBackground) << 8) | GetBValue(kWindowBackground);
  if (gdiplus.GetImageWidth(image, &width) == ::Gdiplus::Ok && gdiplus.GetImageHeight(image, &height) == ::Gdiplus::Ok &&
      gdiplus.CreateHBITMAPFromBitmap(image, &bitmap, background) == ::Gdiplus::Ok) {
    bitmap_ = bitmap;
    size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
  }
  gdiplus.DisposeImage(image);
}

std::string ButtonBarPicturePath() { return PathIn(CurrentDirectory(), kButtonBarPictureName); }

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
