#include "Screen.h"

#include <gdiplus.h>

#include <cstdio>
#include <set>

namespace pravel::gui {

std::string Describe(const Rgb& colour) {
  char text[48];
  std::snprintf(text, sizeof text, "(%d, %d, %d)", colour.r, colour.g, colour.b);
  return text;
}

Capture::Capture(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr && bits != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      const auto* source = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(source, source + static_cast<std::size_t>(width) * height);
      for (std::uint32_t& p : pixels_) p &= 0x00FFFFFF;
      width_ = width;
      height_ = height;
    }
    SelectObject(memory, previous);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

Rgb Capture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
  const std::uint32_t p = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
}

std::size_t Capture::DistinctColours(int left, int top, int right, int bottom) const {
  std::set<std::uint32_t> colours;
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
      colours.insert(pixels_[static_cast<std::size_t>(y) * width_ + x]);
    }
  }
  return colours.size();
}

bool Capture::SavePng(const std::string& path) const {
  if (!Valid()) return false;
  // The pixels are 32-bit BGRX rows, which is GDI+'s 32bppRGB layout.
  Gdiplus::Bitmap image(width_, height_, width_ * 4, PixelFormat32bppRGB,
                        reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels_.data())));
  CLSID png;
  if (CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png) != S_OK) return false;
  std::wstring wide(path.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size()))));
  return image.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
}

PngEncoder::PngEncoder() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

PngEncoder::~PngEncoder() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace pravel::gui
