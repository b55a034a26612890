// Step 4, Save/Show Html: the menu lines of the draft page laid out as a
// table in the final page, the files written, the page shown.
#include "app/PravelFiles.h"
#include "app/WorkScope.h"
#include "app/Workflow.h"
#include "html/FinalPage.h"
#include "html/TableLayout.h"
#include "text/FileWriter.h"

namespace pravel {

Outcome Workflow::SaveShowHtml() {
  currentCommand_ = "SaveShowHtml";
  trace_.Trace(" SaveShowHtml");
  if (state_.LinkNameCnt != state_.LinkAddressCnt || state_.emptyInput != 0 || state_.FileValidated != 1 ||
      state_.HtmlBuilt != 1) {
    return ShowStepGuard();
  }
  // A page built from an older text of the pane would be written and
  // shown as new without the changes made since.
  if (host.InputPane().PaneChangeCount() != builtFrom_) {
    if (!host.AskYesNo("The definition in the pane has changed since the page was built, so the page does not show "
                       "the changes." +
                           Text(CRLF) + "Build the page again first, then save and show it?",
                       "Pravel")) {
      return Outcome::Refusal("the page was built from an older text of the pane");
    }
    if (Outcome built = BuildHtml(); !built.done()) return built;
    currentCommand_ = "SaveShowHtml";
  }
  ShowStatus();
  if (!FolderWritable()) return Outcome::Failure("the definition's folder cannot be written");
  WorkScope work(host, "Saving the page");
  if (!Create_MenusOnly()) {
    // The files could not all be written; that was reported, nothing is
    // shown or claimed, and step 4 can be tried again.
    ShowStatus();
    return Outcome::Failure("a file of the page could not be written");
  }
  host.PumpMessages();
  host.ShowFile(InFolder(kShowPageName));
  Text done;
  AppendLine(done, "The following files are newly created:");
  for (const char* name : {kPageName, kPageCopyName, kMenusOnlyName}) AppendLine(done, " " + Text(name) + " ");
  AppendLine(done, "");
  if (templateFolder_ != Folder()) {
    AppendLine(done, "The page templates were read from " + templateFolder_ + ": " + Folder() + " holds none.");
  }
  // Where the files are: beside the definition.
  done += "Located Here: " + Folder();
  host.ShowMessage(done, MessageKind::Report);
  host.SetCaption(kCaptionDone);
  // The user may validate the same text again, or open another file.
  state_.FileOpen = 1;
  state_.FileValidated = 0;
  state_.HtmlBuilt = 0;
  state_.emptyInput = 0;
  HtmlHdrDoneCount = 0;
  ShowStatus();
  return {};
}

// A file the user is told was created must exist: a failed write is
// reported, with the reason, and the step stops short of claiming success.
bool Workflow::Reported(const char* name, const FileResult& written) {
  if (written) return true;
  host.ShowMessage(WriteFailure(name, written) + Text(CRLF) +
                       "The page is not complete. Run Save/Show Html again once the file can be written.",
                   MessageKind::Error);
  return false;
}

bool Workflow::Create_MenusOnly() {
  trace_.Trace(" Create_MenusOnly");
  // The draft is kept aside, so that a failed write leaves it for another
  // try. Its menu lines go straight into the file and then, moved rather
  // than copied, into the table of the page: a copy through a list or
  // through one text of them all would only add to the memory of a large
  // page.
  std::vector<Text> draft = std::move(HtmlLines);
  HtmlLines.clear();
  std::span<Text> menuLines;
  if (const std::optional<LineRange> menus = MenuLineRange(draft)) {
    menuLines = std::span<Text>(draft).subspan(menus->begin, menus->end - menus->begin);
    trace_.Trace(" Create_MenusOnly  NOT  </div>");
  }
  if (!Reported(kMenusOnlyName, FileWriteLines(InFolder(kMenusOnlyName), menuLines)) || !RecreateAll_from(menuLines)) {
    HtmlLines = std::move(draft);
    return false;
  }
  return true;
}

bool Workflow::RecreateAll_from(std::span<Text> menuLines) {
  trace_.Trace(" RecreateAll_from");
  templateFolder_ = TemplateFolder();
  const Text header = ReadTemplate(templateFolder_, kHeaderFileName);
  const Text trailer = ReadTemplate(templateFolder_, kTrailerFileName);
  const Text tableHeader = ReadTemplate(templateFolder_, kTableHeaderFileName);
  const std::vector<std::size_t> placedAt =
      AssembleFinalPage(HtmlLines, trace_, ColumnCountOf(host.ColumnsText()), header, tableHeader, menuLines, trailer);
  // Both copies of the page are written from its lines: joining them first
  // would hold the whole page twice.
  if (Reported(kPageName, FileWriteLines(InFolder(kPageName), HtmlLines)) &&
      Reported(kPageCopyName, FileWriteLines(InFolder(kPageCopyName), HtmlLines))) {
    return true;
  }
  // The menu lines go back from the page to their places in the draft.
  for (std::size_t k = 0; k < placedAt.size(); ++k) menuLines[k] = std::move(HtmlLines[placedAt[k]]);
  HtmlLines.clear();
  return false;
}

}  // namespace pravel
