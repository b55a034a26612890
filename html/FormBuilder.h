// The draft page of step 3: the page template and the walk over the
// normalised definition that emits one form per menu.
#pragma once

namespace pravel {

class Workflow;

inline constexpr const char* kPageTemplateName = "Pravel.ini";

// Empties the template area and loads "Pravel.ini" into it.
void LoadPageTemplate(Workflow& wf);

enum class WalkEnd {
  Finished,    // the page trailer was emitted
  OutOfOrder,  // stopped at a link address out of turn, without trailer
};

// Walks the input pane from LineIndex and appends the draft page to HtmlLines.
WalkEnd DelegateWork(Workflow& wf);

}  // namespace pravel
