// The main window: its class, its controls in creation order, and the
// handlers that turn the user's actions into the workflow's commands.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/Workflow.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Controls.h"
#include "app/win32/Layout.h"
#include "app/win32/LinkCheckRun.h"
#include "app/win32/SystemLibraries.h"
#include "app/win32/Theme.h"
#include "app/win32/Win32Host.h"

namespace pravel::win32 {

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, Controls& controls, Workflow& workflow, Win32Host& host,
             const ButtonBarPicture& picture, const SystemLibraries& libraries)
      : instance_(instance),
        controls_(controls),
        workflow_(workflow),
        host_(host),
        picture_(picture),
        libraries_(libraries) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window class; before anything else, as the icons come with it.
  static bool RegisterWindowClass(HINSTANCE instance);

  // The main window at the display's DPI, its tooltips and the controls
  // above the status line.
  bool Create();
  void CreateStatusLine();
  void Show();
  // The keyboard's way to the commands, for the message loop.
  HACCEL Keys() const { return keys_; }
  // Open Input with a file from outside (the command line, a drop).
  void OpenFromOutside(const std::wstring& path);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FindFieldProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static MainWindow* Of(HWND window);

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND CreateControl(const ControlPlace& place);
  RECT RectOf(const ControlPlace& place) const;
  HFONT FontOf(const ControlPlace& place) const;
  HWND CreateInputPane(const RECT& rect);
  HWND RenewInputPane(HWND old);
  void AddTip(HWND tool, const wchar_t* text);
  void AddZoneTips();
  void OnSize(WPARAM kind);
  // The input pane and the sorted list in their places for the window's
  // size: the list, once shown, beside the pane and never over it.
  void PlacePaneAndList();
  // Everything laid out, lettered and drawn again at a new DPI.
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnKey(int key);
  // Ctrl+K: the links of the pane checked on a thread of their own, or a
  // running check stopped; its progress, and its report at its end.
  void StartOrStopCheck();
  void OnCheckProgress(std::size_t done, std::size_t total);
  void OnCheckEnded();
  void OnDrop(HDROP drop);
  // Whether the user's actions must wait: a command or a search is running
  // (its question box keeps a message loop going under it).
  bool Busy() const;
  void OnButtonBarRelease();
  void OnFindFieldEnter();
  void OnGoToMenuName();
  void DrawButtonBar(const DRAWITEMSTRUCT& item);
  LRESULT ControlColour(HDC dc, HWND control, UINT message);

  HINSTANCE instance_;
  Controls& controls_;
  Workflow& workflow_;
  Win32Host& host_;
  const ButtonBarPicture& picture_;
  const SystemLibraries& libraries_;
  Fonts fonts_;
  HACCEL keys_ = nullptr;
  HACCEL keysWhileChecking_ = nullptr;  // Esc too, which then stops the check
  std::unique_ptr<LinkCheckRun> check_;
  std::wstring statusBeforeCheck_;
  bool checkOverturned_ = false;  // stopped because the pane's text was replaced
  WNDPROC buttonBarDefault_ = nullptr;
  WNDPROC findFieldDefault_ = nullptr;
  WNDPROC paneDefault_ = nullptr;
  bool searching_ = false;
};

}  // namespace pravel::win32
