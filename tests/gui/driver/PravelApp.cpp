#include "PravelApp.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "Files.h"
#include "GuiSetup.h"
#include "app/win32/ControlIds.h"

namespace pravel::gui {

namespace {

using namespace pravel::win32;

constexpr DWORD kSendTimeout = 15000;
constexpr int kFileNameField = 0x47C;  // cmb13: the file name field of Wine's dialogs

std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info == nullptr ? "outside" : std::string(info->test_suite_name()) + "." + info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

std::string ClassName(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// SendMessage that gives up instead of hanging on a program that stopped
// answering.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeout, &result) == 0) {
    ADD_FAILURE() << "the program did not answer message 0x" << std::hex << message << " within "
                  << std::dec << kSendTimeout / 1000 << " s";
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  if (window == nullptr) return {};
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
  const LRESULT copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

// The items of a list box or combo box. Asked for in UTF-16: Wine hands an
// item across processes as UTF-16 even to the ANSI call.
std::vector<std::string> ItemsOf(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::string> items;
  const LRESULT count = Send(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = Send(control, lengthMessage, i, 0);
    std::wstring wide(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(control, textMessage, i, reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL, kSendTimeout,
                            &copied) == 0) {
      ADD_FAILURE() << "the program did not give item " << i << " of a list";
      break;
    }
    wide.resize(std::min<std::size_t>(copied, static_cast<std::size_t>(std::max<LRESULT>(length, 0))));
    std::string item(wide.size() * 2 + 1, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), item.data(),
                                          static_cast<int>(item.size()), nullptr, nullptr);
    item.resize(static_cast<std::size_t>(std::max(bytes, 0)));
    items.push_back(item);
  }
  return items;
}

// Memory inside the program's process, for the rich edit messages whose
// records Wine does not carry across processes.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size) : process_(process), size_(size) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ == nullptr) ADD_FAILURE() << "cannot reserve memory in the program's process";
  }
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool Valid() const { return address_ != nullptr; }
  WPARAM Address() const { return reinterpret_cast<WPARAM>(address_); }
  bool Write(const void* bytes, std::size_t size) const {
    return size <= size_ && WriteProcessMemory(process_, address_, bytes, size, nullptr);
  }
  bool Read(void* bytes, std::size_t size) const {
    return size <= size_ && ReadProcessMemory(process_, address_, bytes, size, nullptr);
  }

 private:
  HANDLE process_;
  std::size_t size_;
  void* address_ = nullptr;
};

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(40);
  }
}

PravelApp::PravelApp() : testName_(CurrentTestName()) {
  folder_ = JoinPath(JoinPath(Paths().output, "work"), testName_);
  if (!RecreateFolder(folder_)) ADD_FAILURE() << "cannot make the work folder " << folder_;
  // What a user keeps beside the program; the program looks for the picture
  // in its current directory.
  for (const char* name : {"Pravel_600x154.png", "Pravel_Help.url", "Pravel_Help.html"}) {
    const std::string source = JoinPath(Paths().programDir, name);
    if (FileExists(source)) CopyOneFile(source, File(name));
  }
}

PravelApp::~PravelApp() {
  if (process_.hProcess == nullptr) return;
  if (Running()) {
    if (::testing::Test::HasFailure()) Screenshot("at-failure");
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::string PravelApp::File(const std::string& name) const { return JoinPath(folder_, name); }

bool PravelApp::CopyData(const std::string& name, const std::string& as) const {
  const bool copied = CopyOneFile(JoinPath(Paths().data, name), File(as.empty() ? name : as));
  if (!copied) ADD_FAILURE() << "cannot copy test data " << name;
  return copied;
}

bool PravelApp::Start() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<char*>(kDesktopName);
  std::string commandLine = "\"" + Paths().program + "\"";
  if (!CreateProcessA(Paths().program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &process_)) {
    ADD_FAILURE() << "cannot start " << Paths().program << " (error " << GetLastError() << ")";
    return false;
  }
  const DWORD id = process_.dwProcessId;
  const bool shown = WaitUntil(
      [&] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, kMainWindowClass, nullptr)) != nullptr;) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == id && IsWindowVisible(w)) {
            main_ = w;
            return true;
          }
        }
        return !Running();
      },
      kStartTimeout);
  if (main_ == nullptr) {
    ADD_FAILURE() << (shown ? "the program ended before it showed its window"
                            : "no visible window of class PravelMainWindow within 30 s");
    return false;
  }
  WaitForInputIdle(process_.hProcess, kStartTimeout);
  return true;
}

bool PravelApp::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> PravelApp::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND PravelApp::Control(int id) const { return GetDlgItem(main_, id); }

std::string PravelApp::Caption() const {
  char text[512] = "";
  GetWindowTextA(main_, text, sizeof text);
  return text;
}

std::string PravelApp::Status() const { return TextOf(Control(kIdStatusLine)); }

std::string PravelApp::ControlText(int id) const { return TextOf(Control(id)); }

std::string PravelApp::PaneText() const { return TextOf(Control(kIdInputPane)); }

