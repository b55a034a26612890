#include "app/win32/Win32Host.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/win32/Encoding.h"
#include "app/win32/Gdi.h"
#include "app/win32/Layout.h"
#include "text/TextFile.h"

namespace pravel::win32 {

namespace {

constexpr const wchar_t* kMessageCaption = L"Pravel";

// Room for long paths: the dialog fails outright when the chosen name does
// not fit, which would read as a cancelled dialog.
constexpr DWORD kFileNameCapacity = 32768;

// Replaces the items of a list or combo box in one go, with drawing held
// off and the room reserved: a list of many thousand lines then fills in a
// moment instead of repainting after each.
void FillList(HWND control, const std::vector<Text>& items, UINT reset, UINT reserve, UINT add, Encoding encoding) {
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  SendMessageW(control, reset, 0, 0);
  std::size_t bytes = 0;
  for (const Text& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageW(control, reserve, items.size(), static_cast<LPARAM>(bytes));
  for (const Text& item : items) {
    SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(DecodeLines(item, encoding).c_str()));
  }
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
}

// The whole text of a window (an edit field).
std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

// The dialog's filter list: for each filter its description, NUL, its
// pattern, NUL; and the NUL that ends the list.
std::wstring DialogFilter(const std::vector<std::pair<Text, Text>>& filters) {
  std::wstring list;
  for (const auto& [description, pattern] : filters) list += Widen(description) + L'\0' + Widen(pattern) + L'\0';
  return list + L'\0';
}

}  // namespace

Text ProgramFolder() {
  wchar_t self[32768];
  const DWORD length = GetModuleFileNameW(nullptr, self, 32768);
  return length > 0 && length < 32768 ? FolderOf(Narrow(self)) : Text();
}

void FitGoToList(const Controls& controls) {
  HWND combo = controls.goToMenuNameCombo;
  if (combo == nullptr) return;
  HDC dc = GetDC(combo);
  if (dc == nullptr) return;
  int widest = 0;
  int prompt = 0;
  {
    const Selected font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0), 0)) + 1,
                        L'\0');
      item.resize(static_cast<std::size_t>(
          std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())), 0)));
      SIZE size{};
      GetTextExtentPoint32W(dc, item.c_str(), static_cast<int>(item.size()), &size);
      widest = std::max<int>(widest, size.cx);
      if (i == 0) prompt = size.cx;  // the prompt heads the list
    }
  }
  ReleaseDC(combo, dc);
  // Room for the arrow and the margins; the field stops short of the
  // Columns field, the drop-down may reach further.
  const int frame = GetSystemMetrics(SM_CXVSCROLL) + Scaled(16, controls.dpi);
  RECT field{};
  RECT columns{};
  GetWindowRect(combo, &field);
  GetWindowRect(controls.columnsField, &columns);
  const int room = columns.left - field.left - Scaled(8, controls.dpi);
  const int width = std::clamp(prompt + frame, static_cast<int>(field.right - field.left), std::max<int>(room, 0));
  SetWindowPos(combo, nullptr, 0, 0, std::max<int>(width, field.right - field.left), Scaled(400, controls.dpi),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(combo, CB_SETDROPPEDWIDTH, std::max(width, widest + frame), 0);
}

void EndForLackOfMemory() {
  MessageBoxW(nullptr, L"Insufficient memory", kMessageCaption, MB_OK);
  ExitProcess(3);
}

std::wstring Win32Host::ForDisplay(std::string_view text) const { return DecodeLines(text, pane_.PieceEncoding()); }

Text Win32Host::FromDefinition(std::wstring_view text) const { return Encode(text, pane_.PieceEncoding()); }

void Win32Host::SetCaption(const Text& caption) { SetWindowTextW(controls_.main, Widen(caption).c_str()); }

void Win32Host::SetStatus(const Text& status) {
  status_ = status;
  SetWindowTextW(controls_.statusLine, Widen(status).c_str());
}

void Win32Host::ShowWaitCursor(bool wait) {
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(wait ? 32514 : 32512)));  // IDC_WAIT, IDC_ARROW
}

void Win32Host::StartWork(const Text& what) {
  if (work_.depth++ > 0) return;
  work_ = {1, what, {}, GetTickCount64(), false};
  ShowWaitCursor(true);
}

void Win32Host::WorkPart(const Text& part) {
  if (work_.depth == 0) return;
  work_.part = part;
  ShowWork(-1);
}

void Win32Host::ShowWork(int percent) {
  // A step done within a second leaves the status line alone, so it does
  // not flicker on every small definition.
  if (work_.depth == 0 || GetTickCount64() - work_.started < kQuietMilliseconds) return;
  Text text = work_.what;
  if (!work_.part.empty()) text += ": " + work_.part;
  if (percent >= 0) text += " " + NumberToText(percent) + " %";
  SetWindowTextW(controls_.statusLine, Widen(text + " ...").c_str());
  // Painted now: the step keeps the message loop waiting.
  UpdateWindow(controls_.statusLine);
  work_.shown = true;
}

void Win32Host::EndWork() {
  if (work_.depth == 0 || --work_.depth > 0) return;
  if (work_.shown) SetWindowTextW(controls_.statusLine, Widen(status_).c_str());
  // The next move of the mouse sets the cursor of the place under it.
  ShowWaitCursor(false);
}

void Win32Host::ShowMessage(const Text& text, MessageKind kind) {
  if (kind == MessageKind::Fatal) {
    // The process ends right after: no owner, so the box shows even when
    // the window can no longer be trusted.
    MessageBoxW(nullptr, ForDisplay(text).c_str(), kMessageCaption, MB_OK);
    return;
  }
  MessageBoxW(controls_.main, ForDisplay(text).c_str(), kMessageCaption, MB_OK | MB_SETFOREGROUND);
}

