// A Host that records what the workflow shows and answers from a script, so
// the workflow runs on real files without a window.
#pragma once

#include <deque>
#include <optional>
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
  Text caption = "Pravels   -step 1 = Open Input file";
  Text status = "Pravel ";
  std::vector<RecordedMessage> messages;
  std::vector<Text> questions;
  std::vector<FileDialog> dialogs;
  std::vector<Text> menuNameList;
  std::vector<Text> sortedList;
  Text columns = "4";
  Text findField;
  Text clipboard;
  std::vector<Text> shownFiles;
  MemoryPane pane;

  // Scripted answers, taken in order; a dialog without an answer is cancelled
  // and a question without one is answered No.
  std::deque<std::optional<Text>> dialogAnswers;
  std::deque<bool> questionAnswers;

  void SetCaption(const Text& text) override { caption = text; }
  void SetStatus(const Text& text) override { status = text; }
  void ShowMessage(const Text& text, MessageKind kind) override { messages.push_back({text, kind}); }
  bool AskYesNo(const Text& text, const Text&) override {
    questions.push_back(text);
    return Next(questionAnswers).value_or(false);
  }
  std::optional<Text> ChooseFile(const FileDialog& dialog) override {
    dialogs.push_back(dialog);
    return Next(dialogAnswers).value_or(std::nullopt);
  }
  Pane& InputPane() override { return pane; }
  void FocusInputPane() override {}
  void SetMenuNameList(const std::vector<Text>& entries) override { menuNameList = entries; }
  void ShowSortedList(const std::vector<Text>& lines) override { sortedList = lines; }
  Text ColumnsText() override { return columns; }
  Text FindFieldText() override { return findField; }
  void SetFindFieldText(const Text& text) override { findField = text; }
  void FocusFindField() override {}
  void SetClipboardText(const Text& text) override { clipboard = text; }
  void PasteIntoInputPane() override { pane.PaneReplaceSelection(clipboard); }
  void ShowFile(const Text& fileName) override { shownFiles.push_back(fileName); }
  void RepaintButtonBar() override {}
  void ReloadButtonBarPicture() override {}
  void PumpMessages() override {}
  [[noreturn]] void EndProcess(int exitCode) override { throw ProcessEnded{exitCode}; }

  const Text& LastMessage() const {
    static const Text none;
    return messages.empty() ? none : messages.back().text;
  }

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<T>& answers) {
    if (answers.empty()) return std::nullopt;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};

}  // namespace pravel::test