long PravelApp::PaneLengthWithCrLf() const {
  RemoteBlock block(process_.hProcess, sizeof(GETTEXTLENGTHEX));
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, CP_ACP};
  if (!block.Valid() || !block.Write(&query, sizeof query)) return -1;
  return static_cast<long>(Send(Control(kIdInputPane), EM_GETTEXTLENGTHEX, block.Address(), 0));
}

std::pair<long, long> PravelApp::PaneSelection() const {
  RemoteBlock block(process_.hProcess, sizeof(CHARRANGE));
  CHARRANGE range{-1, -1};
  if (block.Valid()) {
    Send(Control(kIdInputPane), EM_EXGETSEL, 0, static_cast<LPARAM>(block.Address()));
    block.Read(&range, sizeof range);
  }
  return {range.cpMin, range.cpMax};
}

std::string PravelApp::PaneSelectedText() const {
  const auto [start, end] = PaneSelection();
  if (end <= start) return {};
  const std::size_t capacity = static_cast<std::size_t>(end - start) * 2 + 1;
  RemoteBlock block(process_.hProcess, capacity);
  if (!block.Valid()) return {};
  const LRESULT copied = Send(Control(kIdInputPane), EM_GETSELTEXT, 0, static_cast<LPARAM>(block.Address()));
  std::string text(capacity, '\0');
  block.Read(text.data(), capacity);
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(capacity))));
  return text;
}

