// The message loop, and the pump that lets the window repaint in the middle
// of a command.
#pragma once

#include <windows.h>

namespace pravel::win32 {

class MessageLoop {
 public:
  // Runs until WM_QUIT; returns its exit code.
  int Run();
  // Handles every message waiting, then returns. A pump asked for while one
  // runs returns at once.
  void Pump();

 private:
  void Handle(const MSG& message);

  bool pumping_ = false;
};

}  // namespace pravel::win32
