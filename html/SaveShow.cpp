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

void AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
                       std::string_view headerText, std::string_view tableHeaderText,
                       std::string_view menusOnlyText, std::string_view trailerText) {
  ListClear(page);
  ListAddLines(page, headerText);
  // The table adds its opening line, the menu lines and at most one
  // separator per menu line.
  ListReserve(page, ListCount(page) + 2 + 2 * static_cast<std::size_t>(TextTally(menusOnlyText, CRLF)));
  TableLayout(trace, page, formsPlacedCount).BuildTable(columnCount, tableHeaderText, menusOnlyText);
  ListAdd(page, Text(trailerText));
}

bool RecreateAll_from(Workflow& wf, std::string_view menusOnlyText) {
  wf.trace.Trace(" RecreateAll_from");
  ListClear(wf.HtmlLines);
  const Text header = FileReadAll(kHeaderFileName);
  const Text trailer = FileReadAll(kTrailerFileName);
  const Text tableHeader = FileReadAll(kTableHeaderFileName);
  AssembleFinalPage(wf.HtmlLines, wf.trace, wf.FormsPlacedCount, ColumnCountOf(wf.host.ColumnsText()), header,
                    tableHeader, menusOnlyText, trailer);
  // Both copies are written from the page's lines: joining them first would
  // hold the whole page twice.
  const std::vector<Text>& page = wf.HtmlLines.Items();
  return Reported(wf, kPageName, FileWriteLines(kPageName, page)) &&
         Reported(wf, kPageCopyName, FileWriteLines(kPageCopyName, page));
}

bool Create_MenusOnly(Workflow& wf) {
  wf.trace.Trace(" Create_MenusOnly");
  ListClear(wf.lb8);
  // The menu lines go straight from the draft into the file's text: a copy
  // through the hidden list would only double the memory of a large page.
  Text menusOnly;
  const std::vector<Text>& draft = wf.HtmlLines.Items();
  if (const std::optional<LineRange> menus = MenuLineRange(draft)) {
    std::size_t size = 0;
    for (std::size_t i = menus->begin; i < menus->end; ++i) size += draft[i].size() + CRLF.size();
    menusOnly.reserve(size);
    for (std::size_t i = menus->begin; i < menus->end; ++i) AppendLine(menusOnly, draft[i]);
    wf.trace.Trace(" Create_MenusOnly  NOT  </div>");
  }
  if (!Reported(wf, kMenusOnlyName, FileWrite(kMenusOnlyName, menusOnly))) return false;

  // Kept aside so that a failed write leaves the draft for another try.
  StringList draftPage = std::move(wf.HtmlLines);
  if (!RecreateAll_from(wf, menusOnly)) {
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
