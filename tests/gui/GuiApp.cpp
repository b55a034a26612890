#include "GuiApp.h"

#include <gdiplus.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/win32/ControlIds.h"

namespace pravel::gui {

namespace {

constexpr DWORD kTimeout = 30000;
constexpr int kFileNameField = 0x47C;  // cmb13: the file name field of Wine's dialogs

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeout) {
  for (const ULONGLONG end = GetTickCount64() + timeoutMs;; Sleep(40)) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
  }
}

// A message that gives up instead of hanging on a program that stopped
// answering.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 15000, &result)) {
    ADD_FAILURE() << "the program did not answer message 0x" << std::hex << message;
  }
  return static_cast<LRESULT>(result);
}

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return info ? std::string(info->test_suite_name()) + "." + info->name() : "setup";
}

}  // namespace

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

std::wstring Setting(const char* name) {
  const char* value = std::getenv(name);
  std::wstring path = Wide(value ? value : "");
  if (path.starts_with(L"/")) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path = L"Z:" + path;
  }
  return path;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  if (std::FILE* f = _wfopen(path.c_str(), L"rb")) {
    char piece[65536];
    for (std::size_t got; (got = std::fread(piece, 1, sizeof piece, f)) > 0;) bytes.append(piece, got);
    std::fclose(f);
  }
  return bytes;
}

bool FreshFolder(const std::wstring& path) {
  std::wstring from = path + L'\0';  // a list of names, ended by an empty one
  SHFILEOPSTRUCTW remove{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
  SHFileOperationW(&remove);
  return SHCreateDirectoryExW(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS;
}

DWORD RunCli(const std::wstring& folder, const std::wstring& arguments) {
  std::wstring command = L"\"" + Setting("PRAVEL_GUI_CLI") + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                      &startup, &process)) {
    return 999;
  }
  DWORD code = 998;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

GuiApp::GuiApp(std::wstring folder, std::wstring program, double scale)
    : folder_(std::move(folder)), program_(std::move(program)), scale_(scale) {
  if (!program_.empty()) return;
  program_ = Setting("PRAVEL_GUI_PROGRAM");
  EXPECT_TRUE(FreshFolder(folder_)) << Utf8(folder_);
  const std::wstring besideProgram = program_.substr(0, program_.find_last_of(L'\\'));
  for (const wchar_t* name : {L"Pravel_600x154.png", L"Pravel_Help.url", L"Pravel_Help.html"}) {
    CopyFileW((besideProgram + L"\\" + name).c_str(), File(name).c_str(), FALSE);
  }
}

GuiApp::~GuiApp() {
  if (process_.hProcess == nullptr) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    if (::testing::Test::HasFailure()) Screenshot("at-failure");
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

void GuiApp::CopyData(const std::wstring& name, const std::wstring& as) const {
  EXPECT_TRUE(CopyFileW((Setting("PRAVEL_GUI_DATA") + L"\\" + name).c_str(), File(as.empty() ? name : as).c_str(), FALSE))
      << "test data " << Utf8(name);
}

bool GuiApp::Start(const std::wstring& arguments) {
  const std::wstring& program = program_;
  std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(L"PravelGui");
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                      &process_)) {
    ADD_FAILURE() << "cannot start Pravel.exe, error " << GetLastError();
    return false;
  }
  WaitUntil([&] {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"PravelMainWindow", nullptr)) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == process_.dwProcessId && IsWindowVisible(w)) main_ = w;
    }
    return main_ != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  });
  if (main_ == nullptr) ADD_FAILURE() << "no main window within 30 s";
  WaitForInputIdle(process_.hProcess, kTimeout);
  return main_ != nullptr;
}

