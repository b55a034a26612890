// A long text the user can scroll: a modal box with the text in a
// read-only field and an OK button, for a report too long for a message
// box.
#pragma once

#include <windows.h>

#include <string>

namespace pravel::win32 {

void ShowLongText(HWND owner, const std::wstring& caption, const std::wstring& text);

}  // namespace pravel::win32
