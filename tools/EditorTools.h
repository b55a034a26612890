// The editor commands beside the four steps: paste a statement template,
// save the pane under another name, open the help link, find text and go to
// a menu name.
#pragma once

#include "text/Text.h"

namespace pravel {

class Workflow;

inline constexpr const char* kHelpLinkName = "Pravel_Help.url";

// PasteMenu and PasteLink: the template chosen by CurrentCommand.
void PasteTemplate(Workflow& wf);
// Save As: the pane's text to a chosen ".txt" file.
void SaveAsClick(Workflow& wf);
// The name Save As writes for the chosen one: ".txt" added unless the name
// already ends in exactly ".txt".
Text SaveAsName(const Text& chosen);
// Help: opens "Pravel_Help.url".
void ShowHelp(Workflow& wf);
// Enter in the find field: the next occurrence of its text in the pane.
void FindLink(Workflow& wf);
// A confirmed choice in the go-to list (index, entry text).
void GoToMenuName(Workflow& wf, int index, const Text& entry);

}  // namespace pravel
