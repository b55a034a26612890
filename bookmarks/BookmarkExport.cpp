#include "bookmarks/BookmarkExport.h"

#include <cstdint>
#include <optional>

#include "definition/Definition.h"
#include "text/Charset.h"
#include "text/HtmlText.h"

namespace pravel {

namespace {

constexpr std::string_view kHead =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
    "<TITLE>Bookmarks</TITLE>\r\n"
    "<H1>Bookmarks</H1>\r\n"
    "<DL><p>\r\n";
constexpr std::string_view kListEnd = "</DL><p>\r\n";

// Titles and addresses are escaped for HTML, and the references a value
// already holds stay as written: the browser then shows what the page
// shows.
void AppendEscaped(Text& out, std::string_view statement) {
  AppendHtmlEscaped(out, StatementValue(statement), HtmlEscapes::QuoteAndGreater);
}

Text Counted(std::size_t count, std::string_view one, std::string_view many) {
  return NumberToText(static_cast<std::int64_t>(count)) + " " + Text(count == 1 ? one : many);
}

}  // namespace

BookmarkExport ExportBookmarks(const TextLines& definition) {
  std::optional<TextLines> converted;
  if (!IsUtf8(definition.Whole())) converted.emplace(Windows1252ToUtf8(definition.Whole()));
  const TextLines& lines = converted ? *converted : definition;
  const Records records = CollectRecords(lines, 0);

  BookmarkExport exported;
  Text& out = exported.file;
  out.reserve(kHead.size() + lines.Whole().size() + lines.Whole().size() / 2);
  out.append(kHead);
  // A menu of the page ends where the menu statement changes, letter case
  // included, as the build regroups it.
  std::string_view menu;
  for (std::size_t k = 0; k < records.Count(); ++k) {
    const Record& record = records[k];
    if (record.menu != menu) {
      if (!menu.empty()) out.append("    ").append(kListEnd);
      menu = record.menu;
      out.append("    <DT><H3>");
      AppendEscaped(out, record.menu);
      out.append("</H3>\r\n    <DL><p>\r\n");
      ++exported.menus;
    }
    out.append("        <DT><A HREF=\"");
    AppendEscaped(out, record.address);
    out.append("\">");
    AppendEscaped(out, record.link);
    out.append("</A>\r\n");
  }
  if (!menu.empty()) out.append("    ").append(kListEnd);
  out.append(kListEnd);
  exported.links = records.Count();
  exported.leftOut = records.leftOut();
  return exported;
}

Text ExportSummary(const BookmarkExport& exported, std::string_view fileName) {
  Text text = "Exported " + Counted(exported.links, "link", "links") + " in " +
              Counted(exported.menus, "folder", "folders") + " to " + Text(fileName);
  const LeftOut& left = exported.leftOut;
  if (left.orphanAddresses > 0) {
    text += Text(CRLF) + "Left out, as the page leaves them out: " +
            Counted(left.orphanAddresses, "link address line", "link address lines") +
            " without a menu name or a link name before them (first: line " +
            NumberToText(static_cast<std::int64_t>(left.firstOrphanLine)) + ")";
  }
  if (left.unclosed > 0) {
    text += Text(CRLF) +
            "Left out, as the page leaves them out: " + Counted(left.unclosed, "statement line", "statement lines") +
            " without a closing \">\" after the keyword (first: line " +
            NumberToText(static_cast<std::int64_t>(left.firstUnclosedLine)) + ")";
  }
  return text;
}

}  // namespace pravel
