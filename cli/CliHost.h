// The Host of pravel-cli: the engine's window, replaced by standard output,
// standard error and the options of the command line.
#pragma once

#include "app/HeadlessHost.h"

namespace pravel::cli {

class CliHost final : public HeadlessHost {
 public:
  // definitionPath answers the open dialog; columns is the Columns field;
  // show lets the page be opened with its default program.
  CliHost(Text definitionPath, Text columns, bool show);

  // Reports go to standard output, everything else to standard error.
  void ShowMessage(const Text& text, MessageKind kind) override;
  void ShowFile(const Text& fileName) override;
  [[noreturn]] void EndProcess(int exitCode) override;

 private:
  bool show_;
};

// A message's text for a console: CR LF becomes "\n", which the C library
// writes as the platform's line break.
Text ConsoleText(std::string_view text);

// The file in the same folder as path whose name equals path's without
// regard to case (the page is shown as "Pravel.Html" but written as
// "Pravel.html"); path itself when there is none.
Text FindFileIgnoringCase(const Text& path);

}  // namespace pravel::cli
