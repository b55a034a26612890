// Pravel.exe: start-up and the message loop.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <new>

#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/Controls.h"
#include "app/win32/Encoding.h"
#include "app/win32/MainWindow.h"
#include "app/win32/MessageLoop.h"
#include "app/win32/SystemLibraries.h"
#include "app/win32/Theme.h"
#include "app/win32/UserFolder.h"
#include "app/win32/Win32Host.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"
#include "tools/EditorTools.h"

namespace {

using namespace pravel;
using namespace pravel::win32;

// Help opens the Internet shortcut beside the program. One that is missing,
// or that points where there is no help page (the program was moved or
// unpacked elsewhere), is made anew for the help page beside the program.
void KeepHelpLinkBesideProgram() {
  const Text folder = ProgramFolder();
  if (folder.empty()) return;
  const Text page = PathIn(folder, kHelpPageName);
  const Text link = PathIn(folder, kHelpLinkName);
  if (!Exists(page)) return;
  Text current;
  FileRead(link, current);
  // A web address, or a page that is there, is the user's own choice.
  const std::optional<Text> target = HelpLinkFile(current);
  if (current.find("URL=") != Text::npos && (!target || (PathOf(*target).is_absolute() && Exists(*target)))) return;
  FileWriteText(link, HelpLinkText(page));
}

int Run(HINSTANCE instance) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  MainWindow::RegisterWindowClass(instance);

  Controls controls;
  MessageLoop loop;
  SystemLibraries libraries;
  ButtonBarPicture picture;
  Win32Host host(controls, loop, libraries, picture);
  Workflow workflow(host);

  if (const LoadFailure failure = LoadSystemLibraries(libraries); failure.exitCode != 0) {
    MessageBoxW(nullptr, failure.message.c_str(), L"Pravel", MB_OK);
    return failure.exitCode;
  }

  // Installed, the program works in the user's own folder, whatever folder
  // the shortcut or the shell started it in, and leaves its own folder as
  // the installer made it (the help link included). A file named on the
  // command line still takes it to that file's folder below.
  if (RunsInstalled()) {
    const UserFolder folder = PrepareUserFolder(libraries);
    if (folder.path.empty()) {
      MessageBoxW(nullptr, Widen("Pravel cannot make the folder for your files: " + folder.problem).c_str(), L"Pravel",
                  MB_OK);
    } else {
      SetCurrentDirectoryW(Widen(folder.path).c_str());
    }
  } else {
    KeepHelpLinkBesideProgram();
  }
  MainWindow window(instance, controls, workflow, host, picture, libraries);
  if (!window.Create()) return 1;
  window.CreateStatusLine();
  loop.UseKeys(controls.main, window.Keys());
  window.Show();
  // "Pravel.exe FILE" (a double click on a definition, a drop on the
  // program) opens it as Open Input does after its dialog.
  int count = 0;
  if (wchar_t** args =
          libraries.CommandLineToArgvW ? libraries.CommandLineToArgvW(GetCommandLineW(), &count) : nullptr) {
    if (count > 1) {
      wchar_t full[32768];
      const DWORD length = GetFullPathNameW(args[1], 32768, full, nullptr);
      window.OpenFromOutside(length > 0 && length < 32768 ? full : args[1]);
    }
    LocalFree(args);
  }
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
