// Step 1, Open Input: a definition file into the pane, and the go-to list
// of the menu names it holds.
#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "definition/MenuNames.h"
#include "text/TextFile.h"

namespace pravel {

Outcome Workflow::DoOpen(const Text* chosenFile) {
  // Text typed or pasted into the pane and saved nowhere is not thrown
  // away without asking; No leaves everything as it was.
  if (!MayDiscardPane()) return Outcome::Refusal("the pane holds changes that are not saved");
  trace_.Clear();
  currentCommand_ = "DoOpen";

  FileDialog dialog;
  dialog.title = "Load/Open  Input File   *.txt";
  dialog.filterName = "Text Files";
  dialog.filterPattern = "*.TXT";
  dialog.fileName = "Pravel_Input.txt";
  dialog.initialDir = CurrentDirectory();

  Outcome outcome;
  if (const std::optional<Text> chosen = chosenFile ? *chosenFile : host.ChooseFile(dialog)) {
    outcome = LoadChosenFile(*chosen);
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
  // by the next step that writes it, or read back as a template.
  if (const Text pravelFile = PravelFileAt(path, CurrentDirectory()); !pravelFile.empty()) {
    return refuse(PravelFileReason(pravelFile));
  }
  Text content;
  if (FileResult read = FileRead(path, content); !read) return refuse(read.reason);
  if (content.find('\0') != Text::npos) return refuse("it holds NUL bytes, so it is not a text file");
  inputPath_ = path;
  inputStamp_ = StampOf(path, content);
  host.InputPane().PaneTakeText(std::move(content));
  host.InputPane().PaneSaved();
  host.FocusInputPane();
  state_.FileOpen = 1;
  state_.FileValidated = 0;
  state_.HtmlBuilt = 0;
  return {};
}

void Workflow::FillMenuNameList(const TextLines& lines) {
  const std::vector<Text> entries = MenuNameEntries(lines);
  state_.MenuNameCnt = static_cast<int>(entries.size() - 1);
  host.SetMenuNameList(entries);
}

}  // namespace pravel
