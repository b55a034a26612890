// One run of the real Pravel.exe under Wine, driven from outside as a person
// would: the mouse on the button bar, keys, the message boxes and the open
// dialog, and what the window shows, read through the wide API. Every wait
// has a deadline; one that runs out records a failure and returns, so a
// program that misbehaves fails the test instead of hanging it.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "PointerClick.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Encoding.h"

namespace pravel::gui {

using win32::Narrow;
constexpr DWORD kTimeout = 30000;

inline bool WaitUntil(const std::function<bool()>& condition) {
  for (const ULONGLONG end = GetTickCount64() + kTimeout; !condition(); Sleep(40)) {
    if (GetTickCount64() >= end) return false;
  }
  return true;
}

// A message that gives up instead of hanging on a program that stopped
// answering.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 15000, &result)) {
    ADD_FAILURE() << "the program did not answer message 0x" << std::hex << message;
  }
  return static_cast<LRESULT>(result);
}

inline std::wstring WindowText(HWND window) {
  if (window == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH, 0, 0), 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// What the driver was given (Linux paths) as Windows paths.
inline std::wstring Setting(const char* name) {
  const wchar_t* value = _wgetenv(win32::Widen(name).c_str());  // wide: any folder, in any script
  std::wstring path = value ? value : L"";
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path.starts_with(L"\\") ? L"Z:" + path : path;
}

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// A fresh, empty folder (and its parents).
inline bool FreshFolder(const std::wstring& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  return std::filesystem::create_directories(path, ec);
}

// On the test's desktop, or with no window at all.
inline PROCESS_INFORMATION Launch(const std::wstring& program, const std::wstring& arguments,
                                  const std::wstring& folder, wchar_t* desktop) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop;
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, desktop ? 0 : CREATE_NO_WINDOW, nullptr,
                             folder.c_str(), &startup, &process))
      << "cannot start " << Narrow(program);
  return process;
}

// The exit code; STILL_ACTIVE when the process did not end within the deadline.
inline DWORD ExitCode(HANDLE process, DWORD milliseconds = kTimeout) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  return code;
}

