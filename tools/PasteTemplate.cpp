// PasteMenu and PasteLink: an empty statement template at the caret.
#include "app/Workflow.h"
#include "tools/EditorTools.h"

namespace pravel {

namespace {

// Each template starts with a line break and ends with an empty line, so it
// can be dropped anywhere in a line and still stand on lines of its own.
Text TemplateFor(std::string_view command) {
  Text text(CRLF);
  if (command == "PasteMenu") {
    AppendLine(text, "menuname=<>");
  } else {
    AppendLine(text, "linkname=<>");
    AppendLine(text, "linkaddress=<>");
  }
  text += CRLF;
  return text;
}

}  // namespace

void PasteTemplate(Workflow& wf) {
  // The template goes through the clipboard, so Ctrl+V pastes it again.
  wf.host.SetClipboardText(TemplateFor(wf.CurrentCommand));
  wf.host.PasteIntoInputPane();
  wf.host.FocusInputPane();
}

}  // namespace pravel
