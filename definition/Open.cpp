#include "definition/Open.h"


#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "definition/Definition.h"
#include "text/FoldedHead.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

// Reads the chosen file into the pane. A file the dialog found but that
// cannot be read now, or that is not text at all, is reported and changes
// nothing: the pane, InputPath and the flags keep what they held.
void LoadChosenFile(Workflow& wf, const Text& path) {
  // A definition stored as one of the road's own files would be destroyed
  // by the next step that writes it, or read back as a template.
  if (const Text pravelFile = PravelFileAt(path, CurrentDirectory()); !pravelFile.empty()) {
    wf.host.ShowMessage("Cannot open the input file " + path + ": " + PravelFileReason(pravelFile) + "." +
                            Text(CRLF) + "Nothing was loaded.",
                        MessageKind::Error);
    return;
  }
  Text content;
  if (FileResult read = FileRead(path, content); !read) {
    wf.host.ShowMessage("Cannot open the input file " + path + ": " + read.reason + "." + Text(CRLF) +
                            "Nothing was loaded.",
                        MessageKind::Error);
    return;
  }
  if (content.find('\0') != Text::npos) {
    wf.host.ShowMessage("Cannot open the input file " + path + ": it holds NUL bytes, so it is not a text file." +
                            Text(CRLF) + "Nothing was loaded.",
                        MessageKind::Error);
    return;
  }
  wf.InputPath = path;
  wf.host.InputPane().PaneTakeText(std::move(content));
  wf.host.FocusInputPane();
  wf.FileOpen = 1;
  wf.FileValidated = 0;
  wf.HtmlBuilt = 0;
}

}  // namespace

void DoOpen(Workflow& wf) {
  wf.trace.Clear();
  wf.CurrentCommand = "DoOpen";

  FileDialog dialog;
  dialog.title = "Load/Open  Input File   *.txt";
  dialog.filterName = "Text Files";
  dialog.filterPattern = "*.TXT";
  dialog.fileName = "Pravel_Input.txt";
  dialog.initialDir = CurrentDirectory();

  if (const std::optional<Text> chosen = wf.host.ChooseFile(dialog)) {
    LoadChosenFile(wf, *chosen);
  } else {
    wf.host.ShowMessage("No File Selected!  Click on  [OpenInput]  again.", MessageKind::Warning);
  }

  FillMenuNameList(wf);
  wf.host.SetCaption(kCaptionStep2);
  wf.ShowStatus();
  wf.host.ReloadButtonBarPicture();
}

std::vector<Text> MenuNameEntries(const TextLines& lines) {
  // The names view the lines until they are sorted, case-insensitively and
  // keeping equal ones in their order, as a sorted list would; only then is
  // each copied once, into its place.
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    if (!FindKeywords(line).Holds(LineKeywords::MenuName)) continue;
    // From the first "<" to the first ">" of the line, both searched from
    // the line's start: that is what the list has always shown.
    const std::size_t open = line.find('<');
    const std::size_t close = line.find('>');
    if (close == std::string_view::npos || open >= close) continue;
    names.push_back(line.substr(open, close - open + 1));
  }
  // The prompt heads the list whatever a collation would make of its "~".
  std::vector<Text> entries;
  entries.reserve(names.size() + 1);
  entries.emplace_back(kMenuNamePrompt);
  // Every name begins with its "<".
  for (const std::size_t index : StableSortOrder(names, 1)) entries.emplace_back(names[index]);
  return entries;
}

void FillMenuNameList(Workflow& wf) {
  wf.LineIndex = 0;
  const std::vector<Text> entries = MenuNameEntries(PaneLines(wf.host.InputPane()));
  wf.MenuNameCnt = static_cast<int>(entries.size() - 1);
  wf.host.SetMenuNameList(entries);
  wf.LineIndex = 0;
}

}  // namespace pravel
