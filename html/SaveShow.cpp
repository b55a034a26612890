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

// The page's header lines, its table (the menu lines laid out by `table`)
// and the trailer text as one last item.
template <typename MenuLines>
void Assemble(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
              std::string_view headerText, std::string_view tableHeaderText, const MenuLines& menus,
              std::size_t menuLineCount, std::string_view trailerText) {
  ListClear(page);
  ListAddLines(page, headerText);
  // The table adds its opening line, the menu lines and at most one
  // separator per menu line.
  ListReserve(page, ListCount(page) + 2 + 2 * menuLineCount);
  TableLayout(trace, page, formsPlacedCount).BuildTable(columnCount, tableHeaderText, menus);
  ListAdd(page, Text(trailerText));
}

// Rebuilds HtmlLines from the template files and the menu lines (a text or
// the lines themselves) and writes both copies of the page.
template <typename MenuLines>
bool Recreate(Workflow& wf, const MenuLines& menus, std::size_t menuLineCount) {
  wf.trace.Trace(" RecreateAll_from");
  ListClear(wf.HtmlLines);
  const Text header = FileReadAll(kHeaderFileName);
  const Text trailer = FileReadAll(kTrailerFileName);
  const Text tableHeader = FileReadAll(kTableHeaderFileName);
  Assemble(wf.HtmlLines, wf.trace, wf.FormsPlacedCount, ColumnCountOf(wf.host.ColumnsText()), header, tableHeader,
           menus, menuLineCount, trailer);
  // Both copies are written from the page's lines: joining them first would
  // hold the whole page twice.
  const std::vector<Text>& page = wf.HtmlLines.Items();
  return Reported(wf, kPageName, FileWriteLines(kPageName, page)) &&
         Reported(wf, kPageCopyName, FileWriteLines(kPageCopyName, page));
}

}  // namespace

void AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
                       std::string_view headerText, std::string_view tableHeaderText,
                       std::string_view menusOnlyText, std::string_view trailerText) {
  Assemble(page, trace, formsPlacedCount, columnCount, headerText, tableHeaderText, menusOnlyText,
           static_cast<std::size_t>(TextTally(menusOnlyText, CRLF)), trailerText);
}

void AssembleFinalPage(StringList& page, TraceLog& trace, int& formsPlacedCount, std::int32_t columnCount,
                       std::string_view headerText, std::string_view tableHeaderText,
                       std::span<const Text> menuLines, std::string_view trailerText) {
  Assemble(page, trace, formsPlacedCount, columnCount, headerText, tableHeaderText, menuLines, menuLines.size(),
           trailerText);
}

bool RecreateAll_from(Workflow& wf, std::string_view menusOnlyText) {
  return Recreate(wf, menusOnlyText, static_cast<std::size_t>(TextTally(menusOnlyText, CRLF)));
}

bool RecreateAll_from(Workflow& wf, std::span<const Text> menuLines) {
  return Recreate(wf, menuLines, menuLines.size());
}

bool Create_MenusOnly(Workflow& wf) {
  wf.trace.Trace(" Create_MenusOnly");
  ListClear(wf.lb8);
  // The menu lines go straight from the draft into the file and into the
  // table: a copy through the hidden list, or through one text of them all,
  // would only add to the memory of a large page.
  const std::vector<Text>& draft = wf.HtmlLines.Items();
  std::span<const Text> menuLines;
  if (const std::optional<LineRange> menus = MenuLineRange(draft)) {
    menuLines = std::span<const Text>(draft).subspan(menus->begin, menus->end - menus->begin);
    wf.trace.Trace(" Create_MenusOnly  NOT  </div>");
  }
  if (!Reported(wf, kMenusOnlyName, FileWriteLines(kMenusOnlyName, menuLines))) return false;

  // Kept aside so that a failed write leaves the draft for another try; the
  // menu lines stay where they are, in the draft.
  StringList draftPage = std::move(wf.HtmlLines);
  if (!RecreateAll_from(wf, menuLines)) {
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
