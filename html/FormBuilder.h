// The draft page of step 3: the page template and the walk over the
// normalised definition that emits one form per menu.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/Text.h"

namespace pravel {

class Host;
class StringList;
class TextLines;
class TraceLog;
class Workflow;

inline constexpr const char* kPageTemplateName = "Pravel.ini";

// The last line of every draft page: it closes the last menu's list and the
// page.
inline constexpr std::string_view kDraftClosingLine = "</select></td></tr></table></div><br></body></html>";
// Closes the list of a menu when the next menu begins.
inline constexpr std::string_view kSelectEnd = "</select>";

inline constexpr std::string_view kOutOfOrderMessage = "[Linkaddress=] statement, Out Of Order. Shoot me sombody.";

// Empties the template area and loads "Pravel.ini" into it; a missing file is
// left behind empty and builds a page without template lines.
void LoadPageTemplate(Workflow& wf);

enum class WalkEnd {
  Finished,    // the page trailer was emitted
  OutOfOrder,  // stopped at a link address out of turn, without trailer
};

// Walks the input pane from LineIndex and appends the draft page to HtmlLines.
WalkEnd DelegateWork(Workflow& wf);

// What the walk reads and changes, named one by one so that the walk can also
// run on stores that do not belong to a Workflow.
struct DraftStores {
  Host& host;  // messages
  TraceLog& trace;
  StringList& HtmlLines;
  int& HtmlHdrDoneCount;
  std::int64_t& LineIndex;
};

// The walk over the lines of a definition with the given page template.
WalkEnd DelegateWork(const DraftStores& stores, const TextLines& definition, std::string_view pageTemplate);

// "Fruit Shop" becomes "Fruit_Shop": a menu name names a form and a list.
Text MenuNameWithoutSpaces(std::string_view name);

}  // namespace pravel
