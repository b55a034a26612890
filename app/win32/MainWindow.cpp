#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <new>
#include <string_view>
#include <vector>

#include "app/Commands.h"
#include "app/FlagScope.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Encoding.h"
#include "app/win32/Gdi.h"
#include "app/win32/Layout.h"
#include "app/win32/ReportBox.h"
#include "definition/MenuNames.h"
#include "text/TextFile.h"

namespace pravel::win32 {

namespace {

constexpr const char* kInitialPaneText = "Paste  [InputFile]  into here  OR  [Open Input]  file. ";

// The keyboard's way to the commands: every key of the command table, each
// numbered after its row; Esc only while a link check runs.
HACCEL CreateKeys(bool checking) {
  std::vector<ACCEL> table;
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    if (kCommands[i].command == Command::StopCheck && !checking) continue;
    for (const CommandKey& key : kCommands[i].keys) {
      if (key.code == 0) continue;
      const BYTE modifiers = FVIRTKEY | (key.control ? FCONTROL : 0) | (key.shift ? FSHIFT : 0);
      table.push_back(ACCEL{modifiers, static_cast<WORD>(key.code), static_cast<WORD>(i + 1)});
    }
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

const ControlPlace& PlaceOf(ControlId id) {
  for (const ControlPlace& place : ControlTable()) {
    if (place.id == id) return place;
  }
  return ControlTable().front();  // not reached: every control has its row
}

// The window's pixels per inch; for no window, the display's.
int WindowDpi(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = reinterpret_cast<ForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window != nullptr && forWindow != nullptr) return static_cast<int>(forWindow(window));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

SIZE OuterSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

int ClientWidth(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect.right - rect.left;
}

// Runs a handler; nothing it throws may cross the system's window code.
template <typename Handler>
void Guarded(HWND owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  } catch (const std::exception& error) {
    MessageBoxW(owner, Widen(error.what()).c_str(), L"Pravel", MB_OK | MB_SETFOREGROUND);
  }
}

}  // namespace

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, L"AppIco", IMAGE_ICON, 32, 32, 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"AppIco", IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = SolidBrush(kWindowBackground);
  windowClass.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

bool MainWindow::Create() {
  // Made at the display's size, then laid out at the window's own DPI.
  const int systemDpi = WindowDpi(nullptr);
  HWND main = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, kMainWindowClass, Widen(kCaptionStep1).c_str(),
                              WS_OVERLAPPEDWINDOW, Scaled(kWindowPosition.x, systemDpi),
                              Scaled(kWindowPosition.y, systemDpi), Scaled(kWindowSize.cx, systemDpi),
                              Scaled(kWindowSize.cy, systemDpi), nullptr, nullptr, instance_, this);
  if (main == nullptr) return false;
  controls_.main = main;
  controls_.dpi = WindowDpi(main);
  fonts_ = CreateFonts(controls_.dpi);
  SendMessageW(main, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.large), TRUE);
  keys_ = CreateKeys(false);
  keysWhileChecking_ = CreateKeys(true);
  check_ = std::make_unique<LinkCheckRun>(main);
  host_.OnPaneChange([this] {
    if (!check_->Running()) return;
    checkOverturned_ = true;
    check_->Stop();
  });

  controls_.tooltip =
      CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOANIMATE, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main, nullptr, instance_, nullptr);
  SendMessageW(controls_.tooltip, TTM_ACTIVATE, TRUE, 0);
  AddTip(main, L"f as Form");

  CreateControls();
  FitGoToList(controls_);
  AddZoneTips();
  return true;
}

