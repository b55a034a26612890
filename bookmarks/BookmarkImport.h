// A bookmark file made into a menu definition.
//
// Each folder that directly holds a bookmark a page can open becomes one
// menu, in the file's order, and the bookmarks outside every folder one
// menu of their own, named by the file's heading. What the page shows of a
// name or an address is what the browser showed of the bookmark.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/Text.h"

namespace pravel {

struct BookmarkImport {
  // Not empty: nothing can be imported, and why, as a clause ("it is not a
  // bookmark file ..."); the definition is then empty.
  Text error;
  // Whether the file was read as a bookmark file: with an error, it held no
  // link to import.
  bool read = false;
  Text definition;  // UTF-8, CR LF lines, a blank line between menus
  std::size_t links = 0, menus = 0;
  // Left out: bookmarks without an address, and addresses a page cannot
  // open (place: queries, a browser's own pages, data: addresses).
  std::size_t withoutAddress = 0, cannotOpen = 0;
};

BookmarkImport ImportBookmarks(std::string_view bytes);

// "Imported N links in M menus from FILE" and, on further lines, what was
// left out; or, when nothing could be imported, "Nothing was imported from
// FILE: " and why. Lines are separated by CR LF.
Text ImportSummary(const BookmarkImport& import, std::string_view fileName);

}  // namespace pravel