std::vector<std::string> PravelApp::ComboEntries() const {
  return ItemsOf(Control(kIdGoToMenuNameCombo), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int PravelApp::ComboSelection() const { return static_cast<int>(Send(Control(kIdGoToMenuNameCombo), CB_GETCURSEL, 0, 0)); }

std::vector<std::string> PravelApp::ListItems(int id) const {
  return ItemsOf(Control(id), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int PravelApp::FocusedControl() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(process_.dwThreadId, &info) || info.hwndFocus == nullptr) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

void PravelApp::SetPaneText(const std::string& text) const {
  Send(Control(kIdInputPane), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PravelApp::SetPaneSelection(long start, long end) const { Send(Control(kIdInputPane), EM_SETSEL, start, end); }

void PravelApp::WaitUntilIdle() const {
  // Idle alone is not enough: a command that lets the window repaint is
  // idle for a moment in the middle. Two sent messages a little apart are
  // only both answered once any such pause has passed.
  WaitForInputIdle(process_.hProcess, kBoxTimeout);
  for (int i = 0; i < 2; ++i) {
    Sleep(60);
    Send(main_, WM_NULL, 0, 0);
  }
  WaitForInputIdle(process_.hProcess, kBoxTimeout);
}

void PravelApp::Click(int x, int y) {
  WaitUntilIdle();
  HWND overlay = Control(kIdButtonBarOverlay);
  ASSERT_NE(overlay, nullptr) << "the window has no button bar overlay (ID " << kIdButtonBarOverlay << ")";
  POINT target{x, y};
  ClientToScreen(overlay, &target);
  // Under Wine the pointer takes a moment to arrive where SetCursorPos put
  // it (the X pointer is warped, then read back): the program reads the
  // position when the button is released, so it must have settled first.
  int steady = 0;
  const bool settled = WaitUntil(
      [&] {
        SetCursorPos(target.x, target.y);
        Sleep(30);
        POINT now{};
        GetCursorPos(&now);
        steady = now.x == target.x && now.y == target.y ? steady + 1 : 0;
        return steady >= 4;
      },
      5000);
  ASSERT_TRUE(settled) << "the mouse pointer does not stay at (" << x << ", " << y << ") of the button bar";
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u) << "the mouse click could not be sent";
}

void PravelApp::Find(const std::string& text) const {
  Send(Control(kIdFindLinkField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PressEnterInFindField();
}

void PravelApp::PressEnterInFindField() const {
  // The key messages the keyboard puts in the program's queue for the field
  // (scan code 0x1C is Enter).
  WaitUntilIdle();
  HWND field = Control(kIdFindLinkField);
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageA(field, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
}

void PravelApp::ChooseGoToEntry(int index) const {
  WaitUntilIdle();
  HWND combo = Control(kIdGoToMenuNameCombo);
  Send(combo, CB_SETCURSEL, index, 0);
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(kIdGoToMenuNameCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

void PravelApp::RepaintButtonBar() const { InvalidateRect(Control(kIdButtonBarOverlay), nullptr, TRUE); }

void PravelApp::CloseWindow() const { PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::vector<Box> PravelApp::Boxes() const {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process_.dwProcessId, {}};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->process && IsWindowVisible(w) && ClassName(w) == "#32770") s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::vector<Box> boxes;
  for (HWND w : search.found) {
    char caption[512] = "";
    GetWindowTextA(w, caption, sizeof caption);
    boxes.push_back({w, caption, TextOf(GetDlgItem(w, 0xFFFF))});
  }
  return boxes;
}

std::optional<Box> PravelApp::WaitForBox(const std::string& caption, DWORD timeoutMs) const {
  std::optional<Box> found;
  WaitUntil(
      [&] {
        for (const Box& box : Boxes()) {
          if (box.caption == caption) {
            found = box;
            return true;
          }
        }
        return !Running();
      },
      timeoutMs);
  return found;
}

bool PravelApp::Press(const Box& box, int buttonId) const {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button == nullptr) {
    ADD_FAILURE() << "the box \"" << box.caption << "\" has no button " << buttonId;
    return false;
  }
  // Posted, not sent: the press may open a further box before it returns.
  PostMessageA(button, BM_CLICK, 0, 0);
  const bool gone = WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, kBoxTimeout);
  if (!gone) ADD_FAILURE() << "the box \"" << box.caption << "\" stays open after pressing button " << buttonId;
  return gone;
}

std::optional<std::string> PravelApp::ConfirmMessage(const std::string& step) {
  const std::optional<Box> box = WaitForBox("Pravel");
  if (!box) {
    ADD_FAILURE() << "no message box captioned \"Pravel\" within " << kBoxTimeout / 1000 << " s";
    return std::nullopt;
  }
  Screenshot(step);
  if (!Press(*box, IDOK)) return std::nullopt;
  return box->text;
}

bool PravelApp::NoBoxAppears() const {
  Sleep(kQuietTime);
  WaitForInputIdle(process_.hProcess, kBoxTimeout);
  return Boxes().empty();
}

bool PravelApp::OpenInOpenDialog(const std::string& fileName, std::string* nameShown) {
  const std::optional<Box> dialog = WaitForBox("Load/Open  Input File   *.txt", kStartTimeout);
  if (!dialog) {
    ADD_FAILURE() << "no open dialog titled \"Load/Open  Input File   *.txt\" within " << kStartTimeout / 1000 << " s";
    return false;
  }
  if (GetDlgItem(dialog->window, kFileNameField) == nullptr) {
    ADD_FAILURE() << "the open dialog has no file name field (ID 0x47C)";
    return false;
  }
  Screenshot("open-dialog");
  if (nameShown != nullptr) *nameShown = TextOf(GetDlgItem(dialog->window, kFileNameField));
  SetDlgItemTextA(dialog->window, kFileNameField, fileName.c_str());
  return Press(*dialog, IDOK);
}

bool PravelApp::SaveInSaveDialog(const std::string& fileName, std::string* nameShown,
                                 std::vector<std::string>* questions) {
  std::optional<Box> dialog;
  WaitUntil(
      [&] {
        for (const Box& box : Boxes()) {
          if (box.caption == "Save As" && GetDlgItem(box.window, kFileNameField) != nullptr) dialog = box;
        }
        return dialog.has_value() || !Running();
      },
      kStartTimeout);
  if (!dialog) {
    ADD_FAILURE() << "no save dialog titled \"Save As\" within " << kStartTimeout / 1000 << " s";
    return false;
  }
  if (nameShown != nullptr) *nameShown = TextOf(GetDlgItem(dialog->window, kFileNameField));
  SetDlgItemTextA(dialog->window, kFileNameField, fileName.c_str());
  Screenshot("save-dialog");
  PostMessageA(GetDlgItem(dialog->window, IDOK), BM_CLICK, 0, 0);
  // The dialog's own questions (replace, create) are owned by the dialog.
  const bool closed = WaitUntil(
      [&] {
        if (!IsWindow(dialog->window) || !IsWindowVisible(dialog->window)) return true;
        for (const Box& box : Boxes()) {
          if (GetWindow(box.window, GW_OWNER) == dialog->window) {
            if (questions != nullptr) questions->push_back(box.text);
            Press(box, GetDlgItem(box.window, IDYES) != nullptr ? IDYES : IDOK);
          }
        }
        return false;
      },
      kBoxTimeout);
  if (!closed) ADD_FAILURE() << "the save dialog stays open after Save with the name " << fileName;
  return closed;
}

bool PravelApp::CancelDialog(const std::string& title) {
  const std::optional<Box> dialog = WaitForBox(title, kStartTimeout);
  if (!dialog) {
    ADD_FAILURE() << "no dialog titled \"" << title << "\" within " << kStartTimeout / 1000 << " s";
    return false;
  }
  return Press(*dialog, IDCANCEL);
}

Capture PravelApp::CaptureButtonBar() const {
  RECT bar{};
  GetWindowRect(Control(kIdButtonBarOverlay), &bar);
  return Capture(bar);
}

Capture PravelApp::CaptureClient() const {
  RECT client{};
  GetClientRect(main_, &client);
  MapWindowPoints(main_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return Capture(client);
}

void PravelApp::Screenshot(const std::string& step) const {
  RECT area{};
  GetWindowRect(main_, &area);
  for (const Box& box : Boxes()) {
    RECT r{};
    GetWindowRect(box.window, &r);
    UnionRect(&area, &area, &r);
  }
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  IntersectRect(&area, &area, &desktop);
  const std::string path = NextScreenshotPath(testName_ + "-" + step);
  if (!Capture(area).SavePng(path)) ADD_FAILURE() << "cannot save the screenshot " << path;
}

}  // namespace pravel::gui
