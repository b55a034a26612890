// Reading a bookmark file the way browsers read it.
//
// Every browser and bookmark manager exports and imports one format, the
// file that begins <!DOCTYPE NETSCAPE-Bookmark-file-1>: a folder is an
// <H3> title followed by a <DL> list of its contents, a bookmark an <A>
// with its address in HREF. No two writers shape it alike (Chrome keeps its
// "Other bookmarks" outside every folder, Safari has no outer <DL>, Firefox
// adds descriptions in <DD>, IE a blank before ">"), and none closes its
// <DT> or <p>; the reader follows what the tags say, not where lines break.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace pravel {

// Whether the bytes are a bookmark file, by their content: after any
// byte-order mark and blanks, the doctype above in any letter case; or, for
// copies that lost that line, a <DL> list whose first item is a <DT> with an
// <A HREF> or an <H3>, before any other content.
bool IsBookmarkFile(std::string_view bytes);

// Titles and addresses as a browser shows them: references decoded; in a
// title every run of blanks, tabs and line breaks one blank, none at the
// ends; an address without tabs and line breaks and without blanks or
// control characters at its ends, as a browser's address parser takes it.
struct Bookmark {
  Text title;
  Text address;  // empty when the bookmark has none
};

inline constexpr std::size_t kTopLevel = 0;

struct BookmarkFolder {
  Text title;
  std::size_t parent = kTopLevel;  // the folder it lies in; the top level lies in none
  std::vector<Bookmark> bookmarks;
  // Where the folder stands in the file: counted over folder titles and,
  // for the top level, its first bookmark.
  std::size_t order = 0;
};

struct BookmarkTree {
  Text heading;  // the <H1> above the list
  // The top level (bookmarks outside every folder) first, then every folder
  // in the order of their titles.
  std::vector<BookmarkFolder> folders;
};

// The tree of a bookmark file's text in UTF-8: only <H3> opens a folder,
// whose contents are the <DL> that follows it (an <H3> with no list after
// it is an empty folder); </DL> closes the innermost list; an <A> inside a
// description (<DD>) or a folder's title is not a bookmark.
BookmarkTree ReadBookmarkTree(std::string_view utf8);

}  // namespace pravel
