// Find and go-to: the next occurrence of the find field's text in the pane.
#include "app/Workflow.h"
#include "tools/EditorTools.h"

namespace pravel {

void FindLink(Workflow& wf) {
  Pane& pane = wf.host.InputPane();
  if (pane.PaneTextLength() == 0) {
    wf.host.ShowMessage("No text to search", MessageKind::Warning);
    return;
  }
  const Text what = wf.host.FindFieldText();

  // Going to the end first and then back to the match leaves a match that
  // lies above the last screenful on the pane's first visible line.
  pane.PaneHideSelection(true);
  pane.PaneSelect(wf.FindStart, wf.FindStart);
  pane.PaneScrollCaret();
  pane.PaneSelect(wf.FindStart, -1);
  pane.PaneScrollCaret();

  const std::int64_t at = pane.PaneFind(wf.FindStart, what);
  if (at < 0) {
    // The answer only decides where the next search starts; the search
    // itself is not repeated.
    if (wf.host.AskYesNo("\"" + what + "\" not found, continue from beginning?    ", "")) wf.FindStart = 0;
    return;
  }
  const auto end = at + static_cast<std::int64_t>(what.size());
  pane.PaneHideSelection(false);
  pane.PaneSelect(at, -1);
  pane.PaneScrollCaret();
  pane.PaneSelect(at, end);
  pane.PaneScrollCaret();
  wf.FindStart = end;
  wf.host.FocusFindField();
}

void GoToMenuName(Workflow& wf, int index, const Text& entry) {
  if (index < 0) return;  // nothing chosen; the prompt (0) is searched like any entry
  wf.host.SetFindFieldText(entry);
  FindLink(wf);
}

}  // namespace pravel
