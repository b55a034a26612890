// The editor tools beside the four steps: paste a statement template, save
// the pane under another name, open the help link, find text and go to a
// menu name.
#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "bookmarks/BookmarkExport.h"
#include "definition/Definition.h"
#include "definition/Validation.h"
#include "text/FileWriter.h"
#include "tools/EditorTools.h"

namespace pravel {

void Workflow::PasteTemplate() {
  // The template goes through the clipboard, so Ctrl+V pastes it again.
  // Which of the two paste commands ran is told by its name.
  host.SetClipboardText(PasteTemplateText(
      currentCommand_ == InfoOf(Command::PasteMenu).name ? StatementTemplate::Menu : StatementTemplate::Link));
  Pane& pane = host.InputPane();
  std::int64_t from = pane.PaneSelection().first;
  // Inside a statement the template would become part of its value, and
  // cut the statement from its ">": it goes after the line instead, where
  // its leading line break starts a line of its own.
  if (const Pane::LineAt line = pane.PaneLineAt(from); InsideStatement(line.before + line.after, line.before.size())) {
    from = line.end;
    pane.PaneSelect(from, from);
  }
  host.PasteIntoInputPane();
  // The caret goes between the first pair of brackets, where the name or
  // address is typed next.
  if (const auto brackets = host.InputPane().PaneFind(from, "=<>")) {
    host.InputPane().PaneSelect(brackets->first + 2, brackets->first + 2);
  }
  host.FocusInputPane();
}

void Workflow::SaveAsClick() {
  currentCommand_ = "SaveAsClick";

  FileDialog dialog;
  dialog.save = true;
  dialog.title = "Save As";
  dialog.filters = {kTextFilesFilter};
  dialog.fileName = inputPath_;
  dialog.initialDir = Folder();
  dialog.defaultExt = "txt";

  constexpr const char* kStillInThePane = "The text is still in the pane.";
  if (const std::optional<Text> name = ChooseSaveName(dialog, kStillInThePane)) {
    SaveAsTo(*name, [&](const Text& why) {
      host.ShowMessage(WriteFailure(*name, Failed(why)) + Text(CRLF) + kStillInThePane, MessageKind::Error);
    });
  }
  host.FocusInputPane();
}

void Workflow::SaveAsTo(const Text& name, const std::function<void(const Text&)>& fail) {
  // The opened definition, written since by another program, is replaced
  // only when the user says so, and its present text is then kept beside it.
  const bool input = !inputPath_.empty() && SameFile(name, inputPath_);
  const bool changed = input && inputStamp_ && ChangedSince(inputPath_, *inputStamp_);
  if (changed && !MayReplaceInputFile()) return;
  const Text text = host.InputPane().PaneText();
  const WriteOptions options{.backupName = changed ? name + Text(kBackupSuffix) : Text(), .onDisk = true};
  if (FileResult saved = FileWriteText(name, text, options); !saved) return fail(saved.reason);
  // The pane's definition is the saved file from now on: the build rewrites
  // it, and the page and its files are made beside it. The road then
  // never mixes two folders, and a definition in a folder that cannot be
  // written can go on from another one.
  inputPath_ = name;
  folder_ = FolderOf(name);
  inputStamp_ = StampOf(name);
  host.InputPane().PaneSaved();
  if (host.InputPane().PaneTookUtf8()) host.ShowMessage(Utf8FromNowOn(name), MessageKind::Warning);
}

std::optional<Text> Workflow::ChooseSaveName(const FileDialog& dialog, const Text& refusal) {
  const std::optional<Text> chosen = host.ChooseFile(dialog);
  if (!chosen) return std::nullopt;
  const Text name = dialog.defaultExt == "txt" ? SaveAsName(*chosen) : *chosen;
  // Under the name of one of the road's own files it would destroy that
  // file now, and be destroyed by the next build.
  if (const Text pravelFile = PravelFileAt(name, FolderOf(name)); !pravelFile.empty()) {
    host.ShowMessage(WriteFailure(name, Failed(PravelFileReason(pravelFile))) + Text(CRLF) + refusal,
                     MessageKind::Error);
    return std::nullopt;
  }
  // The dialog asked about the name the user typed; when ".txt" was added
  // here, the file about to be replaced is another one, so ask again.
  if (name != *chosen && Exists(name) &&
      !host.AskYesNo(name + " already exists." + Text(CRLF) + "Do you want to replace it?", dialog.title)) {
    return std::nullopt;
  }
  return name;
}

Outcome Workflow::ExportBookmarkFile() {
  const TextLines lines = host.InputPane().PaneReadLines();
  if (const StatementCounts counts = CountStatements(lines); !counts.Passes()) {
    host.ShowMessage(ValidationReport(counts), MessageKind::Report);
    return Outcome::Refusal("the definition does not pass validation");
  }
  FileDialog dialog;
  dialog.save = true;
  dialog.title = "Export bookmarks";
  dialog.filters = {kBookmarksFilter};
  dialog.fileName = "Pravel_bookmarks.html";
  dialog.initialDir = Folder();
  dialog.defaultExt = "html";
  const std::optional<Text> name = ChooseSaveName(dialog, "No bookmark file was written.");
  if (!name) return Outcome::Refusal("no bookmark file was chosen");
  // The dialog only asked whether to replace a file; this one holds the
  // definition the bookmarks are made from.
  if (!inputPath_.empty() && SameFile(*name, inputPath_)) {
    host.ShowMessage(WriteFailure(*name, Failed("it is the definition open in the pane")) + Text(CRLF) +
                         "No bookmark file was written.",
                     MessageKind::Error);
    return Outcome::Refusal("the bookmark file would replace the definition");
  }
  const BookmarkExport exported = ExportBookmarks(lines);
  if (FileResult saved = FileWriteText(*name, exported.file); !saved) {
    host.ShowMessage(WriteFailure(*name, saved), MessageKind::Error);
    return Outcome::Failure(saved.reason);
  }
  host.ShowMessage(ExportSummary(exported, *name), MessageKind::Report);
  return {};
}

// A link the user keeps beside the definition comes first; a missing one is
// the platform's to report.
void Workflow::ShowHelp() { host.ShowFile(InFolder(kHelpLinkName)); }

void Workflow::FindLink() {
  if (host.InputPane().PaneTextLength() == 0) {
    host.ShowMessage("No text to search", MessageKind::Warning);
    return;
  }
  const Text what = host.FindFieldText();
  if (const std::optional<std::int64_t> end = FindFrom(findStart_, what)) {
    findStart_ = *end;
    host.FocusFindField();
    return;
  }
  // The answer only decides where the next search starts; the search
  // itself is not repeated.
  if (host.AskYesNo("\"" + what + "\" not found, continue from beginning?    ", "")) findStart_ = 0;
}

std::optional<std::int64_t> Workflow::FindFrom(std::int64_t start, const Text& what) {
  Pane& pane = host.InputPane();
  // Going to the end first and then back to the match leaves a match that
  // lies above the last screenful on the pane's first visible line.
  pane.PaneHideSelection(true);
  pane.PaneSelect(start, start);
  pane.PaneScrollCaret();
  pane.PaneSelect(start, -1);
  pane.PaneScrollCaret();
  const auto found = pane.PaneFind(start, what);
  if (!found) return std::nullopt;
  // Positions are the pane's own: a character of a name may take several
  // bytes.
  const auto [at, end] = *found;
  pane.PaneHideSelection(false);
  pane.PaneSelect(at, -1);
  pane.PaneScrollCaret();
  pane.PaneSelect(at, end);
  pane.PaneScrollCaret();
  return end;
}

void Workflow::GoToMenuName(int index, const Text& entry) {
  if (index < 0) return;  // nothing chosen; the prompt (0) is searched like any entry
  host.SetFindFieldText(entry);
  // A menu chosen from the list is found wherever the last match was: the
  // search starts at the top, and the find field keeps its own place.
  if (host.InputPane().PaneTextLength() == 0) {
    host.ShowMessage("No text to search", MessageKind::Warning);
  } else if (!FindFrom(0, entry)) {
    host.ShowMessage("\"" + entry + "\" not found", MessageKind::Warning);
  } else {
    host.FocusFindField();
  }
}

}  // namespace pravel
