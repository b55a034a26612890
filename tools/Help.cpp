// Help: the help link, opened with the program the platform associates with
// an Internet shortcut. A missing link is the platform's to report.
#include "app/Workflow.h"
#include "tools/EditorTools.h"

namespace pravel {

void ShowHelp(Workflow& wf) { wf.host.ShowFile(kHelpLinkName); }

}  // namespace pravel
