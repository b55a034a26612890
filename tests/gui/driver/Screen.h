// Pixels of the virtual display, as a person would see them: what the tests
// check about colours and outlines, and the screenshots a person can look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pravel::gui {

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

std::string Describe(const Rgb& colour);

// A copy of a rectangle of the screen.
class Capture {
 public:
  Capture() = default;
  // Copies the screen rectangle (screen coordinates).
  explicit Capture(const RECT& area);

  bool Valid() const { return !pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // A pixel by its position inside the captured rectangle.
  Rgb At(int x, int y) const;
  // Distinct colours inside a part of the capture (to tell a picture from a
  // plain surface).
  std::size_t DistinctColours(int left, int top, int right, int bottom) const;
  bool SavePng(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, rows top down
};

// GDI+ holds the PNG encoder; started once for the run.
class PngEncoder {
 public:
  PngEncoder();
  ~PngEncoder();
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace pravel::gui
