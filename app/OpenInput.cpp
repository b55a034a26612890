// Step 1, Open Input: a definition file into the pane, and the go-to list
// of the menu names it holds.
#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "definition/MenuNames.h"
#include "text/TextFile.h"

namespace pravel {

void Workflow::DoOpen(const Text* chosenFile) {
  trace.Clear();
  CurrentCommand = "DoOpen";

  FileDialog dialog;
  dialog.title = "Load/Open  Input File   *.txt";
  dialog.filterName = "Text Files";
  dialog.filterPattern = "*.TXT";
  dialog.fileName = "Pravel_Input.txt";
  dialog.initialDir = CurrentDirectory();

  if (const std::optional<Text> chosen = chosenFile ? *chosenFile : host.ChooseFile(dialog)) {
    LoadChosenFile(*chosen);
  } else {
    host.ShowMessage("No File Selected!  Click on  [OpenInput]  again.", MessageKind::Warning);
  }

  FillMenuNameList();
  host.SetCaption(kCaptionStep2);
  ShowStatus();
  host.ReloadButtonBarPicture();
}

// A file that cannot be loaded is reported and changes nothing: the pane,
// InputPath and the flags keep what they held, as after a cancelled dialog.
void Workflow::LoadChosenFile(const Text& path) {
  const auto refuse = [&](const Text& reason) {
    host.ShowMessage("Cannot open the input file " + path + ": " + reason + "." + Text(CRLF) + "Nothing was loaded.",
                     MessageKind::Error);
  };
  // A definition stored as one of the road's own files would be destroyed
  // by the next step that writes it, or read back as a template.
  if (const Text pravelFile = PravelFileAt(path, CurrentDirectory()); !pravelFile.empty()) {
    return refuse(PravelFileReason(pravelFile));
  }
  Text content;
  if (FileResult read = FileRead(path, content); !read) return refuse(read.reason);
  if (content.find('\0') != Text::npos) return refuse("it holds NUL bytes, so it is not a text file");
  InputPath = path;
  host.InputPane().PaneTakeText(std::move(content));
  host.FocusInputPane();
  FileOpen = 1;
  FileValidated = 0;
  HtmlBuilt = 0;
}

void Workflow::FillMenuNameList() {
  const std::vector<Text> entries = MenuNameEntries(host.InputPane().PaneReadLines());
  MenuNameCnt = static_cast<int>(entries.size() - 1);
  host.SetMenuNameList(entries);
}

}  // namespace pravel
