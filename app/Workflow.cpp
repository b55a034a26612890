#include "app/Workflow.h"

#include <new>

#include "app/ButtonBar.h"
#include "app/FlagScope.h"
#include "app/PravelFiles.h"
#include "definition/Normalise.h"
#include "definition/Open.h"
#include "definition/Validation.h"
#include "html/FormBuilder.h"
#include "html/SaveShow.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"
#include "tools/EditorTools.h"

namespace pravel {

namespace {

bool WritesTrace(std::string_view command) {
  return command == "ValidateInput" || command == "BuildHtml" || command == "SaveShowHtml";
}

}  // namespace

Workflow::Workflow(Host& h, Text startDirectory) : host(h), StartDirectory(std::move(startDirectory)) {}

void Workflow::DispatchClick(int x, int y) {
  // A click that the repaint pump picks up while a command runs would run
  // its command nested inside the running one, on state that command is
  // still changing; it is dropped instead, as a busy button would be.
  if (commandRunning_) return;
  const std::string_view command = CommandAt(x, y);
  if (!command.empty()) RunCommand(command);
}

void Workflow::RunCommand(std::string_view command) {
  if (commandRunning_) return;
  FlagScope running(commandRunning_);
  try {
    CurrentCommand = Text(command);
    host.RepaintButtonBar();
    if (command == "Columns") return;  // the zone only moves the outline
    host.PumpMessages();
    RunRoutine(command);
    if (WritesTrace(command)) trace.WriteTraceFile();
  } catch (const std::bad_alloc&) {
    host.ShowMessage("Insufficient memory", MessageKind::Fatal);
    host.EndProcess(3);
  }
}

void Workflow::RunRoutine(std::string_view command) {
  if (command == "OpenInput") return DoOpen(*this);
  if (command == "ValidateInput") return ValidateInput();
  if (command == "BuildHtml") return BuildHtml();
  if (command == "SaveShowHtml") return SaveShowHtml();
  if (command == "SaveAs") return SaveAsClick(*this);
  if (command == "PasteLink" || command == "PasteMenu") return PasteTemplate(*this);
  if (command == "Help") return ShowHelp(*this);
  if (command == "Exit") Exit();
}

void Workflow::ValidateInput() {
  CurrentCommand = "ValidateInput";
  if (FileOpen == 0) return ShowStepGuard();
  ListClear(HtmlLines);
  re2.clear();
  emptyInput = 0;
  FileValidated = 0;
  HtmlBuilt = 0;
  CheckDefinition(*this);
  if (FileValidated == 0) return ShowStepGuard();
  host.SetCaption(kCaptionStep3);
  ShowStatus();
}

void Workflow::BuildHtml() {
  trace.Trace(" BuildHtml");
  CurrentCommand = "BuildHtml";
  // Cleared before the guard: a refused build leaves no stale page behind.
  ListClear(HtmlLines);
  ListClear(lb8);
  HtmlBuilt = 0;
  if (FileValidated == 0) return ShowStepGuard();
  CheckDefinition(*this);  // the text may have been edited since step 2
  if (FileValidated == 0) return ShowStepGuard();
  ShowStatus();
  // The open dialog refused the road's own files in the folder it left
  // current; a later dialog may have moved to the input file's folder.
  if (const Text pravelFile = InputPath.empty() ? Text() : PravelFileAt(InputPath, CurrentDirectory());
      !pravelFile.empty()) {
    host.ShowMessage("Cannot build from the input file " + InputPath + ": " + PravelFileReason(pravelFile) + ".",
                     MessageKind::Error);
    return;
  }

  LoadPageTemplate(*this);
  if (!StripAndBuild(*this)) {
    // Nothing to build from; the pane and the input file are as they were
    // and the user has been told why.
    ShowStatus();
    return;
  }
  LineIndex = 0;
  const WalkEnd end = DelegateWork(*this);
  if (end == WalkEnd::Finished) {
    host.SetCaption(kCaptionStep4);
    HtmlBuilt = 1;
  } else {
    // A walk stopped at an out-of-order address is not a finished page:
    // the draft is still written for inspection, but step 4 stays closed.
    HtmlBuilt = 0;
  }
  ShowStatus();
  if (FileResult saved = FileWriteLines(kDraftFileName, HtmlLines.Items()); !saved) {
    host.ShowMessage(Text("Could not write ") + kDraftFileName + ": " + saved.reason, MessageKind::Warning);
  }
}

void Workflow::SaveShowHtml() {
  CurrentCommand = "SaveShowHtml";
  trace.Trace(" SaveShowHtml");
  if (LinkNameCnt != LinkAddressCnt || emptyInput != 0 || FileValidated != 1 || HtmlBuilt != 1) {
    return ShowStepGuard();
  }
  FormsPlacedCount = 0;
  ShowStatus();
  if (!Create_MenusOnly(*this)) {
    // The files could not all be written; that was reported, nothing is
    // shown or claimed, and step 4 can be tried again.
    ShowStatus();
    return;
  }
  host.PumpMessages();
  host.ShowFile(kShowPageName);
  Text done;
  AppendLine(done, "The following files are newly created:");
  AppendLine(done, " Pravel.html ");
  AppendLine(done, " Pravel.txt ");
  AppendLine(done, " MenusOnly.txt ");
  AppendLine(done, "");
  done += "Located Here: " + StartDirectory;
  host.ShowMessage(done, MessageKind::Report);
  host.SetCaption(kCaptionDone);
  FileValidated = 0;
  HtmlBuilt = 0;
  FileOpen = 1;
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

}  // namespace pravel
