// A Host without a window: the pane lives in memory, the open dialog is
// answered with the definition given, a save dialog is cancelled and nobody
// is there to answer a question. The command line, the benchmarks and the
// fuzz targets run the workflow on it; each decides what becomes of the
// messages and of the end of the process.
#pragma once

#include "app/Host.h"

namespace pravel {

class HeadlessHost : public Host {
 public:
  // definitionPath answers the open dialog; columns is the Columns field.
  HeadlessHost(Text definitionPath, Text columns);

  const Text& Caption() const { return caption_; }

  void SetCaption(const Text& caption) override { caption_ = caption; }
  void SetStatus(const Text&) override {}
  bool AskYesNo(const Text&, const Text&) override { return false; }
  // The open dialog hands back a full path, as the window's does: the build
  // rewrites that file.
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
  void ShowFile(const Text&) override {}
  void RepaintButtonBar() override {}
  void ReloadButtonBarPicture() override {}
  void PumpMessages() override {}

 private:
  Text definitionPath_;
  Text columns_;
  Text caption_;
  MemoryPane pane_;
};

}  // namespace pravel
