// Step 4's output: the menu lines cut out of the draft page, the final page
// laid out as a table, and the files written.
#pragma once

namespace pravel {

class Workflow;

// Cuts the menu lines into "MenusOnly.txt" and rebuilds the final page
// (RecreateAll_from, BuildTable), writing "Pravel.html" and "Pravel.txt".
// Returns false, with the reason shown to the user and HtmlLines holding the
// draft page again, when a file could not be written.
bool Create_MenusOnly(Workflow& wf);

}  // namespace pravel
