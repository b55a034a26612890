#include "app/win32/ReportBox.h"

#include <vector>

namespace pravel::win32 {

namespace {

constexpr WORD kTextId = 100;

// Builds a dialog template in memory: a dialog, then its items, each at a
// four-byte boundary, strings in UTF-16 ended by a zero.
class Template {
 public:
  void Word(WORD word) { words_.push_back(word); }
  void Long(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void String(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void AlignToLong() {
    if (words_.size() % 2 != 0) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass, const wchar_t* title) {
    AlignToLong();
    Long(style | WS_CHILD | WS_VISIBLE);
    Long(0);  // extended style
    for (short value : {x, y, cx, cy}) Word(static_cast<WORD>(value));
    Word(id);
    Word(0xFFFF);  // a system class by its number
    Word(windowClass);
    String(title);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, kTextId, reinterpret_cast<const wchar_t*>(lParam));
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowLongText(HWND owner, const std::wstring& caption, const std::wstring& text) {
  Template dialog;
  dialog.Long(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  dialog.Long(0);  // extended style
  dialog.Word(2);  // items
  for (short value : {0, 0, 400, 240}) dialog.Word(static_cast<WORD>(value));
  dialog.Word(0);  // no menu
  dialog.Word(0);  // the dialog class
  dialog.String(caption.c_str());
  dialog.Word(9);
  dialog.String(L"MS Shell Dlg");
  dialog.Item(
      ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
      7, 7, 386, 206, kTextId, 0x0081, L"");
  dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 339, 219, 54, 14, IDOK, 0x0080, L"OK");
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Data(), owner, Procedure,
                          reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace pravel::win32
