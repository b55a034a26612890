// A left click at a point of the screen, as a mouse gives it. Under Wine the
// pointer takes a moment to settle where it was put, and a program reads it
// when the button is released: the click waits until the pointer has stayed
// put four looks in a row (false when it did not within the time given).
#pragma once

#include <windows.h>

inline bool ClickAt(POINT target, DWORD milliseconds) {
  int steady = 0;
  for (const ULONGLONG end = GetTickCount64() + milliseconds; steady < 4; Sleep(30)) {
    if (GetTickCount64() >= end) return false;
    SetCursorPos(target.x, target.y);
    Sleep(30);
    POINT now{};
    GetCursorPos(&now);
    steady = now.x == target.x && now.y == target.y ? steady + 1 : 0;
  }
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
  return true;
}
