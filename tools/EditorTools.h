// The editor commands beside the four steps: paste a statement template,
// save the pane under another name, open the help link, find text and go to
// a menu name.
#pragma once

#include "text/Text.h"

namespace pravel {

class Workflow;

// PasteMenu and PasteLink: the template chosen by CurrentCommand.
void PasteTemplate(Workflow& wf);
// Save As: the pane's text to a chosen ".txt" file.
void SaveAsClick(Workflow& wf);
// Help: opens "Pravel_Help.url".
void ShowHelp(Workflow& wf);
// Enter in the find field: the next occurrence of its text in the pane.
void FindLink(Workflow& wf);
// A confirmed choice in the go-to list (index, entry text).
void GoToMenuName(Workflow& wf, int index, const Text& entry);

}  // namespace pravel
