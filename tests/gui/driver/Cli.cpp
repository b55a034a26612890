#include "Cli.h"

#include <windows.h>

#include "Files.h"
#include "GuiSetup.h"

namespace pravel::gui {

std::optional<unsigned long> RunCli(const std::string& folder, const std::string& arguments) {
  if (Paths().cli.empty()) return std::nullopt;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(JoinPath(folder, "cli-output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string commandLine = "\"" + Paths().cli + "\" " + arguments;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(Paths().cli.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &process);
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  if (!started) return std::nullopt;
  std::optional<unsigned long> result;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result = code;
  } else {
    TerminateProcess(process.hProcess, 99);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace pravel::gui
