// The main window: its class, its controls in creation order, and the
// handlers that turn the user's actions into the workflow's commands.
#pragma once

#include <windows.h>

#include "app/Workflow.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Controls.h"
#include "app/win32/Theme.h"
#include "app/win32/Win32Host.h"

namespace pravel::win32 {

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, Controls& controls, Workflow& workflow, Win32Host& host,
             const ButtonBarPicture& picture)
      : instance_(instance), controls_(controls), workflow_(workflow), host_(host), picture_(picture) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window class; before anything else, as the icons come with it.
  static bool RegisterWindowClass(HINSTANCE instance);

  // The main window, its tooltip and the controls above the status line.
  bool Create(const Fonts& fonts);
  void CreateStatusLine(const Fonts& fonts);
  void Show();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FindFieldProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static MainWindow* Of(HWND window);

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  RECT PlaceOf(ControlId id) const;
  HWND CreateInputPane(const RECT& place);
  HWND RenewInputPane(HWND old);
  void AddTip(HWND tool, const wchar_t* text);
  void OnSize(WPARAM kind);
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
  Fonts fonts_;
  WNDPROC buttonBarDefault_ = nullptr;
  WNDPROC findFieldDefault_ = nullptr;
  bool searching_ = false;
};

}  // namespace pravel::win32
