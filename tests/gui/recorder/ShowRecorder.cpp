// Stands in for the browser and the Internet-shortcut handler while the GUI
// tests run: the test prefix associates ".html" and ".url" with this program,
// so a "show" request of the program under test is written down (one line,
// the file it was asked to open) instead of starting a real browser.
//
// Command line: pravel-gui-recorder.exe LOG FILE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(result.size() - 1);
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 3) return 2;
  const std::string log = Narrow(args[1]);
  const std::string file = Narrow(args[2]);
  LocalFree(args);
  std::FILE* out = std::fopen(log.c_str(), "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\r\n", file.c_str());
  std::fclose(out);
  return 0;
}
