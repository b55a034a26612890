// The workflow: the step state and every routine that changes it or talks
// to the Host.
//
// One Workflow lives for the whole run. It owns what the four steps share
// (flags, counters, the hidden stores), dispatches the commands, and runs
// each step through the Host, so the same object drives the window, the
// command line and the tests. Every flag, caption and status change of the
// program is made here; the folders below only compute (records, reports,
// pages) from what they are given.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/Commands.h"
#include "app/Host.h"
#include "app/Probe.h"
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

// How a command ended, for a caller that goes on from it: the command line
// maps it to its exit status. The user has already been shown the whole
// message; `why` says it in a few words.
struct Outcome {
  enum Kind {
    Done,
    Refused,  // a step before it has not been done, or the definition does not pass
    Failed,   // it could not be done: a file that cannot be read or written, nothing to build
  };
  Kind kind = Done;
  Text why;

  bool done() const { return kind == Done; }
  static Outcome Refusal(Text why) { return {Refused, std::move(why)}; }
  static Outcome Failure(Text why) { return {Failed, std::move(why)}; }
};

// The state the four steps share; only the steps change it.
struct StepState {
  int FileOpen = 0;
  int FileValidated = 0;
  int HtmlBuilt = 0;
  int emptyInput = 0;  // shown as "emptyInput_<>= "
  // Counts kept by the menu-name list and validation.
  int MenuNameCnt = 0;
  int LinkNameCnt = 0;
  int LinkAddressCnt = 0;
};

class Workflow {
 public:
  explicit Workflow(Host& host);

  // A release of a mouse button at client point (x, y) of the button bar.
  void DispatchClick(int x, int y);
  // Runs a command, as a click on its zone does. A command asked for while
  // another runs is dropped (and refused).
  Outcome RunCommand(Command command);
  // Open Input with the file already chosen (named on the command line or
  // dropped on the window): the same checks, messages, state and caption
  // as after the open dialog. Dropped while a command runs.
  Outcome OpenFile(const Text& path);
  bool CommandRunning() const { return commandRunning_; }

  // Enter in the find field: the next occurrence of its text in the pane.
  void FindLink();
  // A confirmed choice in the go-to list (index, entry text).
  void GoToMenuName(int index, const Text& entry);

  // Closing the window: ends the program, once the user agrees to lose
  // what the pane holds in no file.
  void Close();

  const StepState& State() const { return state_; }
  const Text& CurrentCommand() const { return currentCommand_; }
  const Text& InputPath() const { return inputPath_; }
  // The folder of the definition in the pane, where every file of the road
  // is read and written: held here, never taken from the process's current
  // folder, which a dialog or another part of the program may move. Before
  // any definition is open, the host's start folder.
  Text Folder() const { return folder_.empty() ? host.StartFolder() : folder_; }
  // The draft page after a build, the final page after Save/Show.
  const std::vector<Text>& PageLines() const { return HtmlLines; }
  std::int64_t FindStart() const { return findStart_; }
  TraceLog& Trace() { return trace_; }
  // Marks the parts of the steps for a benchmark; none by default.
  void SetProbe(Probe* probe) { probe_ = probe; }

 private:
  struct BuildNotes;

  Outcome Run(Command command, const Text* chosen);
  Outcome RunRoutine(Command command);

  // Step 1, Open Input: the open dialog, the file into the pane, the go-to
  // list. With a chosen file the dialog is not shown.
  Outcome DoOpen(const Text* chosen = nullptr);
  Outcome LoadChosenFile(const Text& path);
  // A browser's bookmark file chosen to open: made into a definition,
  // which the user saves where they like and which is then opened. A
  // cancelled save leaves everything as it was (refused).
  Outcome ImportBookmarkFile(const Text& path, std::string_view bytes);
  void FillMenuNameList(const TextLines& lines);
  void SetMenuNameList(const std::vector<Text>& entries);

  // Step 2, Validate Input: the counts, the report and the verdict.
  Outcome ValidateInput();
  void CheckDefinition(const TextLines& lines);

