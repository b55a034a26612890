// The files Pravel writes, or reads as templates, under bare names in the
// current folder. A definition stored under one of these names would be
// overwritten by the road, or read back as a template, so it is refused.
#pragma once

#include <string_view>
#include <utility>

#include "text/Text.h"

namespace pravel {

inline constexpr const char* kTraceFileName = "PravelTrace.txt";
inline constexpr const char* kSortedRecordsName = "Sorted_Pravel.txt";
inline constexpr const char* kValidatedInputName = "ValidatedInput.txt";
inline constexpr const char* kDraftFileName = "ShowDraft.Html";
inline constexpr const char* kMenusOnlyName = "MenusOnly.txt";
inline constexpr const char* kPageName = "Pravel.html";
inline constexpr const char* kPageCopyName = "Pravel.txt";
inline constexpr const char* kPageTemplateName = "Pravel.ini";
inline constexpr const char* kHeaderFileName = "HdrOnly.txt";
inline constexpr const char* kTableHeaderFileName = "TableHdr_template.txt";
inline constexpr const char* kTrailerFileName = "TrlOnly.txt";

// The filters of the file dialogs.
inline const std::pair<Text, Text> kTextFilesFilter{"Text Files", "*.TXT"};
inline const std::pair<Text, Text> kBookmarksFilter{"Bookmarks (*.html;*.htm)", "*.html;*.htm"};

// The page is written as "Pravel.html" and opened under this name (file
// names ignore case where the page is shown).
inline constexpr const char* kShowPageName = "Pravel.Html";
// Appended to the input file's name for the copy of its previous content.
inline constexpr std::string_view kBackupSuffix = ".bak";
// Beside the program: opened by Help, and the page it leads to.
inline constexpr const char* kHelpLinkName = "Pravel_Help.url";
inline constexpr const char* kHelpPageName = "Pravel_Help.html";

// Which of the names the file at `path` is, in the folder the road writes
// to: the same file (also through a link, or a name the file system takes
// for it), or, for a file not made yet, a name in that folder that the
// platform takes as the same (without case on Windows). Empty when none.
Text PravelFileAt(const Text& path, const Text& outputFolder);

// Why such a file is refused, naming it.
Text PravelFileReason(const Text& name);

// What the user is told, once, when a definition in another encoding comes
// to hold characters that encoding cannot, and is written in UTF-8.
Text Utf8FromNowOn(const Text& name);

}  // namespace pravel
