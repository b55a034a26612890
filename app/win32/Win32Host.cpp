#include "app/win32/Win32Host.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pravel::win32 {

namespace {

constexpr const char* kMessageCaption = "Pravel";

// Room for long paths: the dialog fails outright when the chosen name does
// not fit, which would read as a cancelled dialog.
constexpr DWORD kFileNameCapacity = 32768;

// Replaces the items of a list or combo box in one go, with drawing held
// off and the room reserved: a list of many thousand lines then fills in a
// moment instead of repainting after each.
void FillList(HWND control, const std::vector<Text>& items, UINT reset, UINT reserve, UINT add) {
  SendMessageA(control, WM_SETREDRAW, FALSE, 0);
  SendMessageA(control, reset, 0, 0);
  std::size_t bytes = 0;
  for (const Text& item : items) bytes += item.size() + 1;
  SendMessageA(control, reserve, items.size(), static_cast<LPARAM>(bytes));
  for (const Text& item : items) SendMessageA(control, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(control, WM_SETREDRAW, TRUE, 0);
}

// The whole text of a window (an edit field).
Text WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  Text text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

// The dialog's filter list: description, NUL, pattern, NUL, and the NUL
// that ends the list.
Text DialogFilter(const Text& description, const Text& pattern) {
  Text filter = description;
  filter += '\0';
  filter += pattern;
  filter += '\0';
  filter += '\0';
  return filter;
}

}  // namespace

void EndForLackOfMemory() {
  MessageBoxA(nullptr, "Insufficient memory", kMessageCaption, MB_OK);
  ExitProcess(3);
}

void Win32Host::SetCaption(const Text& caption) { SetWindowTextA(controls_.main, caption.c_str()); }

void Win32Host::SetStatus(const Text& status) { SetWindowTextA(controls_.statusLine, status.c_str()); }

void Win32Host::ShowMessage(const Text& text, MessageKind kind) {
  if (kind == MessageKind::Fatal) {
    // The process ends right after: no owner, so the box shows even when
    // the window can no longer be trusted.
    MessageBoxA(nullptr, text.c_str(), kMessageCaption, MB_OK);
    return;
  }
  MessageBoxA(controls_.main, text.c_str(), kMessageCaption, MB_OK | MB_SETFOREGROUND);
}

bool Win32Host::AskYesNo(const Text& text, const Text& caption) {
  return MessageBoxA(controls_.main, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

std::optional<Text> Win32Host::ChooseFile(const FileDialog& dialog) {
  std::vector<char> fileName(kFileNameCapacity, '\0');
  std::memcpy(fileName.data(), dialog.fileName.data(), std::min<std::size_t>(dialog.fileName.size(), kFileNameCapacity - 1));
  const Text filter = DialogFilter(dialog.filterName, dialog.filterPattern);

  OPENFILENAMEA record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = controls_.main;
  record.lpstrFilter = filter.c_str();
  record.lpstrFile = fileName.data();
  record.nMaxFile = kFileNameCapacity;
  record.lpstrInitialDir = dialog.initialDir.empty() ? nullptr : dialog.initialDir.c_str();
  record.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  record.lpstrDefExt = dialog.defaultExt.empty() ? nullptr : dialog.defaultExt.c_str();
  // Neither dialog keeps the current directory: the files the later steps
  // write under bare names go to the folder the user chose.
  BOOL chosen = FALSE;
  if (dialog.save) {
    record.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT | OFN_LONGNAMES;
    chosen = libraries_.GetSaveFileNameA(&record);
  } else {
    record.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE | OFN_LONGNAMES;
    chosen = libraries_.GetOpenFileNameA(&record);
  }
  if (!chosen) return std::nullopt;
  return Text(fileName.data());
}

void Win32Host::FocusInputPane() { SetFocus(controls_.inputPane); }

void Win32Host::SetMenuNameList(const std::vector<Text>& entries) {
  HWND combo = controls_.goToMenuNameCombo;
  FillList(combo, entries, CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

void Win32Host::ShowSortedList(const std::vector<Text>& lines) {
  HWND list = controls_.sortedList;
  FillList(list, lines, LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING);
  // Shown where it was made, beyond the window's first width.
  SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(list, nullptr, TRUE);
}

Text Win32Host::ColumnsText() { return WindowText(controls_.columnsField); }

Text Win32Host::FindFieldText() { return WindowText(controls_.findLinkField); }

void Win32Host::SetFindFieldText(const Text& text) { SetWindowTextA(controls_.findLinkField, text.c_str()); }

void Win32Host::FocusFindField() { SetFocus(controls_.findLinkField); }

void Win32Host::SetClipboardText(const Text& text) {
  // Opened for the main window: with no owner, emptying the clipboard
  // leaves it without one, and Windows then refuses the new data. Failures
  // are not reported: the pane then pastes whatever the clipboard holds, as
  // a paste by hand would.
  if (!OpenClipboard(controls_.main)) return;
  EmptyClipboard();
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    if (void* bytes = GlobalLock(block)) {
      std::memcpy(bytes, text.c_str(), text.size() + 1);
      GlobalUnlock(block);
      if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

void Win32Host::PasteIntoInputPane() { SendMessageA(controls_.inputPane, WM_PASTE, 0, 0); }

void Win32Host::ShowFile(const Text& fileName) {
  libraries_.ShellExecuteA(nullptr, nullptr, fileName.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
  SendMessageA(controls_.buttonBarPicture, STM_SETIMAGE, IMAGE_BITMAP, 0);
  picture_.Load(ButtonBarPicturePath());
  SendMessageA(controls_.buttonBarPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.Bitmap()));
  RepaintButtonBar();
  PumpMessages();
}

void Win32Host::PumpMessages() { loop_.Pump(); }

void Win32Host::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace pravel::win32
