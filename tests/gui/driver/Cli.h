// Runs pravel-cli.exe, the same engine without a window, so the GUI's files
// can be compared with the ones it writes for the same input.
#pragma once

#include <optional>
#include <string>

namespace pravel::gui {

// The exit code, or nothing when the program could not be run or did not
// finish within a minute. Its output goes to "cli-output.txt" in the folder.
std::optional<unsigned long> RunCli(const std::string& folder, const std::string& arguments);

}  // namespace pravel::gui
