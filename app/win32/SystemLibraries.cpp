#include "app/win32/SystemLibraries.h"

#include <cstring>

namespace pravel::win32 {

namespace {

template <typename Fn>
bool Resolve(HMODULE library, const char* name, Fn& target, LoadFailure& failure) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (target != nullptr) return true;
  failure = {L"Function not found " + std::wstring(name, name + std::strlen(name)), 2};
  return false;
}

HMODULE Load(const wchar_t* name, LoadFailure& failure) {
  HMODULE library = LoadLibraryW(name);
  if (library == nullptr) failure = {std::wstring(L"Library not found  ") + name, 1};
  return library;
}

}  // namespace

LoadFailure LoadSystemLibraries(SystemLibraries& libraries) {
  LoadFailure failure;
  HMODULE shell = Load(L"shell32.dll", failure);
  if (shell == nullptr || !Resolve(shell, "ShellExecuteW", libraries.ShellExecuteW, failure)) return failure;
  LoadFailure optional;
  Resolve(shell, "DragQueryFileW", libraries.DragQueryFileW, optional);
  Resolve(shell, "DragFinish", libraries.DragFinish, optional);
  Resolve(shell, "CommandLineToArgvW", libraries.CommandLineToArgvW, optional);
  Resolve(shell, "SHGetKnownFolderPath", libraries.SHGetKnownFolderPath, optional);
  HMODULE ole = Load(L"ole32.dll", failure);
  if (ole == nullptr || !Resolve(ole, "OleInitialize", libraries.OleInitialize, failure) ||
      !Resolve(ole, "OleUninitialize", libraries.OleUninitialize, failure)) {
    return failure;
  }
  Resolve(ole, "CoTaskMemFree", libraries.CoTaskMemFree, optional);
  HMODULE dialogs = Load(L"comdlg32.dll", failure);
  if (dialogs == nullptr || !Resolve(dialogs, "GetOpenFileNameW", libraries.GetOpenFileNameW, failure)) return failure;
  Resolve(dialogs, "GetSaveFileNameW", libraries.GetSaveFileNameW, failure);
  return failure;
}

}  // namespace pravel::win32
