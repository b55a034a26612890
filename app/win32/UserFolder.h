// Where the installed program works: a folder of the user's own,
// Documents\Pravel, never the program's folder.
#pragma once

#include "app/win32/SystemLibraries.h"
#include "text/Text.h"

namespace pravel::win32 {

// Whether this Pravel.exe is the one the installer put in place: the
// user's entry in Apps names its folder. A copy unpacked from the zip, or
// an installed folder copied elsewhere, works where it is started, as
// before.
bool RunsInstalled();

// Documents\Pravel, made if it is missing and given what it lacks of the
// example definition and its four templates from beside the program; a file
// already there is the user's and is kept. `problem` says why there is no
// such folder when it could not be made.
struct UserFolder {
  Text path;
  Text problem;
};
UserFolder PrepareUserFolder(const SystemLibraries& libraries);

}  // namespace pravel::win32
