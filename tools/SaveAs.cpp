// Save As: the pane's text to a ".txt" file the user chooses.
#include <filesystem>
#include <system_error>

#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "text/TextFile.h"
#include "tools/EditorTools.h"

namespace pravel {

namespace {

bool Exists(const Text& name) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(name), ec);
}

}  // namespace

Text SaveAsName(const Text& chosen) {
  // Exactly ".txt" in lower case: "notes.TXT" becomes "notes.TXT.txt".
  if (chosen.size() >= 4 && chosen.compare(chosen.size() - 4, 4, ".txt") == 0) return chosen;
  return chosen + ".txt";
}

void SaveAsClick(Workflow& wf) {
  wf.CurrentCommand = "SaveAsClick";

  FileDialog dialog;
  dialog.save = true;
  dialog.title = "Save As";
  dialog.filterName = "Text Files";
  dialog.filterPattern = "*.TXT";
  dialog.fileName = wf.InputPath;
  dialog.initialDir = CurrentDirectory();
  dialog.defaultExt = "txt";

  if (const std::optional<Text> chosen = wf.host.ChooseFile(dialog)) {
    const Text name = SaveAsName(*chosen);
    // The pane's text stored as one of the road's own files would destroy
    // that file now and be destroyed by the next build.
    if (const Text pravelFile = PravelFileAt(name, FolderOf(name)); !pravelFile.empty()) {
      wf.host.ShowMessage("Could not save " + name + ": " + PravelFileReason(pravelFile) + "." + Text(CRLF) +
                              "The text is still in the pane.",
                          MessageKind::Error);
      wf.host.FocusInputPane();
      return;
    }
    // The dialog asked about the name the user typed; when ".txt" was added
    // here, the file about to be replaced is another one, so ask again.
    const bool replaceConfirmed = name == *chosen || !Exists(name) ||
                                  wf.host.AskYesNo(name + " already exists." + Text(CRLF) + "Do you want to replace it?",
                                                   "Save As");
    if (replaceConfirmed) {
      if (FileResult saved = FileWrite(name, wf.host.InputPane().PaneText()); !saved) {
        wf.host.ShowMessage("Could not save " + name + ": " + saved.reason + "." + Text(CRLF) +
                                "The text is still in the pane.",
                            MessageKind::Error);
      }
    }
  }
  wf.host.FocusInputPane();
}

}  // namespace pravel
