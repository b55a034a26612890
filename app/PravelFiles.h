// The files Pravel writes, or reads as templates, under bare names in the
// current folder. A definition stored under one of these names would be
// overwritten by the road, or read back as a template, so it is refused.
#pragma once

#include <array>

#include "text/Text.h"

namespace pravel {

// Which of the names the file at `path` is, in the folder the road writes
// to: the same file (also through a link, or a name the file system takes
// for it), or, for a file not made yet, a name in that folder that the
// platform takes as the same (without case on Windows). Empty when none.
Text PravelFileAt(const Text& path, const Text& outputFolder);

// Why such a file is refused, naming it.
Text PravelFileReason(const Text& name);

}  // namespace pravel
