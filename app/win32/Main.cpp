// Pravel.exe: start-up and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <new>

#include "app/Workflow.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/Controls.h"
#include "app/win32/MainWindow.h"
#include "app/win32/MessageLoop.h"
#include "app/win32/SystemLibraries.h"
#include "app/win32/Theme.h"
#include "app/win32/Win32Host.h"
#include "text/TextFile.h"

namespace {

using namespace pravel;
using namespace pravel::win32;

int Run(HINSTANCE instance) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  MainWindow::RegisterWindowClass(instance);

  Controls controls;
  MessageLoop loop;
  SystemLibraries libraries;
  ButtonBarPicture picture;
  Win32Host host(controls, loop, libraries, picture);
  Workflow workflow(host, CurrentDirectory());

  if (const LoadFailure failure = LoadSystemLibraries(libraries); failure.exitCode != 0) {
    MessageBoxW(nullptr, failure.message.c_str(), L"Pravel", MB_OK);
    return failure.exitCode;
  }

  const Fonts fonts = CreateFonts();
  MainWindow window(instance, controls, workflow, host, picture);
  if (!window.Create(fonts)) return 1;
  window.CreateStatusLine(fonts);
  window.Show();
  return loop.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    ExitProcess(static_cast<UINT>(Run(instance)));
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}
