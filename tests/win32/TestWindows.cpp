#include "TestWindows.h"

#include "app/win32/RichEditPane.h"
#include "app/win32/Theme.h"

namespace pravel::win32::test {

TestWindow::TestWindow()
    : window_(CreateWindowExA(0, "STATIC", "test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {}

TestWindow::~TestWindow() { DestroyWindow(window_); }

HWND MakeRichEdit(HWND parent, int id) {
  LoadLibraryA("RICHED20.DLL");
  HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20a", nullptr,
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                                     WS_HSCROLL,
                                 0, 0, 400, 300, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  PrepareRichEdit(control, kFieldBackground);
  return control;
}

}  // namespace pravel::win32::test

#include "ProgramWindow.h"

namespace pravel::win32::test {

ProgramWindow::ProgramWindow() {
  LoadSystemLibraries(libraries);
  MainWindow::RegisterWindowClass(GetModuleHandleA(nullptr));
  const Fonts fonts = CreateFonts();
  window.Create(fonts);
  window.CreateStatusLine(fonts);
}

ProgramWindow::~ProgramWindow() {
  DestroyWindow(controls.main);
  // Destroying the window asks the loop to end; the next test runs on.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
  }
}

std::string TextOf(HWND window) {
  const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const auto copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

}  // namespace pravel::win32::test
