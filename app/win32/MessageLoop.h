// The message loop, and the pump that lets the window repaint in the middle
// of a command.
#pragma once

#include <windows.h>

namespace pravel::win32 {

class MessageLoop {
 public:
  // The window whose keys are taken from the table before the focused
  // control sees them, and whose controls Tab moves through.
  void UseKeys(HWND window, HACCEL keys) {
    window_ = window;
    keys_ = keys;
  }
  // Runs until WM_QUIT; returns its exit code.
  int Run();
  // Handles every message waiting, then returns. A pump asked for while one
  // runs returns at once.
  void Pump();

 private:
  void Handle(const MSG& message);

  bool pumping_ = false;
  HWND window_ = nullptr;
  HACCEL keys_ = nullptr;
};

}  // namespace pravel::win32
