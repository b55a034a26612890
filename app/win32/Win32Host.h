// The Host of the Windows program: the workflow's requests carried out on
// the main window, its controls and the system's dialogs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

#include "app/Host.h"
#include "app/win32/ButtonBarPainter.h"
#include "app/win32/Controls.h"
#include "app/win32/MessageLoop.h"
#include "app/win32/RichEditPane.h"
#include "app/win32/SystemLibraries.h"

namespace pravel::win32 {

class Win32Host : public Host {
 public:
  Win32Host(Controls& controls, MessageLoop& loop, const SystemLibraries& libraries, ButtonBarPicture& picture)
      : controls_(controls), loop_(loop), libraries_(libraries), picture_(picture) {}

  // Called once the input pane exists, with the way to renew it.
  void AttachInputPane(RichEditPane::Renewal renewal) {
    pane_.Attach(controls_.inputPane, std::move(renewal), [this](std::size_t done, std::size_t all) {
      ShowWork(static_cast<int>(done * 100 / std::max<std::size_t>(all, 1)));
      PumpMessages();
    });
  }

  void SetCaption(const Text& caption) override;
  void SetStatus(const Text& status) override;
  void ShowMessage(const Text& text, MessageKind kind) override;
  bool AskYesNo(const Text& text, const Text& caption) override;
  std::optional<Text> ChooseFile(const FileDialog& dialog) override;
  Pane& InputPane() override { return pane_; }
  // The pane's control reported a change of its text.
  void NotePaneChange() { pane_.NoteChange(); }
  void FocusInputPane() override;
  void SetMenuNameList(const std::vector<Text>& entries) override;
  void ShowSortedList(const std::vector<Text>& lines) override;
  Text DefinitionToUtf8(std::string_view bytes) const override;
  Text ProgramFolder() const override;
  void PaneAboutToChange() override {
    if (paneChanging_) paneChanging_();
  }
  void StartWork(const Text& what) override;
  void WorkPart(const Text& part) override;
  void EndWork() override;
  // Whether a long step is at work: the window keeps the wait cursor.
  bool Working() const { return work_.depth > 0; }
  static void ShowWaitCursor(bool wait);
  // Who is told before a step replaces the pane's text.
  void OnPaneChange(std::function<void()> told) { paneChanging_ = std::move(told); }
  // The window's keys from now on (the loop takes them before the controls).
  void UseKeys(HACCEL keys) { loop_.UseKeys(controls_.main, keys); }
  Text ColumnsText() override;
  Text FindFieldText() override;
  void SetFindFieldText(const Text& text) override;
  void FocusFindField() override;
  void SetClipboardText(const Text& text) override;
  void PasteIntoInputPane() override;
  void ShowFile(const Text& fileName) override;
  void RepaintButtonBar() override;
  void ReloadButtonBarPicture() override;
  void PumpMessages() override;
  [[noreturn]] void EndProcess(int exitCode) override;

  // A text of the engine as the window shows it, line by line (Encoding.h),
  // and the bytes of a name the user chose among the definition's.
  std::wstring ForDisplay(std::string_view text) const;
  Text FromDefinition(std::wstring_view text) const;

 private:
  Controls& controls_;
  MessageLoop& loop_;
  const SystemLibraries& libraries_;
  ButtonBarPicture& picture_;
  // The status line shows the step at work once it has run this long.
  static constexpr ULONGLONG kQuietMilliseconds = 1000;
  // Its part, and how far the pane has taken a large text (percent; -1
  // when the part does not tell).
  void ShowWork(int percent);

  RichEditPane pane_;
  std::function<void()> paneChanging_;
  Text status_;  // the status the workflow last set, shown again after a step's progress
  struct Work {
    int depth = 0;  // a build asked for by Save/Show runs inside it
    Text what, part;
    ULONGLONG started = 0;
    bool shown = false;
  } work_;
};

// Shows "Insufficient memory" with no owner and ends the process with exit
// code 3: what remains after memory ran out cannot be trusted to run on.
[[noreturn]] void EndForLackOfMemory();

// The folder Pravel.exe lies in; empty when the system does not say.
Text ProgramFolder();

// The go-to list as wide as its prompt needs (up to the Columns field),
// and its drop-down as wide as its longest entry.
void FitGoToList(const Controls& controls);

}  // namespace pravel::win32
