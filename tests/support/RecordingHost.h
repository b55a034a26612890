// A Host that records what the workflow shows and answers from a script, so
// the workflow runs on real files without a window.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/HeadlessHost.h"

namespace pravel::test {

// Thrown by EndProcess, so a test can see the exit code.
struct ProcessEnded {
  int exitCode;
};

// The pane and the caption are the headless host's.
class RecordingHost : public HeadlessHost {
 public:
  RecordingHost() : HeadlessHost({}, "4") {}
  Text status, findField, clipboard;
  std::vector<Text> messages, questions, menuNameList, sortedList, shownFiles;
  // Scripted answers, taken in order; a dialog without an answer is
  // cancelled and a question without one is answered No.
  std::deque<Text> dialogAnswers;
  std::deque<bool> questionAnswers;

  void SetStatus(const Text& text) override { status = text; }
  void ShowMessage(const Text& text, MessageKind) override { messages.push_back(text); }
  bool AskYesNo(const Text& text, const Text&) override {
    questions.push_back(text);
    const bool yes = !questionAnswers.empty() && questionAnswers.front();
    if (!questionAnswers.empty()) questionAnswers.pop_front();
    return yes;
  }
  std::optional<Text> ChooseFile(const FileDialog&) override {
    if (dialogAnswers.empty()) return std::nullopt;
    Text answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
  void SetMenuNameList(const std::vector<Text>& entries) override { menuNameList = entries; }
  void ShowSortedList(const std::vector<Text>& lines) override { sortedList = lines; }
  Text FindFieldText() override { return findField; }
  void SetFindFieldText(const Text& text) override { findField = text; }
  void SetClipboardText(const Text& text) override { clipboard = text; }
  void PasteIntoInputPane() override { InputPane().PaneReplaceSelection(clipboard); }
  void ShowFile(const Text& fileName) override { shownFiles.push_back(fileName); }
  [[noreturn]] void EndProcess(int exitCode) override { throw ProcessEnded{exitCode}; }

  Text LastMessage() const { return messages.empty() ? Text() : messages.back(); }
};

}  // namespace pravel::test
