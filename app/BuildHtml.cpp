// Step 3, Build Html: validate again, regroup the definition, and walk it
// into the draft page.
#include <algorithm>
#include <unordered_set>

#include "app/PravelFiles.h"
#include "app/WorkScope.h"
#include "app/Workflow.h"
#include "definition/MenuNames.h"
#include "definition/Normalise.h"
#include "html/FormBuilder.h"
#include "html/PageTemplate.h"
#include "text/Charset.h"
#include "text/FileWriter.h"
#include "text/Lines.h"

namespace pravel {

// What a build has to tell the user beyond the normal report: collected as
// the pass runs and shown as one message at its end, so that a definition
// of a million lines never produces a million messages.
struct Workflow::BuildNotes {
  std::size_t dropped = 0;  // lines with text the rewrite does not keep
  std::size_t unused = 0;   // statement lines that went into no record
  Text backupName;          // set when a backup was written
  bool inFile = false;      // the input file holds the rebuilt definition
  bool nowUtf8 = false;     // the input file was written in UTF-8 for the first time
  bool validatedWritten = true;
  Text failures;

  void Failed(const Text& what) {
    if (!failures.empty()) failures += CRLF;
    failures += what;
  }
};

Outcome Workflow::BuildHtml() {
  trace_.Trace(" BuildHtml");
  currentCommand_ = "BuildHtml";
  // Cleared before the guard: a refused build leaves no stale page behind.
  HtmlLines.clear();
  state_.HtmlBuilt = 0;
  if (state_.FileValidated == 0) return ShowStepGuard();
  WorkScope work(host, "Building the page");
  host.WorkPart("checking the definition");
  // Read once for the check and the records: nothing can change the pane
  // in between (the boxes shown meanwhile are modal). The pane takes the
  // regrouped text at the end of StripAndBuild; these lines are not read
  // after that.
  const TextLines lines = host.InputPane().PaneReadLines();
  {
    ProbedPart part(probe_, "revalidate");
    CheckDefinition(lines);  // the text may have been edited since step 2
  }
  if (state_.FileValidated == 0) return ShowStepGuard();
  ShowStatus();
  if (!FolderWritable()) return Outcome::Failure("the definition's folder cannot be written");
  // Asked before anything is written: a No leaves every file as it was.
  if (!MayReplaceInputFile()) return Outcome::Refusal("the input file changed on disk");

  LoadPageTemplate();
  if (!PageTemplateGivesMenus()) {
    ShowStatus();
    return Outcome::Failure("the page template lacks a piece of the page");
  }
  if (!StripAndBuild(lines)) {
    // Nothing to build from; the pane and the input file are as they were
    // and the user has been told why.
    ShowStatus();
    return Outcome::Failure("the definition holds no complete link pair");
  }
  Outcome outcome;
  if (DelegateWork() == WalkEnd::Finished) {
    host.SetCaption(kCaptionStep4);
    state_.HtmlBuilt = 1;
    builtFrom_ = host.InputPane().PaneChangeCount();
  } else {
    // A walk stopped at an out-of-order address is not a finished page:
    // the draft is still written for inspection, but step 4 stays closed.
    host.ShowMessage(Text(kOutOfOrderMessage), MessageKind::Error);
    outcome = Outcome::Failure("a link address stands out of order");
  }
  ShowStatus();
  WriteDraft();
  return outcome;
}

bool Workflow::FolderWritable() {
  const Text folder = Folder();
  const FileResult writable = CanCreateFileIn(folder);
  if (writable) return true;
  host.ShowMessage("Cannot write in the folder " + folder + ": " + writable.reason + "." + Text(CRLF) +
                       "The page and its files are made beside the definition. Save the definition in another "
                       "folder with Save As, then build again.",
                   MessageKind::Error);
  return false;
}

bool Workflow::MayReplaceInputFile() {
  if (inputPath_.empty() || !inputStamp_ || !ChangedSince(inputPath_, *inputStamp_)) return true;
  return host.AskYesNo(inputPath_ +
                           " changed on disk since it was opened. Replace it with the definition in the pane? " +
                           "(Its present text is kept in " + inputPath_ + Text(kBackupSuffix) + ".)",
                       "Pravel");
}

void Workflow::LoadPageTemplate() {
  ProbedPart part(probe_, "template");
  templateFolder_ = TemplateFolder();
  re2 = ReadTemplate(templateFolder_, kPageTemplateName);
}

bool Workflow::PageTemplateGivesMenus() {
  const std::vector<Text> missing = MissingPieces(ReadPageParts(re2));
  if (missing.empty()) return true;
  const Text name = PathIn(templateFolder_, kPageTemplateName);
  // A page without menus, announced as created, would look like a build
  // that worked; the template is named with what it lacks instead.
  Text text = "No page is built: the page template " + name;
  if (re2.empty()) {
    text += " is empty or missing.";
  } else {
    text += " lacks:";
    for (const Text& piece : missing) text += Text(CRLF) + "    " + piece;
  }
  text += CRLF;
  text += "The input pane and the input file are left as they were.";
  host.ShowMessage(text, MessageKind::Error);
  return false;
}

Text Workflow::TemplateFolder() const {
  const char* const names[] = {kPageTemplateName, kHeaderFileName, kTableHeaderFileName, kTrailerFileName};
  const Text folder = Folder();
  for (const char* name : names) {
    if (Exists(PathIn(folder, name))) return folder;
  }
  const Text beside = host.ProgramFolder();
  if (beside.empty() || SameFile(beside, folder)) return folder;
  for (const char* name : names) {
    if (Exists(PathIn(beside, name))) return beside;
  }
  return folder;
}

Text Workflow::ReadTemplate(const Text& folder, const char* name) const {
  // Only the definition's own folder gets the missing templates made
  // empty, for the user to fill; the program's folder is read, never written.
  if (folder == Folder()) return FileReadAll(PathIn(folder, name));
  Text text;
  FileRead(PathIn(folder, name), text);
  return text;
}

bool Workflow::StripAndBuild(const TextLines& lines) {
  ProbedPart part(probe_, "normalise");
  host.WorkPart("sorting the records");
  trace_.Trace("StripAndBuild");
  // Validation has just counted the address lines: no more records can come.
  const Records records = CollectRecords(lines, static_cast<std::size_t>(std::max(state_.LinkAddressCnt, 0)));
  if (records.Count() == 0) {
    // Rewriting now would empty the user's pane and file: nothing is
    // touched, and the build stops here.
    Text text =
        "Nothing to build: the definition holds no complete link pair (a linkname=<...> followed by its "
        "linkaddress=<...>) under a menu name.";
    text += CRLF;
    text += "The input pane and the input file are left as they were.";
    if (records.leftOut().Any()) text += Text(CRLF) + Text(CRLF) + LeftOutText(records.leftOut());
    host.ShowMessage(text, MessageKind::Error);
    return false;
  }

  BuildNotes notes;
  notes.dropped = droppedLines_;  // of these lines, validated just before
  notes.unused = records.leftOut().Lines();
  FileWriter file(InFolder(kSortedRecordsName));
  for (std::size_t k = 0; k < records.Count(); ++k) {
    file.Append(records[k].menu);
    file.Append(records[k].link);
    file.AppendLine(records[k].address);
  }
  if (FileResult written = file.Finish(); !written) notes.Failed(WriteFailure(kSortedRecordsName, written));
  TrimMenuName(records, lines.Whole(), notes);

  // The build's closing message: what the rewrite left out, and where it
  // is kept.
  Text text;
  if (records.leftOut().Any()) text = LeftOutText(records.leftOut());
  if (notes.dropped > 0) {
    if (!text.empty()) text += CRLF;
    text += "The rewrite left out " + NumberToText(static_cast<std::int64_t>(notes.dropped)) +
            (notes.dropped == 1 ? " line" : " lines") +
            " of the definition: lines that hold no statement, or text beside one (remarks, misspelt keywords).";
  }
  if (!text.empty() && !notes.backupName.empty()) {
    text += CRLF;
    text += notes.backupName + " keeps the text as it was before the build.";
  }
  if (notes.nowUtf8) {
    if (!text.empty()) text += CRLF;
    text += Utf8FromNowOn(inputPath_);
  }
  if (!notes.failures.empty()) {
    if (!text.empty()) text += Text(CRLF) + Text(CRLF);
    text += notes.failures;
  }
  if (!text.empty()) host.ShowMessage(text, MessageKind::Warning);
  return true;
}

// The regrouped definition into "ValidatedInput.txt", the input file and
// the pane; the record list then shows the definition line by line.
void Workflow::TrimMenuName(const Records& records, std::string_view paneText, BuildNotes& notes) {
  trace_.Trace("TrimMenuName");
  Text definition = RegroupRecords(records, trace_);
  // A definition marked as UTF-8 stays marked: some editors read a file
  // without the mark in the system's code page.
  if (paneText.starts_with(kUtf8ByteOrderMark)) definition.insert(0, kUtf8ByteOrderMark);
  if (FileResult written = FileWriteText(InFolder(kValidatedInputName), definition); !written) {
    notes.Failed(WriteFailure(kValidatedInputName, written));
    notes.validatedWritten = false;
  }
  RewriteInputFile(definition, paneText, notes);
  const std::vector<Text> SortedList = StoredLines(definition);
  // The pane takes the text built here rather than the file read back: a
  // file that could not be written must not decide what the pane holds. It
  // goes last, as the text is no longer needed here, and the records (which
  // view the pane's old text) are not read again. A pane that already holds
  // the text is left as it is: a window's pane takes a large text slowly.
  // The go-to list of the regrouped text: each menu once, as the records
  // give them, without reading the new text's lines again.
  std::vector<Text> entries{kMenuNamePrompt};
  std::unordered_set<std::string_view> listed;
  for (std::size_t k = 0; k < records.Count(); ++k) {
    const std::string_view menu = records[k].menu;
    if (k > 0 && menu.data() == records[k - 1].menu.data()) continue;
    if (const auto name = MenuNameEntryOf(menu); name && listed.insert(*name).second) entries.emplace_back(*name);
  }
  SetMenuNameList(entries);
  if (definition != paneText) {
    host.WorkPart("putting the rebuilt definition into the pane");
    host.PaneAboutToChange();
    host.InputPane().PaneTakeText(std::move(definition));
  }
  if (notes.inFile) host.InputPane().PaneSaved();
  host.ShowSortedList(SortedList);
}

// The input file takes the normalised definition, whole, and the text the
// rewrite may lose is kept beside it. That is the file's previous content,
// unless it is only what Pravel itself writes (statements and one-space
// lines): then the backup keeps the user's older text. When the pane holds
// lines the rewrite leaves out and they are in no file (typed since the
// file was read or written, or the file is gone), the backup takes the
// pane's text instead. A file that already holds exactly this text is left
// alone.
void Workflow::RewriteInputFile(const Text& definition, std::string_view paneText, BuildNotes& notes) {
  if (inputPath_.empty()) return;
  // Only a file of the same length can hold the same text; a large file of
  // another length is not read just to find that out.
  const std::optional<std::uintmax_t> size = FileSize(inputPath_);
  bool existed = size.has_value();
  if (existed && *size == definition.size()) {
    Text current;
    existed = FileRead(inputPath_, current).ok;
    if (existed && current == definition) {
      notes.inFile = true;
      return;
    }
  }
  const Text backup = inputPath_ + Text(kBackupSuffix);
  WriteOptions options{.onDisk = true};
  if (notes.dropped + notes.unused > 0 && (host.InputPane().PaneModified() || !existed)) {
    if (FileResult kept = FileWriteText(backup, paneText, {.onDisk = true}); !kept) {
      notes.Failed(WriteFailure(backup, kept));
    } else {
      notes.backupName = backup;
    }
  } else if (existed && !FileIsRegroupedDefinition(inputPath_)) {
    options.backupName = backup;
  }
  if (FileResult replaced = FileWriteText(inputPath_, definition, options); !replaced) {
    notes.Failed(WriteFailure("the input file " + inputPath_, replaced) + Text(CRLF) +
                 "The file keeps its previous content; the rebuilt definition is in the input pane" +
                 (notes.validatedWritten ? " and in " + Text(kValidatedInputName) : Text()) + ".");
    return;
  }
  notes.inFile = true;
  notes.nowUtf8 = host.InputPane().PaneTookUtf8();
  inputStamp_ = StampOf(inputPath_);
  if (!options.backupName.empty()) notes.backupName = backup;
}

WalkEnd Workflow::DelegateWork() {
  ProbedPart part(probe_, "walk");
  host.WorkPart("making the draft page");
  const TextLines definition = host.InputPane().PaneReadLines();
  // A draft page has about as many lines as the definition, mostly fewer:
  // room for them at once, so the list does not copy itself as it grows.
  HtmlLines.reserve(HtmlLines.size() + definition.Count());
  const PageParts page = ReadPageParts(re2);
  // A page that says it is UTF-8 gets its values in UTF-8, whatever the
  // definition was written in.
  ValueToUtf8 toUtf8;
  if (DeclaresUtf8(page.header) && !IsUtf8(definition.Whole())) {
    toUtf8 = [this](std::string_view value) { return host.DefinitionToUtf8(value); };
  }
  // The renamed menus in one box for the whole build, however many there
  // are: the first few as before, then how many more. A box for each
  // would ask a click for every menu of a large definition.
  constexpr std::size_t kRenamesShown = 10;
  std::size_t renames = 0;
  Text renamedText;
  const WalkEnd end = pravel::DelegateWork(
      definition, page, HtmlLines, HtmlHdrDoneCount, trace_,
      [&](std::string_view asWritten, std::string_view renamed) {
        if (++renames > kRenamesShown) return;
        if (!renamedText.empty()) renamedText += CRLF;
        renamedText += MenuRenamedText(asWritten, renamed);
      },
      toUtf8);
  if (renames > kRenamesShown) {
    renamedText += Text(CRLF) + "... and " + NumberToText(static_cast<std::int64_t>(renames - kRenamesShown)) +
                   " more menus renamed the same way.";
  }
  if (renames > 0) host.ShowMessage(renamedText, MessageKind::Warning);
  return end;
}

void Workflow::WriteDraft() {
  ProbedPart part(probe_, "draft");
  if (FileResult saved = FileWriteLines(InFolder(kDraftFileName), HtmlLines); !saved) {
    host.ShowMessage(WriteFailure(kDraftFileName, saved), MessageKind::Warning);
  }
}

}  // namespace pravel
