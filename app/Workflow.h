// The workflow: the step state and every routine that changes it or talks
// to the Host.
//
// One Workflow lives for the whole run. It owns what the four steps share
// (flags, counters, the hidden stores), dispatches the ten commands, and
// runs each step through the Host, so the same object drives the window,
// the command line and the tests. Every flag, caption and status change of
// the program is made here; the folders below only compute (records,
// reports, pages) from what they are given.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/Host.h"
#include "html/FormBuilder.h"
#include "text/Lines.h"
#include "text/Text.h"
#include "text/TextFile.h"
#include "text/Trace.h"

namespace pravel {

class Records;

// Captions: each names the step the user should take next.
inline constexpr const char* kCaptionStep1 = "Pravels   -step 1 = Open Input file";
inline constexpr const char* kCaptionStep2 = "Pravels   -step 2  = Validate Input";
inline constexpr const char* kCaptionStep3 = "Pravels   -step 3 = Build Html";
inline constexpr const char* kCaptionStep4 = "Pravels   -step 4 =  Save/Show Html";
inline constexpr const char* kCaptionDone = "Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.";

// The status line before the first status is shown.
inline constexpr const char* kStatusAtStart = "Pravel ";

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
  int HtmlHdrDoneCount = 0;  // page headers emitted since the last validation

  Text CurrentCommand = "nuttin";
  Text StartDirectory;
  Text InputPath;              // the file last opened; the build rewrites it
  std::int64_t FindStart = 0;  // where the next find begins

  // The hidden stores: the page template during a build, the generated page
  // lines, the regrouped definition line by line once built.
  Text re2;
  std::vector<Text> HtmlLines;
  std::vector<Text> SortedList;

  // A release of a mouse button at client point (x, y) of the button bar.
  void DispatchClick(int x, int y);
  // Runs a command by name, as a click on its zone does. A command asked
  // for while another runs is dropped.
  void RunCommand(std::string_view command);
  // Open Input with the file already chosen (named on the command line or
  // dropped on the window): the same checks, messages, state and caption
  // as after the open dialog. Dropped while a command runs.
  void OpenFile(const Text& path);
  bool CommandRunning() const { return commandRunning_; }

  // Step 1, Open Input: the open dialog, the file into the pane, the go-to
  // list.
  // With a chosen file the dialog is not shown.
  void DoOpen(const Text* chosen = nullptr);
  void FillMenuNameList();

  // Step 2, Validate Input: the counts, the report and the verdict.
  void ValidateInput();
  void CheckDefinition(const TextLines& lines);

  // Step 3, Build Html, and its parts in the order it runs them.
  void BuildHtml();
  void LoadPageTemplate();
  // Collects and sorts the records, writes them, regroups the definition
  // (TrimMenuName). False, with the pane and the input file left as they
  // were and the user told why, when there is no complete link pair.
  bool StripAndBuild(const TextLines& lines);
  WalkEnd DelegateWork();
  void WriteDraft();

  // Step 4, Save/Show Html: the menu lines into "MenusOnly.txt" and the
  // final page (RecreateAll_from). False, with the reason shown and the
  // draft page kept for another try, when a file could not be written.
  void SaveShowHtml();
  bool Create_MenusOnly();
  bool RecreateAll_from(std::span<Text> menuLines);

  // The editor tools.
  void PasteTemplate();
  void SaveAsClick();
  void ShowHelp();
  // Enter in the find field: the next occurrence of its text in the pane.
  void FindLink();
  // A confirmed choice in the go-to list (index, entry text).
  void GoToMenuName(int index, const Text& entry);

  void Exit();

  // The refusal message of a step that cannot run yet.
  void ShowStepGuard();
  // Writes the state into the status line.
  void ShowStatus();
  // "emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0"
  Text StateText() const;
  // "PravelTrace.txt" rewritten with the whole trace; a failure is not
  // reported and changes nothing.
  void WriteTraceFile() const;

 private:
  struct BuildNotes;

  void Run(std::string_view command, const Text* chosen);
  void RunRoutine(std::string_view command);
  void LoadChosenFile(const Text& path);
  // The input file, if it became one of the road's own files since it was
  // opened; the user is told.
  bool InputIsPravelFile();
  void TrimMenuName(const Records& records, std::string_view paneText, BuildNotes& notes);
  void RewriteInputFile(const Text& definition, BuildNotes& notes);
  bool Reported(const char* name, const FileResult& written);

  bool commandRunning_ = false;
};

}  // namespace pravel
