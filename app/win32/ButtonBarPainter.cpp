#include "app/win32/ButtonBarPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "app/Commands.h"
#include "app/win32/Encoding.h"
#include "app/win32/Gdi.h"
#include "app/win32/Layout.h"
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
  using FromDC = ::Gdiplus::Status(WINAPI*)(HDC, ::Gdiplus::GpGraphics**);
  using Interpolation = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpGraphics*, ::Gdiplus::InterpolationMode);
  using DrawRect = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpGraphics*, ::Gdiplus::GpImage*, INT, INT, INT, INT);
  using Release = ::Gdiplus::Status(WINAPI*)(::Gdiplus::GpGraphics*);

  FromFile CreateBitmapFromFile = nullptr;
  Dimension GetImageWidth = nullptr;
  Dimension GetImageHeight = nullptr;
  ToBitmap CreateHBITMAPFromBitmap = nullptr;
  Dispose DisposeImage = nullptr;
  FromDC CreateFromHDC = nullptr;
  Interpolation SetInterpolationMode = nullptr;
  DrawRect DrawImageRectI = nullptr;
  Release DeleteGraphics = nullptr;
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
        !Take(library, "GdipDisposeImage", loaded.DisposeImage) ||
        !Take(library, "GdipCreateFromHDC", loaded.CreateFromHDC) ||
        !Take(library, "GdipSetInterpolationMode", loaded.SetInterpolationMode) ||
        !Take(library, "GdipDrawImageRectI", loaded.DrawImageRectI) ||
        !Take(library, "GdipDeleteGraphics", loaded.DeleteGraphics)) {
      return loaded;
    }
    ULONG_PTR token = 0;
    const ::Gdiplus::GdiplusStartupInput input;
    loaded.ready = startup(&token, &input, nullptr) == ::Gdiplus::Ok;
    return loaded;
  }();
  return api;
}

void DrawOutline(HDC dc, const BarRect& outline, COLORREF colour, int dpi) {
  const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, colour));
  const Selected brush(dc, GetStockObject(NULL_BRUSH));
  const Selected drawing(dc, pen);
  const RECT r = ScaledRect(outline, dpi);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

// The picture drawn at the scale, smoothly, over the window's background
// (which its transparent parts show).
HBITMAP ScaledBitmap(const GdiplusApi& gdiplus, ::Gdiplus::GpBitmap* image, SIZE size) {
  const ScreenDC screen;
  const MemoryDC memory(screen);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
  if (memory == nullptr || bitmap == nullptr) return nullptr;
  const Selected drawing(memory, bitmap);
  const RECT all{0, 0, size.cx, size.cy};
  FillRect(memory, &all, SolidBrush(kWindowBackground));
  ::Gdiplus::GpGraphics* graphics = nullptr;
  if (gdiplus.CreateFromHDC(memory, &graphics) == ::Gdiplus::Ok) {
    gdiplus.SetInterpolationMode(graphics, ::Gdiplus::InterpolationModeHighQualityBicubic);
    gdiplus.DrawImageRectI(graphics, image, 0, 0, size.cx, size.cy);
    gdiplus.DeleteGraphics(graphics);
  }
  return bitmap.Release();
}

}  // namespace

ButtonBarPicture::~ButtonBarPicture() { Clear(); }

void ButtonBarPicture::Clear() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  size_ = {0, 0};
}

void ButtonBarPicture::Load(const std::string& path, int dpi) {
  Clear();
  const GdiplusApi& gdiplus = GdiplusLibrary();
  if (!gdiplus.ready) return;
  ::Gdiplus::GpBitmap* image = nullptr;
  if (gdiplus.CreateBitmapFromFile(Widen(path).c_str(), &image) != ::Gdiplus::Ok || image == nullptr) return;
  UINT width = 0;
  UINT height = 0;
  if (gdiplus.GetImageWidth(image, &width) == ::Gdiplus::Ok &&
      gdiplus.GetImageHeight(image, &height) == ::Gdiplus::Ok) {
    size_ = {Scaled(static_cast<int>(width), dpi), Scaled(static_cast<int>(height), dpi)};
    if (dpi != kDesignDpi) {
      bitmap_ = ScaledBitmap(gdiplus, image, size_);
    } else {
      // Transparent parts of the picture show the window's background colour.
      const ::Gdiplus::ARGB background = 0xFF000000u | (GetRValue(kWindowBackground) << 16) |
                                         (GetGValue(kWindowBackground) << 8) | GetBValue(kWindowBackground);
      if (gdiplus.CreateHBITMAPFromBitmap(image, &bitmap_, background) != ::Gdiplus::Ok) bitmap_ = nullptr;
    }
  }
  if (bitmap_ == nullptr) size_ = {0, 0};
  gdiplus.DisposeImage(image);
}

void PaintButtonBar(HDC dc, int width, int height, const ButtonBarPicture& picture, std::string_view currentCommand,
                    int dpi) {
  if (dc == nullptr) return;
  const RECT bar{0, 0, width, height};
  FillRect(dc, &bar, SolidBrush(kWindowBackground));
  if (picture.Bitmap() != nullptr) {
    const MemoryDC source(dc);
    const Selected drawing(source, picture.Bitmap());
    BitBlt(dc, 0, 0, std::min<int>(width, picture.Size().cx), std::min<int>(height, picture.Size().cy), source, 0, 0,
           SRCCOPY);
  }
  for (const CommandInfo& command : kCommands) {
    if (command.outline) DrawOutline(dc, *command.outline, kOutlineColour, dpi);
  }
  if (const CommandInfo* current = HighlightedCommand(currentCommand)) {
    DrawOutline(dc, *current->outline, kHighlightColour, dpi);
  }
}

}  // namespace pravel::win32
