// The button bar as it is seen: the picture at its own size from the bar's
// top-left corner, and the nine button outlines above it, the one of the
// current command in white.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pravel::win32 {

inline constexpr const char* kButtonBarPictureName = "Pravel_600x154.png";

// The decoded picture. The file is decoded by GDI+ into a plain bitmap, so
// the file itself is not held open and can be replaced while the program
// runs.
class ButtonBarPicture {
 public:
  ButtonBarPicture() = default;
  ~ButtonBarPicture();
  ButtonBarPicture(const ButtonBarPicture&) = delete;
  ButtonBarPicture& operator=(const ButtonBarPicture&) = delete;

  // Decodes the file, drawn at the window's DPI (smoothly scaled when that
  // is not 96); a file that is missing or not a picture leaves no picture,
  // without a message.
  void Load(const std::string& path, int dpi);
  void Clear();

  HBITMAP Bitmap() const { return bitmap_; }
  SIZE Size() const { return size_; }

 private:
  HBITMAP bitmap_ = nullptr;
  SIZE size_{0, 0};
};

// Paints the whole bar (width x height) into dc: the window background, the
// picture clipped to the bar, then the outlines, all at the window's DPI.
void PaintButtonBar(HDC dc, int width, int height, const ButtonBarPicture& picture, std::string_view currentCommand,
                    int dpi);

}  // namespace pravel::win32
