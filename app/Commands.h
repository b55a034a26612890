// The commands, in one table: for each, the name the trace and
// CurrentCommand show, its zone on the button bar and the outline drawn
// there, the keys that run it and the tip that names them. Dispatch, hit
// testing, painting, the keyboard and the tooltips all read this table, so
// a command is added or moved in one place.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace pravel {

enum class Command {
  // The button bar's ten zones.
  OpenInput,
  ValidateInput,
  BuildHtml,
  SaveShowHtml,
  SaveAs,
  PasteLink,
  PasteMenu,
  Help,
  Exit,
  Columns,
  // Keys only.
  ExportBookmarks,
  // The window's own: its fields and the link check.
  FindField,
  FindNext,
  GoToList,
  CheckLinks,
  StopCheck,
};

inline constexpr int kButtonBarWidth = 600;
inline constexpr int kButtonBarHeight = 143;

// The bar has two rows of zones; a release exactly on y = 79 is in neither.
enum class BarRow { None, Top, Bottom };

struct BarRect {
  int left, top, right, bottom;
};

// A key as the platform numbers it: letters and digits are their upper-case
// characters, F1 is 0x70. No code: no key.
struct CommandKey {
  bool control = false;
  bool shift = false;
  int code = 0;
};
inline constexpr int kKeyF1 = 0x70;
inline constexpr int kKeyF3 = 0x72;
inline constexpr int kKeyEscape = 0x1B;

struct CommandInfo {
  Command command;
  std::string_view name;  // what CurrentCommand and the trace show; empty for the window's own fields
  BarRow row;             // the zone: after < x <= upTo in its row
  int after;
  int upTo;
  std::optional<BarRect> outline;
  bool writesTrace;  // "PravelTrace.txt" is written after the command, run or refused
  CommandKey keys[2];
  std::string_view tip;  // UTF-8
};

inline constexpr int kBeforeBar = -1000000;
inline constexpr int kAfterBar = 1000000;

// In the order the outlines are drawn.
inline constexpr CommandInfo kCommands[] = {
    {Command::SaveShowHtml,
     "SaveShowHtml",
     BarRow::Top,
     464,
     kAfterBar,
     BarRect{464, 25, 572, 76},
     true,
     {{true, false, '4'}},
     "Save/Show Html   Ctrl+4"},
    {Command::BuildHtml,
     "BuildHtml",
     BarRow::Top,
     354,
     464,
     BarRect{354, 25, 465, 76},
     true,
     {{true, false, '3'}},
     "Build Html   Ctrl+3"},
    {Command::ValidateInput,
     "ValidateInput",
     BarRow::Top,
     244,
     354,
     BarRect{252, 25, 350, 76},
     true,
     {{true, false, '2'}},
     "Validate Input   Ctrl+2"},
    {Command::SaveAs,
     "SaveAs",
     BarRow::Top,
     133,
     244,
     BarRect{138, 25, 236, 76},
     false,
     {{true, true, 'S'}},
     "Save As   Ctrl+Shift+S"},
    {Command::OpenInput,
     "OpenInput",
     BarRow::Top,
     kBeforeBar,
     132,
     BarRect{25, 25, 132, 76},
     false,
     {{true, false, '1'}, {true, false, 'O'}},
     "Open Input   Ctrl+O or Ctrl+1"},
    // Alt+F4 is the system's own way to close the window, which ends the
    // program as Exit does.
    {Command::Exit, "Exit", BarRow::Bottom, 464, kAfterBar, BarRect{464, 79, 572, 127}, false, {}, "Exit   Alt+F4"},
    {Command::Help,
     "Help",
     BarRow::Bottom,
     354,
     464,
     BarRect{354, 79, 465, 127},
     false,
     {{false, false, kKeyF1}},
     "Help   F1"},
    {Command::PasteLink,
     "PasteLink",
     BarRow::Bottom,
     132,
     244,
     BarRect{136, 79, 242, 127},
     false,
     {{true, false, 'L'}},
     "Paste Link   Ctrl+L"},
    {Command::PasteMenu,
     "PasteMenu",
     BarRow::Bottom,
     kBeforeBar,
     131,
     BarRect{25, 79, 131, 127},
     false,
     {{true, false, 'M'}},
     "Paste Menu   Ctrl+M"},
    // The Columns zone only moves the outline: it has none of its own.
    {Command::Columns, "Columns", BarRow::Bottom, 244, 354, std::nullopt, false, {}, ""},
    {Command::ExportBookmarks,
     "ExportBookmarks",
     BarRow::None,
     0,
     0,
     std::nullopt,
     false,
     {{true, false, 'E'}},
     "Export bookmarks   Ctrl+E"},
    {Command::FindField, "", BarRow::None, 0, 0, std::nullopt, false, {{true, false, 'F'}}, ""},
    {Command::FindNext, "", BarRow::None, 0, 0, std::nullopt, false, {{false, false, kKeyF3}}, ""},
    {Command::GoToList, "", BarRow::None, 0, 0, std::nullopt, false, {{true, false, 'G'}}, ""},
    {Command::CheckLinks, "", BarRow::None, 0, 0, std::nullopt, false, {{true, false, 'K'}}, "Check links   Ctrl+K"},
    // Only while a check runs: Esc elsewhere is the controls' own.
    {Command::StopCheck, "", BarRow::None, 0, 0, std::nullopt, false, {{false, false, kKeyEscape}}, ""},
};

const CommandInfo& InfoOf(Command command);

// The command of a release at client point (x, y) of the bar, or nothing
// where no zone applies (the row boundary y = 79, x = 133 in the top row,
// x = 132 in the bottom row).
std::optional<Command> CommandAt(int x, int y);

// The command whose outline is drawn in white for the current command's
// name, or nullptr when that name outlines no button ("nuttin", "DoOpen",
// "SaveAsClick", "Columns").
const CommandInfo* HighlightedCommand(std::string_view currentCommand);

}  // namespace pravel