void MainWindow::AddZoneTips() {
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    const CommandInfo& command = kCommands[i];
    if (!command.outline || command.tip.empty()) continue;
    const std::wstring text = Widen(command.tip);
    TOOLINFOW tip{};
    tip.cbSize = TTTOOLINFOW_V2_SIZE;
    tip.uFlags = TTF_SUBCLASS;
    tip.hwnd = controls_.buttonBarOverlay;
    tip.uId = i + 1;
    tip.rect = ScaledRect(*command.outline, controls_.dpi);
    tip.lpszText = const_cast<wchar_t*>(text.c_str());  // the tooltip keeps its own copy
    SendMessageW(controls_.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
    SendMessageW(controls_.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
  }
}

void MainWindow::AddTip(HWND tool, const wchar_t* text) {
  TOOLINFOW tip{};
  tip.cbSize = TTTOOLINFOW_V2_SIZE;
  tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tip.hwnd = controls_.main;
  tip.uId = reinterpret_cast<UINT_PTR>(tool);
  tip.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(controls_.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
}

RECT MainWindow::RectOf(const ControlPlace& place) const {
  return ControlRect(place, OuterSize(controls_.main), ClientWidth(controls_.main), controls_.dpi);
}

HFONT MainWindow::FontOf(const ControlPlace& place) const {
  switch (place.font) {
    case ControlFont::Small:
      return fonts_.small;
    case ControlFont::Large:
      return fonts_.large;
    case ControlFont::Default:
      break;
  }
  return nullptr;
}

void MainWindow::CreateControls() {
  // Without the rich edit library there is no input pane, and the program
  // runs on without one.
  LoadLibraryW(L"RICHED20.DLL");
  for (const ControlPlace& place : ControlTable()) {
    HWND control = place.id == kIdInputPane ? CreateInputPane(RectOf(place)) : CreateControl(place);
    controls_.Of(place.id) = control;
    if (control == nullptr) continue;
    switch (place.id) {
      case kIdButtonBarOverlay:
        buttonBarDefault_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonBarProcedure)));
        break;
      case kIdGoToMenuNameCombo:
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(kMenuNamePrompt).c_str()));
        SendMessageW(control, CB_SETCURSEL, 0, 0);
        break;
      case kIdFindLinkField:
        findFieldDefault_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FindFieldProcedure)));
        break;
      case kIdInputPane:
        host_.AttachInputPane([this](HWND old) { return RenewInputPane(old); });
        host_.InputPane().PaneSetText(kInitialPaneText);
        host_.InputPane().PaneSaved();  // the prompt is no one's text
        break;
      case kIdRe2:
        AddTip(control, L"Create re2 AS RICHEDIT");
        break;
      case kIdLb8:
        AddTip(control, L" lb8 AS LISTBOX");
        break;
      default:
        break;
    }
  }
}

HWND MainWindow::CreateControl(const ControlPlace& place) {
  const RECT rect = RectOf(place);
  HWND control = CreateWindowExW(place.exStyle, place.windowClass, place.text, WS_CHILD | place.style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, controls_.main,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance_, nullptr);
  if (control != nullptr && place.font != ControlFont::Default) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(place)), TRUE);
  }
  return control;
}

HWND MainWindow::CreateInputPane(const RECT& rect) {
  const ControlPlace& place = PlaceOf(kIdInputPane);
  HWND pane = CreateWindowExW(place.exStyle, place.windowClass, nullptr, WS_CHILD | place.style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, controls_.main,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdInputPane)), instance_, nullptr);
  if (pane == nullptr) return nullptr;
  paneDefault_ =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneProcedure)));
  // Prepared before the font is set: a rich edit changes its text mode
  // only while it holds nothing, not even a change of font to undo.
  PrepareRichEdit(pane, kFieldBackground);
  SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.large), TRUE);
  return pane;
}

HWND MainWindow::RenewInputPane(HWND old) {
  RECT place{};
  GetWindowRect(old, &place);
  MapWindowPoints(nullptr, controls_.main, reinterpret_cast<POINT*>(&place), 2);
  HWND fresh = CreateInputPane(place);
  if (fresh == nullptr) return old;
  const bool focused = GetFocus() == old;
  // Same place in the order of the controls, so Tab moves as before.
  SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(old);
  controls_.inputPane = fresh;
  if (focused) SetFocus(fresh);
  return fresh;
}

void MainWindow::CreateStatusLine() {
  controls_.statusLine = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", controls_.main, kIdStatusLine);
  SendMessageW(controls_.statusLine, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.small), TRUE);
  SetWindowTextW(controls_.statusLine, Widen(kStatusAtStart).c_str());
}

void MainWindow::Show() {
  ShowWindow(controls_.main, SW_SHOWNORMAL);
  UpdateWindow(controls_.main);
}

MainWindow* MainWindow::Of(HWND window) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  MainWindow* self = Of(window);
  if (self == nullptr || self->controls_.main == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  bool handled = false;
  Guarded(window, [&] {
    result = self->Handle(message, wParam, lParam);
    handled = true;
  });
  return handled ? result : 0;
}