bool Win32Host::AskYesNo(const Text& text, const Text& caption) {
  return MessageBoxW(controls_.main, ForDisplay(text).c_str(), Widen(caption).c_str(), MB_YESNO) == IDYES;
}

std::optional<Text> Win32Host::ChooseFile(const FileDialog& dialog) {
  std::vector<wchar_t> fileName(kFileNameCapacity, L'\0');
  const std::wstring offered = Widen(dialog.fileName);
  std::copy_n(offered.begin(), std::min<std::size_t>(offered.size(), kFileNameCapacity - 1), fileName.begin());
  const std::wstring filter = DialogFilter(dialog.filters);
  const std::wstring initialDir = Widen(dialog.initialDir);
  const std::wstring title = Widen(dialog.title);
  const std::wstring defaultExt = Widen(dialog.defaultExt);

  OPENFILENAMEW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = controls_.main;
  record.lpstrFilter = filter.c_str();
  record.lpstrFile = fileName.data();
  record.nMaxFile = kFileNameCapacity;
  record.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  record.lpstrTitle = title.empty() ? nullptr : title.c_str();
  record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  // Neither dialog moves the current directory: the workflow holds the
  // folder of the definition itself, which a name typed with its whole
  // path would otherwise leave out of step.
  BOOL chosen = FALSE;
  if (dialog.save) {
    record.Flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT | OFN_LONGNAMES | OFN_NOCHANGEDIR;
    chosen = libraries_.GetSaveFileNameW(&record);
  } else {
    record.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE | OFN_LONGNAMES | OFN_NOCHANGEDIR;
    chosen = libraries_.GetOpenFileNameW(&record);
  }
  if (!chosen) return std::nullopt;
  return Narrow(fileName.data());
}

void Win32Host::FocusInputPane() { SetFocus(controls_.inputPane); }

void Win32Host::SetMenuNameList(const std::vector<Text>& entries) {
  HWND combo = controls_.goToMenuNameCombo;
  FillList(combo, entries, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING, pane_.PieceEncoding());
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  FitGoToList(controls_);
  InvalidateRect(combo, nullptr, TRUE);
}

void Win32Host::ShowSortedList(const std::vector<Text>& lines) {
  HWND list = controls_.sortedList;
  FillList(list, lines, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING, pane_.PieceEncoding());
  // Shown where it was made, beyond the window's first width, and the
  // pane laid out beside it.
  SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RECT client{};
  GetClientRect(controls_.main, &client);
  SendMessageW(controls_.main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  InvalidateRect(list, nullptr, TRUE);
}

Text Win32Host::DefinitionToUtf8(std::string_view bytes) const { return Narrow(Decode(bytes, pane_.PieceEncoding())); }

Text Win32Host::ProgramFolder() const { return win32::ProgramFolder(); }

Text Win32Host::ColumnsText() { return Narrow(WindowText(controls_.columnsField)); }

// What is looked for is a piece of the definition, in its bytes.
Text Win32Host::FindFieldText() { return FromDefinition(WindowText(controls_.findLinkField)); }

void Win32Host::SetFindFieldText(const Text& text) {
  SetWindowTextW(controls_.findLinkField, Decode(text, pane_.PieceEncoding()).c_str());
}

void Win32Host::FocusFindField() { SetFocus(controls_.findLinkField); }

void Win32Host::SetClipboardText(const Text& text) {
  // Opened for the main window: with no owner, emptying the clipboard
  // leaves it without one, and Windows then refuses the new data. Failures
  // are not reported: the pane then pastes whatever the clipboard holds, as
  // a paste by hand would.
  if (!OpenClipboard(controls_.main)) return;
  EmptyClipboard();
  const std::wstring wide = Decode(text, pane_.PieceEncoding());
  const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (void* bytes = GlobalLock(block)) {
      std::memcpy(bytes, wide.c_str(), size);
      GlobalUnlock(block);
      if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

void Win32Host::PasteIntoInputPane() { SendMessageW(controls_.inputPane, WM_PASTE, 0, 0); }

void Win32Host::ShowFile(const Text& fileName) {
  // A file of the program's own (the help link) is beside the program when
  // it is not beside the definition.
  Text name = fileName;
  if (!Exists(name)) {
    if (const Text folder = ProgramFolder(); !folder.empty()) {
      if (Text beside = PathIn(folder, FileNameOf(fileName)); Exists(beside)) name = std::move(beside);
    }
  }
  libraries_.ShellExecuteW(nullptr, nullptr, Widen(name).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Host::RepaintButtonBar() { InvalidateRect(controls_.buttonBarOverlay, nullptr, TRUE); }

void Win32Host::ReloadButtonBarPicture() {
  PumpMessages();
  // OLE is started before every read of the picture; a repeated start only
  // counts up, and OLE is never stopped.
  libraries_.OleInitialize(nullptr);
  PumpMessages();
  // The hidden picture control holds the bitmap the overlay shows, so the
  // picture in use can be asked for from outside.
  SendMessageW(controls_.buttonBarPicture, STM_SETIMAGE, IMAGE_BITMAP, 0);
  // Beside the program, wherever the program was started from.
  picture_.Load(PathIn(ProgramFolder(), kButtonBarPictureName), controls_.dpi);
  SendMessageW(controls_.buttonBarPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.Bitmap()));
  RepaintButtonBar();
  PumpMessages();
}

void Win32Host::PumpMessages() { loop_.Pump(); }

void Win32Host::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace pravel::win32
