// pravel-gui-timing: times the four steps of the real Pravel.exe, driven from
// outside as a person would drive it (the same way the GUI tests do): clicks
// on the button bar, the open dialog filled in, message boxes answered.
//
// While a step runs, the window is asked every 50 ms to answer a message
// that does nothing; the longest wait for an answer says how long the window
// went without handling its messages (and so without repainting).
//
// Usage: pravel-gui-timing PRAVEL_EXE WORK_FOLDER DEFINITION_NAME
// The arguments are taken wide, so the work may lie in a folder named in any
// script, as the program itself allows.
// Prints one line per step: name, seconds, longest wait in seconds, boxes.
// A second use, pravel-gui-timing --shown LOG FILE, is the stand-in for the
// browser: the page the program shows is noted, and no browser starts.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/Workflow.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Encoding.h"
#include "tests/gui/PointerClick.h"

namespace {

using namespace pravel;
using namespace pravel::win32;

constexpr const wchar_t* kDesktop = L"PravelTiming";
constexpr DWORD kStepLimitMs = 10 * 60 * 1000;
constexpr int kFileNameField = 0x47C;  // the file name field of the open dialog

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "pravel-gui-timing: %s\n", why.c_str());
  std::fflush(stderr);
  ExitProcess(1);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::string TextOf(HWND window) {
  wchar_t text[4096] = L"";
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &copied);
  return Narrow(std::wstring_view(text, copied < 4096 ? copied : 0));
}

class Program {
 public:
  Program(const std::wstring& exe, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(kDesktop);
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process_)) {
      Fail("cannot start " + Narrow(exe));
    }
    if (!WaitFor([&] { return (main_ = FindMain()) != nullptr; }, 60000)) Fail("no main window within 60 s");
    WaitForInputIdle(process_.hProcess, 60000);
  }
  ~Program() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 0);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  HWND Main() const { return main_; }
  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
  std::string Caption() const {
    wchar_t text[512] = L"";
    GetWindowTextW(main_, text, 512);
    return Narrow(text);
  }

  // The program's visible dialog boxes (message boxes and file dialogs).
  std::vector<HWND> Boxes() const {
    struct Search {
      DWORD process;
      std::vector<HWND> found;
    } search{process_.dwProcessId, {}};
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == s->process && IsWindowVisible(w) && ClassOf(w) == L"#32770") s->found.push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND BoxTitled(const std::string& title) const {
    for (HWND box : Boxes()) {
      wchar_t caption[256] = L"";
      GetWindowTextW(box, caption, 256);
      if (title == Narrow(caption)) return box;
    }
    return nullptr;
  }

  // Moves the pointer onto the zone of the command and clicks there.
  void Click(std::string_view command) const {
    int x = 0;
    int y = 0;
    for (const CommandInfo& info : kCommands) {
      if (info.outline && info.name == command) {
        x = (info.outline->left + info.outline->right) / 2;
        y = (info.outline->top + info.outline->bottom) / 2;
      }
    }
    POINT target{x, y};
    ClientToScreen(GetDlgItem(main_, kIdButtonBarOverlay), &target);
    if (!ClickAt(target, 5000)) Fail("the pointer did not settle");
  }

  static bool WaitFor(const std::function<bool()>& done, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
      if (GetTickCount64() >= end) return false;
      Sleep(20);
    }
    return true;
  }

 private:
  HWND FindMain() const {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, kMainWindowClass, nullptr)) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == process_.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// One step watched from its click to its end: the time, the longest the
// window took to answer, and the message boxes answered on the way.
struct Step {
  double seconds = 0;
  double longestWait = 0;
  int boxes = 0;
};

