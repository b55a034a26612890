// Stands in for the browser and the Internet-shortcut handler while the GUI
// tests run: a "show" request of the program under test is written down
// (one line, in UTF-8, the file it was asked to open) instead of starting a
// real browser.
//
// Command line: pravel-gui-recorder.exe LOG FILE
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 3) return 2;
  std::string file(wcslen(args[2]) * 3 + 1, '\0');
  file.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, args[2], -1, file.data(), static_cast<int>(file.size()), nullptr, nullptr) - 1));
  std::FILE* out = _wfopen(args[1], L"ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\r\n", file.c_str());
  std::fclose(out);
  return 0;
}
