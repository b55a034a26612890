// The workflow: the step state, the command dispatcher, the step guards, the
// captions and the status line.
//
// One Workflow lives for the whole run. It owns the state the four steps
// share (flags, counters, the hidden stores) and runs each command through
// the Host, so the same object drives the window, the command line and the
// tests. The routines of the other subsystems take the Workflow and work on
// this state, as the program's commands have always shared theirs.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/Host.h"
#include "app/Trace.h"
#include "text/StringList.h"
#include "text/Text.h"

namespace pravel {

// Captions: each names the step the user should take next.
inline constexpr const char* kCaptionStep1 = "Pravels   -step 1 = Open Input file";
inline constexpr const char* kCaptionStep2 = "Pravels   -step 2  = Validate Input";
inline constexpr const char* kCaptionStep3 = "Pravels   -step 3 = Build Html";
inline constexpr const char* kCaptionStep4 = "Pravels   -step 4 =  Save/Show Html";
inline constexpr const char* kCaptionDone = "Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.";

// The status line before the first status is shown.
inline constexpr const char* kStatusAtStart = "Pravel ";

inline constexpr const char* kDraftFileName = "ShowDraft.Html";
// The page is written as "Pravel.html" and opened under this name (file
// names ignore case where the page is shown).
inline constexpr const char* kShowPageName = "Pravel.Html";

class Workflow {
 public:
  Workflow(Host& host, Text startDirectory);

  Host& host;
  TraceLog trace;

  // Step state.
  int FileOpen = 0;
  int FileValidated = 0;
  int HtmlBuilt = 0;
  int emptyInput = 0;  // shown as "emptyInput_<>= "

  // Counts kept by the menu-name list and validation.
  int MenuNameCnt = 0;
  int LinkNameCnt = 0;
  int LinkAddressCnt = 0;
  int HtmlHdrDoneCount = 0;
  int FormsPlacedCount = 0;  // form lines laid out in this Save/Show

  Text CurrentCommand = "nuttin";
  Text StartDirectory;
  Text InputPath;  // the file last opened; the build rewrites it

  std::int64_t LineIndex = 0;  // current line of the input pane
  std::int64_t FindStart = 0;  // where the next find begins

  // The hidden stores: the page template during a build, the generated
  // lines, the records of the definition, the menus-only lines of step 4.
  Text re2;
  StringList HtmlLines;
  StringList SortedList{true};
  StringList lb8;

  // A release of a mouse button at client point (x, y) of the button bar.
  // Clicks that arrive while a command runs are dropped.
  void DispatchClick(int x, int y);
  // Runs a command by name, as a click on its zone does.
  void RunCommand(std::string_view command);

  // The steps and Exit.
  void ValidateInput();
  void BuildHtml();
  void SaveShowHtml();
  void Exit();

  // The refusal message of a step that cannot run yet.
  void ShowStepGuard();
  // Writes the state into the status line.
  void ShowStatus();

  // "emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0"
  Text StateText() const;

  bool CommandRunning() const { return commandRunning_; }

 private:
  void RunRoutine(std::string_view command);

  bool commandRunning_ = false;
};

}  // namespace pravel