  // Step 3, Build Html, and its parts in the order it runs them.
  Outcome BuildHtml();
  // A file of the road: the name in the definition's folder.
  Text InFolder(const char* name) const { return PathIn(Folder(), name); }
  // Whether files can be made in the definition's folder; when not, the
  // user is told, and nothing of the road is written anywhere else.
  bool FolderWritable();
  void LoadPageTemplate();
  // Whether the page template has the pieces a page of menus is made of;
  // when it lacks one, the user is told which, before anything is written.
  bool PageTemplateGivesMenus();
  // Where the page templates are read from: the definition's folder; but
  // when it holds none of the four and the folder beside the program does
  // (the example shipped with it), that one, and nothing is created here.
  Text TemplateFolder() const;
  Text ReadTemplate(const Text& folder, const char* name) const;
  // Collects and sorts the records, writes them, regroups the definition
  // (TrimMenuName). False, with the pane and the input file left as they
  // were and the user told why, when there is no complete link pair.
  bool StripAndBuild(const TextLines& lines);
  // Whether the input file may be replaced: yes when it is as Pravel last
  // read or wrote it, or gone; when another program has written it since,
  // the user is asked.
  bool MayReplaceInputFile();
  void TrimMenuName(const Records& records, std::string_view paneText, BuildNotes& notes);
  void RewriteInputFile(const Text& definition, std::string_view paneText, BuildNotes& notes);
  WalkEnd DelegateWork();
  void WriteDraft();

  // Step 4, Save/Show Html: the menu lines into "MenusOnly.txt" and the
  // final page (RecreateAll_from). False, with the reason shown and the
  // draft page kept for another try, when a file could not be written.
  Outcome SaveShowHtml();
  bool Create_MenusOnly();
  bool RecreateAll_from(std::span<Text> menuLines);
  bool Reported(const char* name, const FileResult& written);

  // The editor tools.
  void PasteTemplate();
  void SaveAsClick();
  void SaveAsTo(const Text& name, const std::function<void(const Text&)>& fail);
  void ShowHelp();
  // The page's menus as a browser's bookmark file, where the user saves it.
  Outcome ExportBookmarkFile();
  // Where the user saves a file Pravel makes: the dialog's name, with
  // ".txt" added for a definition (asking again when that name exists),
  // never one of Pravel's own files; nothing when cancelled or refused.
  std::optional<Text> ChooseSaveName(const FileDialog& dialog, const Text& refusal);
  // The next occurrence of the text from `start` selected and shown; its
  // end, or nothing.
  std::optional<std::int64_t> FindFrom(std::int64_t start, const Text& what);
  void Exit();
  // Whether what the pane holds may be thrown away: yes when it is in a
  // file, else the user is asked.
  bool MayDiscardPane();

  // The refusal message of a step that cannot run yet.
  Outcome ShowStepGuard();
  // Writes the state into the status line.
  void ShowStatus();
  // "emptyInput_<>= 0  FileOpen= 0  FileValidated= 0  HtmlBuilt= 0"
  Text StateText() const;
  // "PravelTrace.txt" rewritten with the whole trace; a failure is not
  // reported and changes nothing.
  void WriteTraceFile() const;

  Host& host;
  TraceLog trace_;
  Probe* probe_ = nullptr;
  StepState state_;
  int HtmlHdrDoneCount = 0;       // page headers emitted since the last validation
  std::size_t droppedLines_ = 0;  // lines of the text last validated that a rewrite leaves out
  Text currentCommand_ = "nuttin";
  Text inputPath_;                       // the file last opened or saved as; the build rewrites it
  Text folder_;                          // the folder of inputPath_, made absolute when it was chosen
  std::optional<FileStamp> inputStamp_;  // the input file as last read or written here
  std::int64_t findStart_ = 0;           // where the next find begins
  std::uint64_t builtFrom_ = 0;          // the pane's change count when the page was built
  // The hidden stores: the page template during a build, the generated
  // page lines.
  Text re2;
  std::vector<Text> HtmlLines;
  Text templateFolder_;  // where the last build or Save/Show read its templates
  bool commandRunning_ = false;
};

}  // namespace pravel
