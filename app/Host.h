// The Host: everything the workflow needs from the world around it.
//
// The workflow never talks to a window. The Windows program, the command line
// and the tests each provide a Host; a test host records every call, so the
// whole workflow runs and is checked without a window.
#pragma once

#include <optional>
#include <vector>

#include "text/Charset.h"
#include "text/Pane.h"
#include "text/Text.h"
#include "text/TextFile.h"

namespace pravel {

// What a message is, so that a front without a window can route it: the
// window shows all of them in the same modal box.
enum class MessageKind {
  Report,   // counts, results, the list of created files
  Warning,  // the user should know, the work goes on
  Error,    // the step could not be done
  Fatal,    // the process ends right after (no owner window)
};

// The open and save dialogs. Which flags the platform dialog gets follows
// from `save`; the texts are the program's own.
struct FileDialog {
  bool save = false;
  Text title;
  // Each a description and its pattern: {"Text Files", "*.TXT"}.
  std::vector<std::pair<Text, Text>> filters;
  Text fileName;  // shown in the name field beforehand
  Text initialDir;
  Text defaultExt;  // save dialog only
};

class Host {
 public:
  virtual ~Host() = default;

  // The main window's caption and the status line.
  virtual void SetCaption(const Text& caption) = 0;
  virtual void SetStatus(const Text& status) = 0;

  // A modal message with an OK button, caption "Pravel".
  virtual void ShowMessage(const Text& text, MessageKind kind = MessageKind::Report) = 0;
  // A modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const Text& text, const Text& caption) = 0;

  // The chosen path, or nothing when the dialog was cancelled.
  virtual std::optional<Text> ChooseFile(const FileDialog& dialog) = 0;

  // The editing pane that holds the definition.
  virtual Pane& InputPane() = 0;
  virtual void FocusInputPane() = 0;

  // Told before a step replaces the pane's text (Open Input, Build): what
  // works on the old text (a link check) stops.
  virtual void PaneAboutToChange() {}

  // A step that may take long on a large definition (a load, an import, a
  // build) starts, goes on to another part, and ends. The window shows a
  // wait cursor meanwhile and, once the step has run for about a second,
  // what it does in the status line; the parts are few, so telling them
  // costs nothing. Every StartWork is followed by one EndWork.
  virtual void StartWork(const Text& /*what*/) {}
  virtual void WorkPart(const Text& /*part*/) {}
  virtual void EndWork() {}

  // The go-to list: entries in display order, entry 0 (the prompt) selected.
  virtual void SetMenuNameList(const std::vector<Text>& entries) = 0;
  // The list of the regrouped definition, one item per line, made visible.
  virtual void ShowSortedList(const std::vector<Text>& lines) = 0;

  // A piece of a definition that is not UTF-8, in UTF-8: the window reads
  // such a definition in the system's ANSI code page; without a window it
  // is taken as Windows-1252.
  virtual Text DefinitionToUtf8(std::string_view bytes) const { return Windows1252ToUtf8(bytes); }

  // The folder the program lies in, where the example's templates are
  // shipped; empty when there is none to fall back on.
  virtual Text ProgramFolder() const { return {}; }

  // The folder the program works in until a definition is open: the open
  // dialog starts there, and a step refused before anything was opened
  // writes its trace there. The folder the program was started in, unless
  // a front knows a better place for the user's files.
  virtual Text StartFolder() const { return CurrentDirectory(); }

  // The text typed into the Columns field.
  virtual Text ColumnsText() = 0;

  // The find field.
  virtual Text FindFieldText() = 0;
  virtual void SetFindFieldText(const Text& text) = 0;
  virtual void FocusFindField() = 0;

  // The system clipboard and pasting it into the input pane at the caret.
  virtual void SetClipboardText(const Text& text) = 0;
  virtual void PasteIntoInputPane() = 0;

  // Opens a file with the program the platform associates with it.
  virtual void ShowFile(const Text& fileName) = 0;

  // The button bar: repaint its outlines, load its picture again.
  virtual void RepaintButtonBar() = 0;
  virtual void ReloadButtonBarPicture() = 0;
  // Let the window handle what is waiting (repaint) in the middle of a command.
  virtual void PumpMessages() = 0;

  // Ends the process with the exit code, at once.
  [[noreturn]] virtual void EndProcess(int exitCode) = 0;
};

}  // namespace pravel