LRESULT CALLBACK MainWindow::ButtonBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = Of(GetParent(window));
  if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
    Guarded(self->controls_.main, [self] { self->OnButtonBarRelease(); });
  }
  return CallWindowProcW(self->buttonBarDefault_, window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FindFieldProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = Of(GetParent(window));
  // Enter is the field's own, not the window's default button.
  if (message == WM_GETDLGCODE && lParam != 0 && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
    return DLGC_WANTMESSAGE | CallWindowProcW(self->findFieldDefault_, window, message, wParam, lParam);
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    Guarded(self->controls_.main, [self] { self->OnFindFieldEnter(); });
  }
  return CallWindowProcW(self->findFieldDefault_, window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = Of(GetParent(window));
  const bool control = GetKeyState(VK_CONTROL) < 0;
  if (message == WM_GETDLGCODE) {
    LRESULT code = CallWindowProcW(self->paneDefault_, window, message, wParam, lParam);
    // Entered by Tab, the pane keeps its caret and selection: selecting
    // all of it would let the next key replace the whole definition.
    code &= ~DLGC_HASSETSEL;
    // Tab and Shift+Tab move on to the next control and never type.
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key != nullptr && key->wParam == VK_TAB && !control &&
        (key->message == WM_KEYDOWN || key->message == WM_CHAR)) {
      code &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    }
    return code;
  }
  // Ctrl+Tab types a tab, as editors do.
  if (message == WM_KEYDOWN && wParam == VK_TAB && control) {
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
    return 0;
  }
  if (message == WM_CHAR && wParam == L'\t' && control) return 0;  // typed already
  // The pane shows its own cursor unless a long step is at work.
  if (message == WM_SETCURSOR && self->host_.Working()) {
    Win32Host::ShowWaitCursor(true);
    return TRUE;
  }
  return CallWindowProcW(self->paneDefault_, window, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND main = controls_.main;
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam != 0) host_.ReloadButtonBarPicture();
      break;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_GETMINMAXINFO: {
      // Small enough for any screen, large enough that every step's zone
      // and a few lines of the pane show.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {Scaled(kMinimumWindowSize.cx, controls_.dpi),
                                Scaled(kMinimumWindowSize.cy, controls_.dpi)};
      return 0;
    }
    case WM_CLOSE:
      workflow_.Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == kIdButtonBarOverlay) {
        DrawButtonBar(*item);
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == controls_.goToMenuNameCombo && HIWORD(wParam) == CBN_SELENDOK) {
        OnGoToMenuName();
        return 0;
      }
      if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == controls_.inputPane) {
        host_.NotePaneChange();
        return 0;
      }
      if (HIWORD(wParam) == 1 && lParam == 0) {  // a key of the table
        OnKey(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (host_.Working() && LOWORD(lParam) == HTCLIENT) {
        Win32Host::ShowWaitCursor(true);
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case LinkCheckRun::kProgressMessage:
      OnCheckProgress(static_cast<std::size_t>(wParam), static_cast<std::size_t>(lParam));
      return 0;
    case LinkCheckRun::kEndMessage:
      OnCheckEnded();
      return 0;
    case WM_DROPFILES:
      OnDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (LRESULT brush = ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message)) {
        return brush;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(main, message, wParam, lParam);
}

void MainWindow::OnSize(WPARAM kind) {
  if (kind != SIZE_RESTORED && kind != SIZE_MAXIMIZED) return;
  // A status bar places itself along the bottom edge when moved at all.
  if (controls_.statusLine != nullptr) MoveWindow(controls_.statusLine, 0, 0, 0, 0, TRUE);
  PlacePaneAndList();
}

void MainWindow::PlacePaneAndList() {
  RECT pane = RectOf(PlaceOf(kIdInputPane));
  RECT list = RectOf(PlaceOf(kIdSortedList));
  if (controls_.sortedList != nullptr && IsWindowVisible(controls_.sortedList)) {
    RECT client{};
    RECT status{};
    GetClientRect(controls_.main, &client);
    if (controls_.statusLine != nullptr) GetWindowRect(controls_.statusLine, &status);
    list.bottom = std::max(list.top, std::min(list.bottom, client.bottom - (status.bottom - status.top)));
    pane.right = std::max(pane.left, std::min(pane.right, list.left - Scaled(8, controls_.dpi)));
    MoveWindow(controls_.sortedList, list.left, list.top, list.right - list.left, list.bottom - list.top, TRUE);
  }
  if (controls_.inputPane != nullptr) {
    MoveWindow(controls_.inputPane, pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top, TRUE);
  }
}

bool MainWindow::Busy() const { return searching_ || workflow_.CommandRunning(); }

void MainWindow::OnButtonBarRelease() {
  // The workflow drops a click that arrives during a command; one that
  // arrives under a search's question is dropped here.
  if (searching_) return;
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(controls_.buttonBarOverlay, &point);
  // The zones are where the picture shows them at 96 DPI: a click is taken
  // back there, so every boundary stays where it is drawn.
  workflow_.DispatchClick(point.x * kDesignDpi / controls_.dpi, point.y * kDesignDpi / controls_.dpi);
}

void MainWindow::OnFindFieldEnter() {
  // A search started from inside a running command's repaint, or under
  // another search's question, would move the selection and FindStart
  // under the one that runs; it is dropped, as a click on the bar is.
  if (Busy()) return;
  FlagScope scope(searching_);
  workflow_.FindLink();
}

void MainWindow::OnGoToMenuName() {
  if (Busy()) return;
  FlagScope scope(searching_);
  HWND combo = controls_.goToMenuNameCombo;
  const int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  std::wstring entry;
  if (index >= 0) {
    entry.assign(static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0), 0)) + 1,
                 L'\0');
    entry.resize(static_cast<std::size_t>(
        std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data())), 0)));
  }
  // The entry as the bytes of the definition it was taken from.
  workflow_.GoToMenuName(index, host_.FromDefinition(entry));
}

