// A Host for timing: answers the open dialog with the definition, keeps the
// pane in memory and counts messages instead of printing them, so that the
// figures are the engine's own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/Host.h"

namespace pravel::bench {

class QuietHost final : public Host {
 public:
  QuietHost(Text definitionPath, Text columns)
      : definitionPath_(std::move(definitionPath)), columns_(std::move(columns)) {}

  std::size_t messages = 0;
  std::size_t problems = 0;  // warnings and errors
  Text lastError;
  Text caption;

  void SetCaption(const Text& text) override { caption = text; }
  void SetStatus(const Text&) override {}
  void ShowMessage(const Text& text, MessageKind kind) override {
    ++messages;
    if (kind != MessageKind::Report) ++problems;
    if (kind == MessageKind::Error || kind == MessageKind::Fatal) lastError = text;
  }
  bool AskYesNo(const Text&, const Text&) override { return false; }
  std::optional<Text> ChooseFile(const FileDialog& dialog) override {
    if (dialog.save) return std::nullopt;
    std::error_code ec;
    const auto full = std::filesystem::absolute(std::filesystem::path(definitionPath_), ec);
    return ec ? definitionPath_ : full.string();
  }
  Pane& InputPane() override { return pane_; }
  void FocusInputPane() override {}
  void SetMenuNameList(const std::vector<Text>&) override {}
  void ShowSortedList(const std::vector<Text>&) override {}
  Text ColumnsText() override { return columns_; }
  Text FindFieldText() override { return {}; }
  void SetFindFieldText(const Text&) override {}
  void FocusFindField() override {}
  void SetClipboardText(const Text&) override {}
  void PasteIntoInputPane() override {}
  void ShowFile(const Text&) override {}
  void RepaintButtonBar() override {}
  void ReloadButtonBarPicture() override {}
  void PumpMessages() override {}
  [[noreturn]] void EndProcess(int exitCode) override { std::exit(exitCode); }

 private:
  Text definitionPath_;
  Text columns_;
  MemoryPane pane_;
};

}  // namespace pravel::bench
