// The draft page of step 3: the walk over the normalised definition that
// emits one form per menu from the pieces of the page template.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "html/PageTemplate.h"
#include "text/Lines.h"
#include "text/Text.h"
#include "text/Trace.h"

namespace pravel {

// The last line of every draft page: it closes the last menu's list and the
// page.
inline constexpr std::string_view kDraftClosingLine = "</select></td></tr></table></div><br></body></html>";
// Closes the list of a menu when the next menu begins.
inline constexpr std::string_view kSelectEnd = "</select>";

inline constexpr std::string_view kOutOfOrderMessage = "[Linkaddress=] statement, Out Of Order. Shoot me sombody.";

enum class WalkEnd {
  Finished,    // the page trailer was emitted
  OutOfOrder,  // stopped at a link address out of turn, without trailer
};

// Told of every menu name whose blanks became underscores, as it is met.
using MenuRenamed = std::function<void(std::string_view asWritten, std::string_view renamed)>;

// A definition's value in UTF-8, for a page that declares UTF-8 while the
// definition is in another encoding.
using ValueToUtf8 = std::function<Text(std::string_view value)>;

// Walks the definition's lines from the top and appends the draft page to
// htmlLines: the page-header piece while HtmlHdrDoneCount is below 1 (it
// counts the headers emitted), a form per menu, an entry line per link,
// "</select>" between menus and the closing line at the end. Every value
// goes in safe for HTML, converted first when toUtf8 is given.
WalkEnd DelegateWork(const TextLines& definition, const PageParts& page, std::vector<Text>& htmlLines,
                     int& HtmlHdrDoneCount, TraceLog& trace, const MenuRenamed& renamed,
                     const ValueToUtf8& toUtf8 = {});

// What a template lacks to give a page that shows its menus, one line for
// each missing piece, in the words the user is shown; nothing when it lacks
// nothing: a menu's form, the entry line, and a page header whose line
// holding "<div style=" the menus follow, with no "</div>" before they end.
std::vector<Text> MissingPieces(const PageParts& page);

// "Fruit Shop" becomes "Fruit_Shop": a menu name names a form and a list.
Text MenuNameWithoutSpaces(std::string_view name);

// What the user is told of a renamed menu name.
Text MenuRenamedText(std::string_view asWritten, std::string_view renamed);

}  // namespace pravel
