#include "app/Commands.h"

namespace pravel {

namespace {

constexpr Command kLastCommand = Command::StopCheck;

constexpr bool EveryCommandHasItsRow() {
  for (int c = 0; c <= static_cast<int>(kLastCommand); ++c) {
    int rows = 0;
    for (const CommandInfo& info : kCommands) rows += static_cast<int>(info.command) == c ? 1 : 0;
    if (rows != 1) return false;
  }
  return true;
}
static_assert(EveryCommandHasItsRow(), "every command has exactly one row in kCommands");

}  // namespace

const CommandInfo& InfoOf(Command command) {
  for (const CommandInfo& info : kCommands) {
    if (info.command == command) return info;
  }
  return kCommands[0];  // not reached: every command has its row
}

std::optional<Command> CommandAt(int x, int y) {
  const BarRow row = y < 79 ? BarRow::Top : (y > 79 ? BarRow::Bottom : BarRow::None);
  if (row == BarRow::None) return std::nullopt;
  for (const CommandInfo& info : kCommands) {
    if (info.row == row && x > info.after && x <= info.upTo) return info.command;
  }
  return std::nullopt;
}

const CommandInfo* HighlightedCommand(std::string_view currentCommand) {
  for (const CommandInfo& info : kCommands) {
    if (info.outline && info.name == currentCommand) return &info;
  }
  return nullptr;
}

}  // namespace pravel
