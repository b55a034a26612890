// Step 1, Open Input: a definition file into the pane, and the go-to list
// of the menu names it holds.
#include "app/PravelFiles.h"
#include "app/WorkScope.h"
#include "app/Workflow.h"
#include "bookmarks/BookmarkImport.h"
#include "bookmarks/BookmarkReader.h"
#include "definition/MenuNames.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"
#include "tools/EditorTools.h"

namespace pravel {

Outcome Workflow::DoOpen(const Text* chosenFile) {
  // Text typed or pasted into the pane and saved nowhere is not thrown
  // away without asking; No leaves everything as it was.
  if (!MayDiscardPane()) return Outcome::Refusal("the pane holds changes that are not saved");
  trace_.Clear();
  currentCommand_ = "DoOpen";

  FileDialog dialog;
  dialog.title = "Load/Open  Input File   *.txt";
  dialog.filters = {kTextFilesFilter, kBookmarksFilter};
  dialog.fileName = "Pravel_Input.txt";
  dialog.initialDir = Folder();

  Outcome outcome;
  std::optional<WorkScope> work;
  if (const std::optional<Text> chosen = chosenFile ? *chosenFile : host.ChooseFile(dialog)) {
    work.emplace(host, "Loading " + FileNameOf(*chosen));
    outcome = LoadChosenFile(*chosen);
    // A bookmark file whose definition the user did not save: everything
    // stays as it was.
    if (outcome.kind == Outcome::Refused) return outcome;
  } else {
    host.ShowMessage("No File Selected!  Click on  [OpenInput]  again.", MessageKind::Warning);
    outcome = Outcome::Refusal("no file was chosen");
  }

  FillMenuNameList(host.InputPane().PaneReadLines());
  host.SetCaption(kCaptionStep2);
  ShowStatus();
  host.ReloadButtonBarPicture();
  return outcome;
}

// A file that cannot be loaded is reported and changes nothing: the pane,
// inputPath_ and the flags keep what they held, as after a cancelled dialog.
Outcome Workflow::LoadChosenFile(const Text& path) {
  const auto refuse = [&](const Text& reason) {
    host.ShowMessage("Cannot open the input file " + path + ": " + reason + "." + Text(CRLF) + "Nothing was loaded.",
                     MessageKind::Error);
    return Outcome::Failure(reason);
  };
  // A definition stored as one of the road's own files would be destroyed
  // by the next step that writes it, or read back as a template: the road
  // runs in the definition's own folder.
  if (const Text pravelFile = PravelFileAt(path, FolderOf(path)); !pravelFile.empty()) {
    return refuse(PravelFileReason(pravelFile));
  }
  Text content;
  if (FileResult read = FileRead(path, content); !read) return refuse(read.reason);
  // Known by what it holds, whatever its name: before the NUL bytes a
  // bookmark file in UTF-16 holds.
  if (IsBookmarkFile(content)) return ImportBookmarkFile(path, content);
  if (content.find('\0') != Text::npos) return refuse("it holds NUL bytes, so it is not a text file");
  inputPath_ = path;
  folder_ = FolderOf(path);
  inputStamp_ = StampOf(path);
  host.PaneAboutToChange();
  host.WorkPart("putting the definition into the pane");
  host.InputPane().PaneTakeText(std::move(content));
  host.InputPane().PaneSaved();
  host.FocusInputPane();
  state_.FileOpen = 1;
  state_.FileValidated = 0;
  state_.HtmlBuilt = 0;
  return {};
}

Outcome Workflow::ImportBookmarkFile(const Text& path, std::string_view bytes) {
  host.WorkPart("reading the bookmarks");
  const BookmarkImport import = ImportBookmarks(bytes);
  if (!import.error.empty()) {
    host.ShowMessage(ImportSummary(import, path), MessageKind::Error);
    return Outcome::Failure(import.error);
  }
  FileDialog dialog;
  dialog.save = true;
  dialog.title = "Save the definition made from " + FileNameOf(path);
  dialog.filters = {kTextFilesFilter};
  const Text name = FileNameOf(path);
  dialog.fileName = PathIn(FolderOf(path), name.substr(0, name.rfind('.')) + ".txt");
  dialog.initialDir = FolderOf(path);
  dialog.defaultExt = "txt";
  const std::optional<Text> definition = ChooseSaveName(dialog, "Nothing was imported.");
  if (!definition) {
    host.ShowMessage("Nothing was imported from " + path + ": the definition made of it was not saved.",
                     MessageKind::Warning);
    return Outcome::Refusal("the imported definition was not saved");
  }
  if (FileResult saved = FileWriteText(*definition, import.definition, {.onDisk = true}); !saved) {
    host.ShowMessage(WriteFailure(*definition, saved) + Text(CRLF) + "Nothing was imported.", MessageKind::Error);
    return Outcome::Failure(saved.reason);
  }
  // From here on as if that definition had been opened.
  const Outcome opened = LoadChosenFile(*definition);
  if (opened.done()) host.ShowMessage(ImportSummary(import, path), MessageKind::Report);
  return opened;
}

void Workflow::FillMenuNameList(const TextLines& lines) { SetMenuNameList(MenuNameEntries(lines)); }

void Workflow::SetMenuNameList(const std::vector<Text>& entries) {
  state_.MenuNameCnt = static_cast<int>(entries.size() - 1);
  host.SetMenuNameList(entries);
}

}  // namespace pravel
