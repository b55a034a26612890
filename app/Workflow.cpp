#include "app/Workflow.h"

#include <new>

#include "app/FlagScope.h"
#include "app/PravelFiles.h"
#include "definition/Validation.h"
#include "text/FileWriter.h"

namespace pravel {

Workflow::Workflow(Host& h) : host(h) {}

void Workflow::DispatchClick(int x, int y) {
  if (const std::optional<Command> command = CommandAt(x, y)) RunCommand(*command);
}

Outcome Workflow::RunCommand(Command command) { return Run(command, nullptr); }

Outcome Workflow::OpenFile(const Text& path) { return Run(Command::OpenInput, &path); }

Outcome Workflow::Run(Command command, const Text* chosen) {
  // A click that the repaint pump picks up while a command runs would run
  // its command nested inside the running one, on state that command is
  // still changing; it is dropped instead, as a busy button would be.
  if (commandRunning_) return Outcome::Refusal("another command is running");
  const CommandInfo& info = InfoOf(command);
  // The window's own fields and the link check are the window's to handle.
  if (info.name.empty()) return {};
  FlagScope running(commandRunning_);
  try {
    currentCommand_ = Text(info.name);
    host.RepaintButtonBar();
    if (command == Command::Columns) return {};  // the zone only moves the outline
    host.PumpMessages();
    if (chosen) return DoOpen(chosen);
    Outcome outcome = RunRoutine(command);
    if (info.writesTrace) WriteTraceFile();
    return outcome;
  } catch (const std::bad_alloc&) {
    host.ShowMessage("Insufficient memory", MessageKind::Fatal);
    host.EndProcess(3);
  }
  return Outcome::Failure("out of memory");  // not reached: the process has ended
}

Outcome Workflow::RunRoutine(Command command) {
  switch (command) {
    case Command::OpenInput:
      return DoOpen();
    case Command::ValidateInput:
      return ValidateInput();
    case Command::BuildHtml:
      return BuildHtml();
    case Command::SaveShowHtml:
      return SaveShowHtml();
    case Command::SaveAs:
      SaveAsClick();
      break;
    case Command::PasteLink:
    case Command::PasteMenu:
      PasteTemplate();
      break;
    case Command::Help:
      ShowHelp();
      break;
    case Command::Exit:
      Exit();
      break;
    case Command::ExportBookmarks:
      return ExportBookmarkFile();
    default:
      break;
  }
  return {};
}

Outcome Workflow::ValidateInput() {
  currentCommand_ = "ValidateInput";
  if (state_.FileOpen == 0) return ShowStepGuard();
  HtmlLines.clear();
  re2.clear();
  state_.emptyInput = 0;
  state_.FileValidated = 0;
  state_.HtmlBuilt = 0;
  CheckDefinition(host.InputPane().PaneReadLines());
  if (state_.FileValidated == 0) return ShowStepGuard();
  host.SetCaption(kCaptionStep3);
  ShowStatus();
  return {};
}

void Workflow::CheckDefinition(const TextLines& lines) {
  HtmlHdrDoneCount = 0;
  const DefinitionScan scan = ScanDefinition(lines);
  const StatementCounts& counts = scan.counts;
  // The go-to list follows the text being checked: menus added or removed
  // since it was opened are listed, or gone.
  SetMenuNameList(scan.menuNames);
  droppedLines_ = scan.droppedLines;
  state_.MenuNameCnt = counts.menuNames;
  state_.LinkNameCnt = counts.linkNames;
  state_.LinkAddressCnt = counts.linkAddresses;
  state_.emptyInput = counts.emptyInput;
  host.ShowMessage(ValidationReport(counts), MessageKind::Report);
  if (!scan.warnings.empty()) host.ShowMessage(scan.warnings, MessageKind::Warning);
  state_.FileValidated = counts.Passes() ? 1 : 0;
  ShowStatus();
}

void Workflow::Exit() {
  if (MayDiscardPane()) host.EndProcess(0);
}

void Workflow::Close() { Exit(); }

bool Workflow::MayDiscardPane() {
  return !host.InputPane().PaneModified() ||
         host.AskYesNo("The definition in the pane has changes that are not saved. Discard them?", "Pravel");
}

Text Workflow::StateText() const {
  return "emptyInput_<>= " + NumberToText(state_.emptyInput) + "  FileOpen= " + NumberToText(state_.FileOpen) +
         "  FileValidated= " + NumberToText(state_.FileValidated) + "  HtmlBuilt= " + NumberToText(state_.HtmlBuilt);
}

Outcome Workflow::ShowStepGuard() {
  Text text;
  AppendLine(text, "Please, first do the following steps successfully:");
  AppendLine(text, "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  ");
  AppendLine(text, "THEN  Save/Show.");
  text += StateText();
  host.ShowMessage(text, MessageKind::Error);
  return Outcome::Refusal(state_.FileOpen == 0        ? "no definition has been opened"
                          : state_.FileValidated == 0 ? "the definition has not passed validation"
                                                      : "the page has not been built");
}

void Workflow::ShowStatus() { host.SetStatus("Pravels: " + StateText()); }

void Workflow::WriteTraceFile() const { FileWriteText(InFolder(kTraceFileName), trace_.TraceText); }

}  // namespace pravel
