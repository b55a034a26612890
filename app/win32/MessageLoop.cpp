#include "app/win32/MessageLoop.h"

#include "app/FlagScope.h"

namespace pravel::win32 {

void MessageLoop::Handle(const MSG& message) {
  if (keys_ != nullptr && TranslateAcceleratorW(window_, keys_, const_cast<MSG*>(&message))) return;
  if (window_ != nullptr && IsDialogMessageW(window_, const_cast<MSG*>(&message))) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int MessageLoop::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Handle(message);
  return static_cast<int>(message.wParam);
}

void MessageLoop::Pump() {
  if (pumping_) return;
  FlagScope pumping(pumping_);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop must still see it and end.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Handle(message);
  }
}

}  // namespace pravel::win32