void MainWindow::DrawButtonBar(const DRAWITEMSTRUCT& item) {
  // Drawn off screen first, so a repaint shows no bare background between
  // the picture and its outlines.
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const MemoryDC buffer(item.hDC);
  const GdiObject<HBITMAP> surface(CreateCompatibleBitmap(item.hDC, width, height));
  if (buffer == nullptr || surface == nullptr) {
    PaintButtonBar(item.hDC, width, height, picture_, workflow_.CurrentCommand(), controls_.dpi);
    return;
  }
  const Selected drawing(buffer, surface);
  PaintButtonBar(buffer, width, height, picture_, workflow_.CurrentCommand(), controls_.dpi);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer, 0, 0, SRCCOPY);
}

LRESULT MainWindow::ControlColour(HDC dc, HWND control, UINT message) {
  COLORREF background = 0;
  COLORREF text = CLR_INVALID;
  const bool inCombo = control == controls_.goToMenuNameCombo || GetParent(control) == controls_.goToMenuNameCombo;
  if (control == controls_.columnsField) {
    background = kColumnsBackground;
  } else if (control == controls_.findLinkField || inCombo) {
    background = kFieldBackground;
  } else if (control == controls_.findLinkLabel) {
    background = kWindowBackground;
    text = kHighlightColour;
  } else if (control == controls_.buttonBarOverlay) {
    background = kWindowBackground;
  } else if (control == controls_.re2) {
    background = kRe2Background;
  } else if (control == controls_.htmlLines) {
    background = kHtmlLinesBackground;
  } else if (message == WM_CTLCOLORLISTBOX && control != controls_.sortedList && control != controls_.lb8) {
    background = kFieldBackground;  // the go-to list's drop-down part
  } else {
    return 0;
  }
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, background);
  if (text != CLR_INVALID) SetTextColor(dc, text);
  return reinterpret_cast<LRESULT>(SolidBrush(background));
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  controls_.dpi = dpi;
  const Fonts old = fonts_;
  fonts_ = CreateFonts(dpi);
  SetWindowPos(controls_.main, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlPlace& place : ControlTable()) {
    HWND control = controls_.Of(place.id);
    const RECT rect = RectOf(place);
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    if (place.font != ControlFont::Default) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(place)), TRUE);
    }
  }
  SendMessageW(controls_.statusLine, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.small), TRUE);
  MoveWindow(controls_.statusLine, 0, 0, 0, 0, TRUE);
  FitGoToList(controls_);
  PlacePaneAndList();
  DeleteObject(old.small);
  DeleteObject(old.large);
  AddZoneTips();
  host_.ReloadButtonBarPicture();
}

