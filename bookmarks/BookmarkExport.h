// The menus of a page as a bookmark file.
//
// The file holds what the page built from the definition shows: one folder
// per menu, in the page's order (sorted and regrouped as the build does),
// each with its links in the page's order, in the shape browsers write, so
// that any browser or bookmark manager takes it in.
#pragma once

#include <cstddef>
#include <string_view>

#include "definition/Normalise.h"
#include "text/Lines.h"
#include "text/Text.h"

namespace pravel {

struct BookmarkExport {
  Text file;  // UTF-8, CR LF lines
  std::size_t links = 0, menus = 0;
  LeftOut leftOut;  // lines the page leaves out, and so the file
};

// The definition is taken as it would be built: check it with
// CountStatements first. A definition that is not UTF-8 is read in
// Windows-1252, as the window shows it.
BookmarkExport ExportBookmarks(const TextLines& definition);

// "Exported N links in M folders to FILE" and, on further lines, what the
// page leaves out. Lines are separated by CR LF.
Text ExportSummary(const BookmarkExport& exported, std::string_view fileName);

}  // namespace pravel
