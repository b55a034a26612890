// A Host for timing: answers the open dialog with the definition, keeps the
// pane in memory and counts messages instead of printing them, so that the
// figures are the engine's own.
#pragma once

#include <cstdlib>

#include "app/HeadlessHost.h"

namespace pravel::bench {

class QuietHost final : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;

  std::size_t messages = 0;
  std::size_t problems = 0;  // warnings and errors
  Text lastError;

  void ShowMessage(const Text& text, MessageKind kind) override {
    ++messages;
    if (kind != MessageKind::Report) ++problems;
    if (kind == MessageKind::Error || kind == MessageKind::Fatal) lastError = text;
  }
  [[noreturn]] void EndProcess(int exitCode) override { std::exit(exitCode); }
};

}  // namespace pravel::bench