// Runs until `finished` holds, answering every message box captioned
// "Pravel" with OK (its text goes to `lastBox`) and asking the window for an
// answer every 50 ms.
Step Watch(Program& app, double start, const std::function<bool(const std::string& lastBox)>& finished) {
  Step step;
  std::string lastBox;
  const double limit = start + kStepLimitMs / 1000.0;
  for (;;) {
    if (finished(lastBox)) break;
    if (!app.Running()) Fail("the program ended during a step");
    if (Now() > limit) Fail("a step did not finish within 10 minutes; caption: " + app.Caption());
    if (HWND box = app.BoxTitled("Pravel")) {
      lastBox = TextOf(GetDlgItem(box, 0xFFFF));
      ++step.boxes;
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      Program::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 20000);
      continue;
    }
    const double asked = Now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app.Main(), WM_NULL, 0, 0, SMTO_NORMAL, kStepLimitMs, &ignored);
    const double waited = Now() - asked;
    if (waited > step.longestWait) step.longestWait = waited;
    Sleep(50);
  }
  step.seconds = Now() - start;
  return step;
}

// Writes a value under HKEY_CURRENT_USER or HKEY_CLASSES_ROOT, making the key.
void SetRegistry(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
}

// Registers this program as the one that opens pages, in this Wine prefix.
void ShowPagesWithThisProgram(const std::wstring& self, const std::wstring& log) {
  for (const wchar_t* extension : {L".html", L".htm"})
    SetRegistry(HKEY_CLASSES_ROOT, extension, nullptr, L"PravelTimingPage");
  SetRegistry(HKEY_CLASSES_ROOT, L"PravelTimingPage\\shell\\open\\command", nullptr,
              L"\"" + self + L"\" --shown \"" + log + L"\" \"%1\"");
}

void UseOwnDesktop() {
  // A size for the desktop makes Wine draw it, frames and captions included,
  // as a window of its own on the display.
  SetRegistry(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", kDesktop, L"1280x1024");
  HDESK desktop = CreateDesktopW(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop == nullptr || !SetThreadDesktop(desktop)) Fail("cannot create the desktop");
}

void Print(const char* name, const Step& step) {
  std::printf("%s\t%.3f\t%.3f\t%d\n", name, step.seconds, step.longestWait, step.boxes);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--shown") {
    if (FILE* log = _wfopen(argv[2], L"ab")) {
      std::fprintf(log, "%s\n", Narrow(argv[3]).c_str());
      std::fclose(log);
    }
    return 0;
  }
  if (argc != 4) {
    std::fputs("Usage: pravel-gui-timing PRAVEL_EXE WORK_FOLDER DEFINITION_NAME\n", stderr);
    return 2;
  }
  const std::wstring exe = argv[1];
  const std::wstring folder = argv[2];
  const std::wstring definition = argv[3];
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ShowPagesWithThisProgram(self, folder + L"\\shown.log");
  UseOwnDesktop();

  Program app(exe, folder);

  // Open Input: from the dialog's OK to the pane loaded and the caption at
  // step 2 (the program answers only once the text is in the pane).
  app.Click("OpenInput");
  HWND dialog = nullptr;
  if (!Program::WaitFor([&] { return (dialog = app.BoxTitled("Load/Open  Input File   *.txt")) != nullptr; }, 60000)) {
    Fail("no open dialog");
  }
  SetDlgItemTextW(dialog, kFileNameField, definition.c_str());
  const double openStart = Now();
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Print("open", Watch(app, openStart, [&](const std::string&) {
          return !IsWindow(dialog) && app.Caption() == kCaptionStep2 && app.Boxes().empty();
        }));

  // Validate Input: until the report has been shown and the caption moved on.
  double start = Now();
  app.Click("ValidateInput");
  Print("validate", Watch(app, start, [&](const std::string& lastBox) {
          return lastBox.starts_with("Validation Results") && app.Caption() == kCaptionStep3 && app.Boxes().empty();
        }));

  // Build Html: the report of its own validation, then the build, until the
  // caption announces step 4 and no box is left.
  start = Now();
  app.Click("BuildHtml");
  Print("build",
        Watch(app, start, [&](const std::string&) { return app.Caption() == kCaptionStep4 && app.Boxes().empty(); }));

  // Save/Show Html: until the list of created files has been shown.
  start = Now();
  app.Click("SaveShowHtml");
  Print("saveshow", Watch(app, start, [&](const std::string& lastBox) {
          return lastBox.starts_with("The following files are newly created") && app.Boxes().empty();
        }));
  return 0;
}
