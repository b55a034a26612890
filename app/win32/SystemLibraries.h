// The system functions the program takes at run time: opening a file with
// its associated program, and OLE, which the button-bar picture is read
// through.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

namespace pravel::win32 {

using ShellExecuteWFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
using OleInitializeFn = HRESULT(WINAPI*)(LPVOID);
using OleUninitializeFn = void(WINAPI*)();
using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
using DragQueryFileWFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishFn = void(WINAPI*)(HDROP);
using CommandLineToArgvWFn = LPWSTR*(WINAPI*)(LPCWSTR, int*);
using SHGetKnownFolderPathFn = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
using CoTaskMemFreeFn = void(WINAPI*)(LPVOID);

struct SystemLibraries {
  ShellExecuteWFn ShellExecuteW = nullptr;
  OleInitializeFn OleInitialize = nullptr;
  OleUninitializeFn OleUninitialize = nullptr;  // resolved so a broken system shows at start-up
  // The file dialogs' library needs shell32 and ole32 itself: it is loaded
  // after them, so that a system without those gets the message that names
  // them instead of a program that does not start at all.
  FileDialogFn GetOpenFileNameW = nullptr;
  FileDialogFn GetSaveFileNameW = nullptr;
  // Files from outside: named on the command line or dropped on the window.
  // A shell32 without them only loses that way in.
  DragQueryFileWFn DragQueryFileW = nullptr;
  DragFinishFn DragFinish = nullptr;
  CommandLineToArgvWFn CommandLineToArgvW = nullptr;
  // Where the installed program finds the user's Documents folder, and
  // what frees the name it is given.
  SHGetKnownFolderPathFn SHGetKnownFolderPath = nullptr;
  CoTaskMemFreeFn CoTaskMemFree = nullptr;
};

// Why loading stopped: the message to show and the exit code.
struct LoadFailure {
  std::wstring message;
  int exitCode = 0;
};

// Loads "shell32.dll" and "ole32.dll" and resolves the three functions, in
// that order, then the file dialogs. The first missing library (exit code 1)
// or function (exit code 2) is returned; the caller reports it and ends the
// process.
LoadFailure LoadSystemLibraries(SystemLibraries& libraries);

}  // namespace pravel::win32
