// The button bar as painted: the picture at its own size, clipped to the
// bar, the nine outlines, and the current command's outline in white.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ButtonBar.h"
#include "app/win32/ButtonBarPainter.h"

namespace pravel::win32 {
namespace {

const std::string kAssetPicture = std::string(PRAVEL_ASSETS_DIR) + "/" + kButtonBarPictureName;

// A 32-bit surface to paint on and read back.
class Surface {
 public:
  Surface(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

COLORREF PictureAt(const ButtonBarPicture& picture, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture.Bitmap());
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

TEST(ButtonBarPainter, OutlinesTheCurrentCommandInWhite) {
  const ButtonBarPicture noPicture;
  const char* currents[] = {"nuttin", "DoOpen", "SaveAsClick", "Columns", "OpenInput", "BuildHtml",
                            "SaveShowHtml", "PasteLink", "Exit", "buildhtml"};
  for (const char* current : currents) {
    Surface surface(kButtonBarWidth, kButtonBarHeight);
    PaintButtonBar(surface.Dc(), kButtonBarWidth, kButtonBarHeight, noPicture, current);
    for (const ButtonOutline& outline : kButtonOutlines) {
      const COLORREF expected = outline.command == current ? RGB(255, 255, 255) : RGB(166, 158, 128);
      const int middleX = (outline.left + outline.right) / 2;
      const int middleY = (outline.top + outline.bottom) / 2;
      EXPECT_EQ(surface.At(middleX, outline.top), expected) << current << " / " << outline.command << " top";
      EXPECT_EQ(surface.At(middleX, outline.bottom - 1), expected) << current << " / " << outline.command << " bottom";
      // Inside, the bar shows through (here: no picture, the background).
      EXPECT_EQ(surface.At(middleX, middleY), RGB(59, 25, 34)) << current << " / " << outline.command;
    }
  }
}

TEST(ButtonBarPainter, DrawsThePictureUnscaledAndClippedToTheBar) {
  ButtonBarPicture picture;
  picture.Load(kAssetPicture);
  ASSERT_NE(picture.Bitmap(), nullptr);

  Surface surface(kButtonBarWidth, 160);
  PaintButtonBar(surface.Dc(), kButtonBarWidth, kButtonBarHeight, picture, "nuttin");
  const POINT points[] = {{0, 0}, {80, 50}, {300, 100}, {599, 142}, {5, 140}, {560, 10}};
  for (const POINT& p : points) EXPECT_EQ(surface.At(p.x, p.y), PictureAt(picture, p.x, p.y)) << p.x << "," << p.y;
  // Nothing below the bar, although the picture is taller.
  for (int x : {0, 300, 599}) EXPECT_EQ(surface.At(x, 150), RGB(0, 0, 0)) << x;
}

TEST(ButtonBarPicture, DecodesOnlyAReadablePicture) {
  const std::string notAPicture = "not-a-picture.png";
  if (FILE* f = std::fopen(notAPicture.c_str(), "wb")) {
    std::fputs("menuname=<A>\r\n", f);
    std::fclose(f);
  }
  struct Case {
    std::string path;
    bool decoded;
    LONG width, height;
  };
  const Case cases[] = {
      {kAssetPicture, true, 600, 154},
      {"missing-picture.png", false, 0, 0},
      {notAPicture, false, 0, 0},
  };
  ButtonBarPicture picture;
  for (const Case& c : cases) {
    picture.Load(c.path);  // a failed load also drops the previous picture
    EXPECT_EQ(picture.Bitmap() != nullptr, c.decoded) << c.path;
    EXPECT_EQ(picture.Size().cx, c.width) << c.path;
    EXPECT_EQ(picture.Size().cy, c.height) << c.path;
  }
  std::remove(notAPicture.c_str());
}

}  // namespace
}  // namespace pravel::win32
