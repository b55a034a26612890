// A Host that records every call and answers from a script, so the workflow
// can be run and checked without a window.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Host.h"

namespace pravel::test {

// Thrown by EndProcess, so a test can see the exit code.
struct ProcessEnded {
  int exitCode;
};

struct RecordedMessage {
  Text text;
  MessageKind kind;
};

class RecordingHost : public Host {
 public:
  // Every call in order, as "Name" or "Name: argument".
  std::vector<Text> calls;

  Text caption = "Pravels   -step 1 = Open Input file";
  Text status = "Pravel ";
  std::vector<RecordedMessage> messages;
  std::vector<Text> questions;
  std::vector<FileDialog> dialogs;
  std::vector<Text> menuNameList;
  std::vector<Text> sortedList;
  bool sortedListShown = false;
  Text columns = "4";
  Text findField;
  Text clipboard;
  std::vector<Text> shownFiles;
  int repaints = 0;
  int pumps = 0;
  int pictureReloads = 0;
  bool inputFocused = false;
  bool findFocused = false;
  MemoryPane pane;

  // Scripted answers, taken in order; a dialog without an answer is cancelled
  // and a question without one is answered No.
  std::deque<std::optional<Text>> dialogAnswers;
  std::deque<bool> questionAnswers;

  void SetCaption(const Text& text) override;
  void SetStatus(const Text& text) override;
  void ShowMessage(const Text& text, MessageKind kind) override;
  bool AskYesNo(const Text& text, const Text& caption) override;
  std::optional<Text> ChooseFile(const FileDialog& dialog) override;
  Pane& InputPane() override { return pane; }
  void FocusInputPane() override;
  void SetMenuNameList(const std::vector<Text>& entries) override;
  void ShowSortedList(const std::vector<Text>& lines) override;
  Text ColumnsText() override { return columns; }
  Text FindFieldText() override { return findField; }
  void SetFindFieldText(const Text& text) override;
  void FocusFindField() override;
  void SetClipboardText(const Text& text) override;
  void PasteIntoInputPane() override;
  void ShowFile(const Text& fileName) override;
  void RepaintButtonBar() override;
  void ReloadButtonBarPicture() override;
  void PumpMessages() override;
  [[noreturn]] void EndProcess(int exitCode) override;

  // The texts of all messages shown so far.
  std::vector<Text> MessageTexts() const;
  const Text& LastMessage() const;
};

}  // namespace pravel::test
