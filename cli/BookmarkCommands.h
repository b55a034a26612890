// pravel-cli import and export: a browser's bookmark file into a
// definition, and the menus of a definition's page into a bookmark file.
#pragma once

#include "cli/CliOptions.h"

namespace pravel::cli {

// Runs the import or export the options name; the exit status.
int RunBookmarkCommand(CliOptions options);

}  // namespace pravel::cli
