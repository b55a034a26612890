#include "app/win32/SystemLibraries.h"

namespace pravel::win32 {

namespace {

template <typename Fn>
bool Resolve(HMODULE library, const char* name, Fn& target, LoadFailure& failure) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (target != nullptr) return true;
  failure = {std::string("Function not found ") + name, 2};
  return false;
}

HMODULE Load(const char* name, LoadFailure& failure) {
  HMODULE library = LoadLibraryA(name);
  if (library == nullptr) failure = {std::string("Library not found  ") + name, 1};
  return library;
}

}  // namespace

LoadFailure LoadSystemLibraries(SystemLibraries& libraries) {
  LoadFailure failure;
  HMODULE shell = Load("shell32.dll", failure);
  if (shell == nullptr || !Resolve(shell, "ShellExecuteA", libraries.ShellExecuteA, failure)) return failure;
  HMODULE ole = Load("ole32.dll", failure);
  if (ole == nullptr || !Resolve(ole, "OleInitialize", libraries.OleInitialize, failure) ||
      !Resolve(ole, "OleUninitialize", libraries.OleUninitialize, failure)) {
    return failure;
  }
  HMODULE dialogs = Load("comdlg32.dll", failure);
  if (dialogs == nullptr || !Resolve(dialogs, "GetOpenFileNameA", libraries.GetOpenFileNameA, failure)) return failure;
  Resolve(dialogs, "GetSaveFileNameA", libraries.GetSaveFileNameA, failure);
  return failure;
}

}  // namespace pravel::win32
