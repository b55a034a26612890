#include "html/SaveShow.h"

#include "app/Workflow.h"
#include "html/TableLayout.h"
#include "text/FileWriter.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

// A file the user is told was created must exist: a failed write is
// reported, with the reason, and the step stops short of claiming success.
bool Reported(Workflow& wf, const char* name, const FileResult& written) {
  if (written) return true;
  Text message = Text("Could not write ") + name + ": " + written.reason;
  message += CRLF;
  message += "The page is not complete. Run Save/Show Html again once the file can be written.";
  wf.host.ShowMessage(message, MessageKind::Error);
  return false;
}

}  // namespace

std::optional<LineRange> MenuLineRange(const std::vector<Text>& draft) {
  std::size_t start = 0;
  while (start < draft.size() && !Holds(draft[start], kMenusStartKey)) ++start;
  if (start == draft.size()) return std::nullopt;
  std::size_t end = start;
  while (end < draft.size() && !Holds(draft[end], kMenusEndKey)) ++end;
  if (end == draft.size()) return std::nullopt;
  if (end == start) return LineRange{start + 1, start + 1};
  return LineRange{start + 1, end};
}

namespace {

// The page begins with the header lines; the table adds its opening line,
// the menu lines and at most one separator per menu line.
void StartPage(StringList& page, std::string_view headerText, std::size_t menuLineCount) {
  ListClear(page);
  ListAddLines(page, headerText);
  ListReserve(page, ListCount(page) + 2 + 2 * menuLineCount);
}

// The trailer text ends the page as one last item, line breaks included.
void EndPage(StringList& page, std::string_view trailerText) { ListAdd(page, Text(trailerText)); }

// The three template files the final page is made of, read when it is made.
struct PageFiles {
  Text header = FileReadAll(kHeaderFileName);
  Text trailer = FileReadAll(kTrailerFileName);
  Text tableHeader = FileReadAll(kTableHeaderFileName);
};

// Writes both copies of the page from its lines: joining them first would
// hold the whole page twice.
bool WritePage(Workflow& wf) {
  const std::vector<Text>& page = wf.HtmlLines.Items();
  return Reported(wf, kPageName, FileWriteLines(kPageName, page)) &&
         Reported(wf, kPageCopyName, FileWriteLines(kPageCopyName, page));
}

}  // namespace

void AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
                       std::string_view headerText, std::string_view tableHeaderText,
                       std::string_view menusOnlyText, std::string_view trailerText) {
  StartPage(page, headerText, static_cast<std::size_t>(TextTally(menusOnlyText, CRLF)));
  TableLayout(trace, page, formsPlacedCount).BuildTable(columnCount, tableHeaderText, menusOnlyText);
  EndPage(page, trailerText);
}

std::vector<std::size_t> AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount,
                                           std::int32_t columnCount, std::string_view headerText,
                                           std::string_view tableHeaderText, std::span<Text> menuLines,
                                           std::string_view trailerText) {
  StartPage(page, headerText, menuLines.size());
  std::vector<std::size_t> placedAt =
      TableLayout(trace, page, formsPlacedCount).BuildTable(columnCount, tableHeaderText, menuLines);
  EndPage(page, trailerText);
  return placedAt;
}

bool RecreateAll_from(Workflow& wf, std::string_view menusOnlyText) {
  wf.trace.Trace(" RecreateAll_from");
  ListClear(wf.HtmlLines);
  const PageFiles files;
  AssembleFinalPage(wf.HtmlLines, wf.trace, wf.FormsPlacedCount, ColumnCountOf(wf.host.ColumnsText()), files.header,
                    files.tableHeader, menusOnlyText, files.trailer);
  return WritePage(wf);
}

bool Create_MenusOnly(Workflow& wf) {
  wf.trace.Trace(" Create_MenusOnly");
  ListClear(wf.lb8);
  // The draft is kept aside, so that a failed write leaves it for another
  // try. Its menu lines go straight into the file and then, moved rather
  // than copied, into the table of the page: a copy through the hidden list
  // or through one text of them all would only add to the memory of a
  // large page.
  StringList draftPage = std::move(wf.HtmlLines);
  ListClear(wf.HtmlLines);
  std::vector<Text>& draft = ListItemsToChange(draftPage);
  std::span<Text> menuLines;
  if (const std::optional<LineRange> menus = MenuLineRange(draft)) {
    menuLines = std::span<Text>(draft).subspan(menus->begin, menus->end - menus->begin);
    wf.trace.Trace(" Create_MenusOnly  NOT  </div>");
  }
  if (!Reported(wf, kMenusOnlyName, FileWriteLines(kMenusOnlyName, menuLines))) {
    wf.HtmlLines = std::move(draftPage);
    return false;
  }
  // As RecreateAll_from does with the menus-only text.
  wf.trace.Trace(" RecreateAll_from");
  const PageFiles files;
  const std::vector<std::size_t> placedAt =
      AssembleFinalPage(wf.HtmlLines, wf.trace, wf.FormsPlacedCount, ColumnCountOf(wf.host.ColumnsText()),
                        files.header, files.tableHeader, menuLines, files.trailer);
  if (!WritePage(wf)) {
    // The menu lines go back from the page to their places in the draft.
    std::vector<Text>& page = ListItemsToChange(wf.HtmlLines);
    for (std::size_t k = 0; k < placedAt.size(); ++k) menuLines[k] = std::move(page[placedAt[k]]);
    wf.HtmlLines = std::move(draftPage);
    return false;
  }
  wf.emptyInput = 0;
  wf.FileOpen = 1;
  wf.FileValidated = 1;
  wf.HtmlBuilt = 1;
  wf.HtmlHdrDoneCount = 0;
  return true;
}

}  // namespace pravel
