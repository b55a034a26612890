#include "support/RecordingHost.h"

namespace pravel::test {

void RecordingHost::SetCaption(const Text& text) {
  calls.push_back("SetCaption: " + text);
  caption = text;
}

void RecordingHost::SetStatus(const Text& text) {
  calls.push_back("SetStatus: " + text);
  status = text;
}

void RecordingHost::ShowMessage(const Text& text, MessageKind kind) {
  calls.push_back("ShowMessage: " + text);
  messages.push_back({text, kind});
}

bool RecordingHost::AskYesNo(const Text& text, const Text& questionCaption) {
  calls.push_back("AskYesNo: " + text);
  questions.push_back(questionCaption + "|" + text);
  if (questionAnswers.empty()) return false;
  const bool answer = questionAnswers.front();
  questionAnswers.pop_front();
  return answer;
}

std::optional<Text> RecordingHost::ChooseFile(const FileDialog& dialog) {
  calls.push_back("ChooseFile: " + dialog.title);
  dialogs.push_back(dialog);
  if (dialogAnswers.empty()) return std::nullopt;
  std::optional<Text> answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

void RecordingHost::FocusInputPane() {
  calls.push_back("FocusInputPane");
  inputFocused = true;
  findFocused = false;
}

void RecordingHost::SetMenuNameList(const std::vector<Text>& entries) {
  calls.push_back("SetMenuNameList");
  menuNameList = entries;
}

void RecordingHost::ShowSortedList(const std::vector<Text>& lines) {
  calls.push_back("ShowSortedList");
  sortedList = lines;
  sortedListShown = true;
}

void RecordingHost::SetFindFieldText(const Text& text) {
  calls.push_back("SetFindFieldText: " + text);
  findField = text;
}

void RecordingHost::FocusFindField() {
  calls.push_back("FocusFindField");
  findFocused = true;
  inputFocused = false;
}

void RecordingHost::SetClipboardText(const Text& text) {
  calls.push_back("SetClipboardText");
  clipboard = text;
}

void RecordingHost::PasteIntoInputPane() {
  calls.push_back("PasteIntoInputPane");
  pane.PaneReplaceSelection(clipboard);
}

void RecordingHost::ShowFile(const Text& fileName) {
  calls.push_back("ShowFile: " + fileName);
  shownFiles.push_back(fileName);
}

void RecordingHost::RepaintButtonBar() {
  calls.push_back("RepaintButtonBar");
  ++repaints;
}

void RecordingHost::ReloadButtonBarPicture() {
  calls.push_back("ReloadButtonBarPicture");
  ++pictureReloads;
}

void RecordingHost::PumpMessages() {
  calls.push_back("PumpMessages");
  ++pumps;
}

void RecordingHost::EndProcess(int exitCode) {
  calls.push_back("EndProcess: " + std::to_string(exitCode));
  throw ProcessEnded{exitCode};
}

std::vector<Text> RecordingHost::MessageTexts() const {
  std::vector<Text> texts;
  for (const auto& m : messages) texts.push_back(m.text);
  return texts;
}

const Text& RecordingHost::LastMessage() const {
  static const Text none;
  return messages.empty() ? none : messages.back().text;
}

}  // namespace pravel::test
