// Windows the tests need: a top-level parent and a rich edit pane in it,
// made as the program makes its input pane.
#pragma once

#include <windows.h>

namespace pravel::win32::test {

// A hidden top-level window that owns the controls of one test.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

// A rich edit control prepared as the input pane is.
HWND MakeRichEdit(HWND parent, int id = 107);

}  // namespace pravel::win32::test