void MainWindow::OnKey(int key) {
  // A key pressed while a command or a search runs is dropped, as a click is.
  if (Busy() || key < 1 || key > static_cast<int>(std::size(kCommands))) return;
  switch (const Command command = kCommands[key - 1].command) {
    case Command::FindField:
      SetFocus(controls_.findLinkField);
      SendMessageW(controls_.findLinkField, EM_SETSEL, 0, -1);
      break;
    case Command::FindNext:
      OnFindFieldEnter();
      break;
    case Command::GoToList:
      SetFocus(controls_.goToMenuNameCombo);
      SendMessageW(controls_.goToMenuNameCombo, CB_SHOWDROPDOWN, TRUE, 0);
      break;
    case Command::CheckLinks:
      StartOrStopCheck();
      break;
    case Command::StopCheck:
      if (check_->Running()) check_->Stop();
      break;
    default:
      workflow_.RunCommand(command);
      break;
  }
}

void MainWindow::StartOrStopCheck() {
  if (check_->Running()) return check_->Stop();
  // Values converted as the build converts them, so the check asks for
  // what the page's reader follows.
  std::vector<LinkToCheck> links = LinksToCheck(
      host_.InputPane().PaneReadLines(), [this](std::string_view bytes) { return host_.DefinitionToUtf8(bytes); });
  if (links.empty()) {
    host_.ShowMessage("The definition holds no link to check.", MessageKind::Warning);
    return;
  }
  statusBeforeCheck_.assign(static_cast<std::size_t>(GetWindowTextLengthW(controls_.statusLine)) + 1, L'\0');
  statusBeforeCheck_.resize(static_cast<std::size_t>(
      GetWindowTextW(controls_.statusLine, statusBeforeCheck_.data(), static_cast<int>(statusBeforeCheck_.size()))));
  checkOverturned_ = false;
  const std::size_t total = links.size();
  CheckSettings settings;
  settings.pageFolder = workflow_.Folder();  // where the page is written
  check_->Start(std::move(links), std::move(settings));
  host_.UseKeys(keysWhileChecking_);
  OnCheckProgress(0, total);
}

void MainWindow::OnCheckProgress(std::size_t done, std::size_t total) {
  if (!check_->Running()) return;  // a late message of a check that ended
  host_.SetStatus("Checking links: " + NumberToText(static_cast<std::int64_t>(done)) + " of " +
                  NumberToText(static_cast<std::int64_t>(total)) + "   (Esc or Ctrl+K stops)");
}

void MainWindow::OnCheckEnded() {
  const CheckReport report = check_->Finish();
  host_.UseKeys(keys_);
  SetWindowTextW(controls_.statusLine, statusBeforeCheck_.c_str());
  // A check of a text the pane no longer holds has nothing to tell.
  if (checkOverturned_) return;
  // The report as pravel-cli prints it; a long one in a box that scrolls.
  const std::vector<Text> lines = CheckReportLines(report);
  Text text;
  for (const Text& line : lines) {
    if (!text.empty()) text += CRLF;
    text += line;
  }
  constexpr std::size_t kLinesInABox = 25;
  if (lines.size() <= kLinesInABox) {
    host_.ShowMessage(text, MessageKind::Report);
  } else {
    ShowLongText(controls_.main, L"Pravel - links checked", host_.ForDisplay(text));
  }
}

void MainWindow::OpenFromOutside(const std::wstring& path) {
  // Dropped while a command or a search runs, as a click would be.
  if (Busy()) return;
  // The workflow makes the definition's folder its own: the templates are
  // read and the page written beside it, wherever the program was started.
  workflow_.OpenFile(Narrow(path));
}

void MainWindow::OnDrop(HDROP drop) {
  std::wstring path;
  if (libraries_.DragQueryFileW != nullptr) {
    path.assign(libraries_.DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(libraries_.DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  }
  if (libraries_.DragFinish != nullptr) libraries_.DragFinish(drop);
  if (!path.empty()) OpenFromOutside(path);
}

}  // namespace pravel::win32