// pravel-cli.exe in the folder; its exit code.
inline DWORD RunCli(const std::wstring& folder, const std::wstring& arguments) {
  const PROCESS_INFORMATION process = Launch(Setting("PRAVEL_GUI_CLI"), arguments, folder, nullptr);
  const DWORD code = ExitCode(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

struct Box {
  HWND window = nullptr;
  std::wstring caption, text;  // the text's line breaks as shown (CR LF)
};

// That part of the screen, as a PNG file.
inline void Capture(const RECT& area, const std::wstring& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, previous);
  CLSID png;
  CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
  EXPECT_EQ(Gdiplus::Bitmap(bitmap, nullptr).Save(path.c_str(), &png, nullptr), Gdiplus::Ok) << Narrow(path);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

class GuiApp {
 public:
  // The program built, in a fresh folder with the picture and the help
  // link beside it as a user keeps them; or the given program in the
  // folder as it is. `scale` is the display's, for clicks.
  explicit GuiApp(std::wstring folder, std::wstring program = {}, double scale = 1.0)
      : folder_(std::move(folder)), program_(std::move(program)), scale_(scale) {
    if (!program_.empty()) return;
    program_ = Setting("PRAVEL_GUI_PROGRAM");
    EXPECT_TRUE(FreshFolder(folder_)) << Narrow(folder_);
    const std::wstring beside = program_.substr(0, program_.find_last_of(L'\\') + 1);
    for (const wchar_t* name : {L"Pravel_600x154.png", L"Pravel_Help.url", L"Pravel_Help.html"}) {
      CopyFileW((beside + name).c_str(), File(name).c_str(), FALSE);
    }
  }
  ~GuiApp() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      if (::testing::Test::HasFailure()) Screenshot("at-failure");
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  std::wstring File(const std::wstring& name) const { return folder_ + L"\\" + name; }
  // Copies files of the test data into the folder.
  void CopyData(std::initializer_list<const wchar_t*> names, const std::wstring& into = {}) const {
    for (const wchar_t* name : names) {
      EXPECT_TRUE(CopyFileW((Setting("PRAVEL_GUI_DATA") + L"\\" + name).c_str(), File(into + name).c_str(), FALSE))
          << Narrow(name);
    }
  }

  bool Start(const std::wstring& arguments = {}) {
    process_ = Launch(program_, arguments, folder_, const_cast<wchar_t*>(L"PravelGui"));
    WaitUntil([&] {
      for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"PravelMainWindow", nullptr)) != nullptr;) {
        if (Owner(w) == process_.dwProcessId && IsWindowVisible(w)) main_ = w;
      }
      return main_ != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
    EXPECT_NE(main_, nullptr) << "no main window within 30 s";
    WaitUntilIdle();
    return main_ != nullptr;
  }
  DWORD WaitForExit() const { return ExitCode(process_.hProcess); }
  HWND Main() const { return main_; }
  std::wstring Caption() const { return WindowText(main_); }
  std::wstring PaneText() const { return WindowText(GetDlgItem(main_, win32::kIdInputPane)); }

  // A click on the button bar at its point (x, y) as drawn at 100 %.
  void Click(int x, int y) {
    WaitUntilIdle();
    POINT target{static_cast<LONG>(x * scale_), static_cast<LONG>(y * scale_)};
    ClientToScreen(GetDlgItem(main_, win32::kIdButtonBarOverlay), &target);
    EXPECT_TRUE(ClickAt(target, kTimeout)) << "the pointer did not settle";
  }
  // Keys pressed one after the other, each with Ctrl when asked, as the
  // keyboard gives them to the window (or to the box on top of it), all in
  // one go: a key after the first arrives while its command runs.
  void Keys(std::initializer_list<WORD> keys, bool control = true) {
    WaitUntilIdle();
    const std::vector<Box> boxes = Boxes();
    SetForegroundWindow(boxes.empty() ? main_ : boxes.front().window);
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD key, DWORD up) {
      inputs.emplace_back().type = INPUT_KEYBOARD;
      inputs.back().ki.wVk = key;
      inputs.back().ki.dwFlags = up;
    };
    for (WORD key : keys) {
      if (control) add(VK_CONTROL, 0);
      add(key, 0);
      add(key, KEYEVENTF_KEYUP);
      if (control) add(VK_CONTROL, KEYEVENTF_KEYUP);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

  std::optional<Box> WaitForBox(const std::wstring& caption) const {
    std::optional<Box> found;
    WaitUntil([&] {
      for (const Box& box : Boxes()) {
        if (box.caption == caption) found = box;
      }
      return found.has_value() || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
    if (!found) ADD_FAILURE() << "no box \"" << Narrow(caption) << "\" within 30 s";
    return found;
  }
  // Steps 2 to 4 by their keys, every box answered: the texts of Save/Show's.
  std::vector<std::wstring> ValidateBuildSave() {
    Keys({'2'});
    Messages("validated");
    Keys({'3'});
    Messages("built");
    Keys({'4'});
    return Messages("saved");
  }
  // Every message box captioned "Pravel" that comes up until the program
  // is quiet: a screenshot of each, OK, and their texts.
  std::vector<std::wstring> Messages(const std::string& step) {
    std::vector<std::wstring> texts;
    for (int quietLooks = 0; quietLooks < 3;) {
      WaitUntilIdle();
      std::optional<Box> box;
      for (const Box& shown : Boxes()) {
        if (shown.caption == L"Pravel") box = shown;
      }
      if (!box) {
        ++quietLooks;
        Sleep(300);
        continue;
      }
      quietLooks = 0;
      Screenshot(step);
      texts.push_back(box->text);
      if (!Press(*box, IDOK)) break;
    }
    return texts;
  }
  // The question the program asks (a "Pravel" box with Yes and No),
  // answered; its text.
  std::wstring Answer(bool yes) {
    const std::optional<Box> box = WaitForBox(L"Pravel");
    if (!box) return {};
    Screenshot(yes ? "answered-yes" : "answered-no");
    Press(*box, yes ? IDYES : IDNO);
    return box->text;
  }
  // The text put on the clipboard and pasted at the end of the pane, as a
  // user pastes it.
  void PasteAtEnd(const std::wstring& text) {
    WaitUntilIdle();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    HWND pane = GetDlgItem(main_, win32::kIdInputPane);
    const LRESULT end = Send(pane, WM_GETTEXTLENGTH, 0, 0);
    Send(pane, EM_SETSEL, end, end);
    Send(pane, WM_PASTE, 0, 0);
  }
  // Text typed into the window, character by character.
  void Type(const std::wstring& text) {
    WaitUntilIdle();
    SetForegroundWindow(main_);
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
      for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        inputs.emplace_back().type = INPUT_KEYBOARD;
        inputs.back().ki.wScan = c;
        inputs.back().ki.dwFlags = KEYEVENTF_UNICODE | up;
      }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    WaitUntilIdle();
  }
  // An entry of the go-to list chosen, as a click on it confirms it.
  void GoTo(const std::wstring& entry) {
    WaitUntilIdle();
    HWND combo = GetDlgItem(main_, win32::kIdGoToMenuNameCombo);
    const LRESULT index = Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(entry.c_str()));  // the text is copied across processes
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(win32::kIdGoToMenuNameCombo, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(combo));
    WaitUntilIdle();
  }
  // Where the pane's selection starts, in the pane's characters (a line
  // break is one).
  LONG SelectionStart() const { return LOWORD(Send(GetDlgItem(main_, win32::kIdInputPane), EM_GETSEL, 0, 0)); }
  // Alt+F4, as the keyboard gives it to the window.
  void AltF4() {
    WaitUntilIdle();
    SetForegroundWindow(main_);
    INPUT keys[4]{};
    const WORD order[4][2] = {{VK_MENU, 0}, {VK_F4, 0}, {VK_F4, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wVk = order[i][0];
      keys[i].ki.dwFlags = order[i][1];
    }
    SendInput(4, keys, sizeof(INPUT));
  }
  // A file dialog with that title: the name typed into its file name field
  // (cmb13) unless the offered one is kept, then OK.
  bool InFileDialog(const std::wstring& title, const std::wstring& fileName = {}) {
    const std::optional<Box> dialog = WaitForBox(title);
    if (!dialog) return false;
    Screenshot("file-dialog");
    if (!fileName.empty()) SetDlgItemTextW(dialog->window, 0x47C, fileName.c_str());
    return Press(*dialog, IDOK);
  }
  bool OpenInDialog(const std::wstring& fileName) { return InFileDialog(L"Load/Open  Input File   *.txt", fileName); }
  // The whole virtual desktop: the window and whatever box it shows.
  void Screenshot(const std::string& step) const {
    static int count = 0;
    RECT area{};
    GetWindowRect(GetDesktopWindow(), &area);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    Capture(area, Setting("PRAVEL_GUI_SCREENSHOTS") + L"\\" + std::to_wstring(++count) + L"-" +
                      win32::Widen(std::string(test->test_suite_name()) + "." + test->name() + "-" + step) + L".png");
  }
  // Only the window and the boxes it shows, as a picture for the guide.
  void Picture(const std::wstring& name) const {
    WaitUntilIdle();
    RECT area{};
    GetWindowRect(main_, &area);
    for (const Box& box : Boxes()) {
      RECT shown{};
      GetWindowRect(box.window, &shown);
      UnionRect(&area, &area, &shown);
    }
    Capture(area, Setting("PRAVEL_GUI_PICTURES") + L"\\" + name + L".png");
  }

 private:
  static DWORD Owner(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner;
  }
  void WaitUntilIdle() const {
    // A command that lets the window repaint is idle for a moment in its
    // middle; two messages a little apart are answered only once it is done.
    for (int i = 0; i < 2; ++i) {
      WaitForInputIdle(process_.hProcess, kTimeout);
      Sleep(60);
      Send(main_, WM_NULL, 0, 0);
    }
  }
  std::vector<Box> Boxes() const {
    std::vector<Box> boxes;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
      if (Owner(w) == process_.dwProcessId && IsWindowVisible(w)) {
        boxes.push_back({w, WindowText(w), WindowText(GetDlgItem(w, 0xFFFF))});
      }
    }
    return boxes;
  }
  // Posted, not sent: the press may open a further box before it returns.
  bool Press(const Box& box, int button) const {
    PostMessageW(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
    const bool gone = WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
    if (!gone) ADD_FAILURE() << "the box \"" << Narrow(box.caption) << "\" stays open";
    return gone;
  }

  std::wstring folder_;
  std::wstring program_;
  double scale_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// The program and the driver share a virtual desktop of their own, with
// room for the window at 144 DPI, so Wine draws the window frames itself
// (the display has no window manager); pages and Internet shortcuts open
// with the recorder, which writes down what it was asked to show.
inline int RunDriver(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  SetProcessDPIAware();  // clicks and sizes in the display's own pixels
  const auto set = [](HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
  };
  set(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", L"PravelGui", L"1600x1200");
  SetThreadDesktop(CreateDesktopW(L"PravelGui", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
  const std::wstring log = Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log";
  DeleteFileW(log.c_str());
  for (const wchar_t* extension : {L".html", L".url"}) set(HKEY_CLASSES_ROOT, extension, nullptr, L"PravelTestFile");
  set(HKEY_CLASSES_ROOT, L"PravelTestFile\\shell\\open\\command", nullptr,
      L"\"" + Setting("PRAVEL_GUI_RECORDER") + L"\" \"" + log + L"\" \"%1\"");
  FreshFolder(Setting("PRAVEL_GUI_SCREENSHOTS"));
  ULONG_PTR gdiplus = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
  const int result = RUN_ALL_TESTS();
  Gdiplus::GdiplusShutdown(gdiplus);
  return result;
}

}  // namespace pravel::gui
