// The Host of pravel-cli: the engine's window, replaced by standard output,
// standard error and the options of the command line.
#pragma once

#include "app/Host.h"

namespace pravel::cli {

class CliHost final : public Host {
 public:
  // definitionPath answers the open dialog; columns is the Columns field;
  // show lets the page be opened with its default program.
  CliHost(Text definitionPath, Text columns, bool show);

  const Text& Caption() const { return caption_; }

  void SetCaption(const Text& caption) override { caption_ = caption; }
  void SetStatus(const Text&) override {}
  // Reports go to standard output, everything else to standard error.
  void ShowMessage(const Text& text, MessageKind kind) override;
  // Nobody is there to answer; the steps ask nothing.
  bool AskYesNo(const Text&, const Text&) override { return false; }
  // The open dialog "chooses" the definition; a save dialog is cancelled.
  std::optional<Text> ChooseFile(const FileDialog& dialog) override;
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
  void ShowFile(const Text& fileName) override;
  void RepaintButtonBar() override {}
  void ReloadButtonBarPicture() override {}
  void PumpMessages() override {}
  [[noreturn]] void EndProcess(int exitCode) override;

 private:
  Text definitionPath_;
  Text columns_;
  bool show_;
  Text caption_;
  MemoryPane pane_;
};

// A message's text for a console: CR LF becomes "\n", which the C library
// writes as the platform's line break.
Text ConsoleText(std::string_view text);

// The file in the current folder whose name equals fileName without regard
// to case (the page is shown as "Pravel.Html" but written as "Pravel.html"),
// as an absolute path; fileName itself when there is none.
Text FindFileIgnoringCase(const Text& fileName);

}  // namespace pravel::cli
