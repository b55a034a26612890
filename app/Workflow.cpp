#include "app/Workflow.h"

#include <new>

#include "app/ButtonBar.h"
#include "app/FlagScope.h"
#include "app/PravelFiles.h"
#include "definition/Validation.h"
#include "text/FileWriter.h"

namespace pravel {

namespace {

bool WritesTrace(std::string_view command) {
  return command == "ValidateInput" || command == "BuildHtml" || command == "SaveShowHtml";
}

}  // namespace

Workflow::Workflow(Host& h, Text startDirectory) : host(h), StartDirectory(std::move(startDirectory)) {}

void Workflow::DispatchClick(int x, int y) {
  const std::string_view command = CommandAt(x, y);
  if (!command.empty()) RunCommand(command);
}

void Workflow::RunCommand(std::string_view command) { Run(command, nullptr); }

void Workflow::OpenFile(const Text& path) { Run("OpenInput", &path); }

void Workflow::Run(std::string_view command, const Text* chosen) {
  // A click that the repaint pump picks up while a command runs would run
  // its command nested inside the running one, on state that command is
  // still changing; it is dropped instead, as a busy button would be.
  if (commandRunning_) return;
  FlagScope running(commandRunning_);
  try {
    CurrentCommand = Text(command);
    host.RepaintButtonBar();
    if (command == "Columns") return;  // the zone only moves the outline
    host.PumpMessages();
    if (chosen) return DoOpen(chosen);
    RunRoutine(command);
    if (WritesTrace(command)) WriteTraceFile();
  } catch (const std::bad_alloc&) {
    host.ShowMessage("Insufficient memory", MessageKind::Fatal);
    host.EndProcess(3);
  }
}

void Workflow::RunRoutine(std::string_view command) {
  if (command == "OpenInput") return DoOpen();
  if (command == "ValidateInput") return ValidateInput();
  if (command == "BuildHtml") return BuildHtml();
  if (command == "SaveShowHtml") return SaveShowHtml();
  if (command == "SaveAs") return SaveAsClick();
  if (command == "PasteLink" || command == "PasteMenu") return PasteTemplate();
  if (command == "Help") return ShowHelp();
  if (command == "Exit") Exit();
}

void Workflow::ValidateInput() {
  CurrentCommand = "ValidateInput";
  if (FileOpen == 0) return ShowStepGuard();
  HtmlLines.clear();
  re2.clear();
  emptyInput = 0;
  FileValidated = 0;
  HtmlBuilt = 0;
  CheckDefinition(host.InputPane().PaneReadLines());
  if (FileValidated == 0) return ShowStepGuard();
  host.SetCaption(kCaptionStep3);
  ShowStatus();
}

void Workflow::CheckDefinition(const TextLines& lines) {
  HtmlHdrDoneCount = 0;
  const StatementCounts counts = CountStatements(lines);
  MenuNameCnt = counts.menuNames;
  LinkNameCnt = counts.linkNames;
  LinkAddressCnt = counts.linkAddresses;
  emptyInput = counts.emptyInput;
  host.ShowMessage(ValidationReport(counts), MessageKind::Report);
  FileValidated = counts.Passes() ? 1 : 0;
  ShowStatus();
}

void Workflow::Exit() { host.EndProcess(0); }

Text Workflow::StateText() const {
  return "emptyInput_<>= " + NumberToText(emptyInput) + "  FileOpen= " + NumberToText(FileOpen) +
         "  FileValidated= " + NumberToText(FileValidated) + "  HtmlBuilt= " + NumberToText(HtmlBuilt);
}

void Workflow::ShowStepGuard() {
  Text text;
  AppendLine(text, "Please, first do the following steps successfully:");
  AppendLine(text, "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  ");
  AppendLine(text, "THEN  Save/Show.");
  text += StateText();
  host.ShowMessage(text, MessageKind::Error);
}

void Workflow::ShowStatus() { host.SetStatus("Pravels: " + StateText()); }

void Workflow::WriteTraceFile() const { FileWriteText(kTraceFileName, trace.TraceText); }

}  // namespace pravel
