// The program's main window, built in the test process the way start-up
// builds it: host, workflow, window, controls and status line.
#pragma once

#include <windows.h>

#include "app/Workflow.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/Controls.h"
#include "app/win32/MainWindow.h"
#include "app/win32/MessageLoop.h"
#include "app/win32/SystemLibraries.h"
#include "app/win32/Win32Host.h"

namespace pravel::win32::test {

class ProgramWindow {
 public:
  ProgramWindow();
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  HWND Control(int id) const { return GetDlgItem(controls.main, id); }

  Controls controls;
  MessageLoop loop;
  SystemLibraries libraries;
  ButtonBarPicture picture;
  Win32Host host{controls, loop, libraries, picture};
  Workflow workflow{host, "C:\\start"};
  MainWindow window{GetModuleHandleA(nullptr), controls, workflow, host, picture};
};

// A window's text as another program reads it (WM_GETTEXT).
std::string TextOf(HWND window);

}  // namespace pravel::win32::test