DWORD GuiApp::WaitForExit() {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process_.hProcess, kTimeout) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::wstring GuiApp::WindowText(HWND window) const {
  if (window == nullptr) return {};
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::wstring GuiApp::Caption() const { return WindowText(main_); }

std::wstring GuiApp::PaneText() const { return WindowText(GetDlgItem(main_, win32::kIdInputPane)); }

std::wstring GuiApp::CaptionOnceItIs(const std::wstring& expected) const {
  WaitUntil([&] { return Caption() == expected; }, 10000);
  return Caption();
}

void GuiApp::WaitUntilIdle() const {
  // A command that lets the window repaint is idle for a moment in its
  // middle; two messages a little apart are answered only once it is done.
  for (int i = 0; i < 2; ++i) {
    WaitForInputIdle(process_.hProcess, kTimeout);
    Sleep(60);
    Send(main_, WM_NULL, 0, 0);
  }
}

void GuiApp::Click(int x, int y) {
  WaitUntilIdle();
  POINT target{static_cast<LONG>(x * scale_), static_cast<LONG>(y * scale_)};
  ClientToScreen(GetDlgItem(main_, win32::kIdButtonBarOverlay), &target);
  // Under Wine the pointer takes a moment to settle where it was put, and
  // the program reads it when the button is released.
  int steady = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        SetCursorPos(target.x, target.y);
        Sleep(30);
        POINT now{};
        GetCursorPos(&now);
        steady = now.x == target.x && now.y == target.y ? steady + 1 : 0;
        return steady >= 4;
      },
      5000));
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
}

void GuiApp::Keys(std::initializer_list<WORD> keys, bool control) {
  WaitUntilIdle();
  // To the box on top, if one is up; the window otherwise.
  const std::vector<Box> boxes = Boxes();
  SetForegroundWindow(boxes.empty() ? main_ : boxes.front().window);
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD vk, DWORD up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up;
    inputs.push_back(input);
  };
  for (WORD key : keys) {
    if (control) add(VK_CONTROL, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (control) add(VK_CONTROL, KEYEVENTF_KEYUP);
  }
  // In one go: a key after the first arrives while its command runs.
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::vector<Box> GuiApp::Boxes() const {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process_.dwProcessId, {}};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        wchar_t name[16] = L"";
        GetWindowThreadProcessId(w, &owner);
        GetClassNameW(w, name, 16);
        if (owner == s->process && IsWindowVisible(w) && std::wstring(name) == L"#32770") s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::vector<Box> boxes;
  for (HWND w : search.found) boxes.push_back({w, WindowText(w), WindowText(GetDlgItem(w, 0xFFFF))});
  return boxes;
}

std::optional<Box> GuiApp::WaitForBox(const std::wstring& caption, DWORD timeoutMs) const {
  std::optional<Box> found;
  WaitUntil(
      [&] {
        for (const Box& box : Boxes()) {
          if (box.caption == caption) found = box;
        }
        return found.has_value() || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  if (!found) ADD_FAILURE() << "no box \"" << Utf8(caption) << "\" within " << timeoutMs / 1000 << " s";
  return found;
}

bool GuiApp::Press(const Box& box, int button) const {
  // Posted, not sent: the press may open a further box before it returns.
  PostMessageW(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
  const bool gone = WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
  if (!gone) ADD_FAILURE() << "the box \"" << Utf8(box.caption) << "\" stays open";
  return gone;
}

std::vector<std::wstring> GuiApp::Messages(const std::string& step) {
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

bool GuiApp::Quiet() const {
  Sleep(800);
  WaitUntilIdle();
  return Boxes().empty();
}

bool GuiApp::OpenInDialog(const std::wstring& fileName) {
  const std::optional<Box> dialog = WaitForBox(L"Load/Open  Input File   *.txt");
  if (!dialog) return false;
  Screenshot("open-dialog");
  SetDlgItemTextW(dialog->window, kFileNameField, fileName.c_str());
  return Press(*dialog, IDOK);
}

void GuiApp::Screenshot(const std::string& step) const {
  // The whole virtual desktop: the window and whatever box it shows.
  static int count = 0;
  RECT area{};
  GetWindowRect(GetDesktopWindow(), &area);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, area.right, area.bottom, screen, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  const std::wstring path = Setting("PRAVEL_GUI_SCREENSHOTS") + L"\\" + std::to_wstring(++count) + L"-" +
                            Wide(TestName() + "-" + step) + L".png";
  CLSID png;
  CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
  EXPECT_EQ(Gdiplus::Bitmap(bitmap, nullptr).Save(path.c_str(), &png, nullptr), Gdiplus::Ok) << Utf8(path);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace pravel::gui
