// pravel-cli check: the links of a definition tried, and the dead and moved
// ones reported.
#pragma once

#include "cli/CliOptions.h"

namespace pravel::cli {

// The exit status: 0 nothing dead, 1 something dead, 2 a usage error or a
// definition that cannot be read.
int RunCheck(CliOptions options);

}  // namespace pravel::cli
