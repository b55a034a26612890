// The command line of pravel-cli.
#pragma once

#include <string>
#include <vector>

#include "text/Text.h"

namespace pravel::cli {

enum class Command { Help, Version, Validate, Build, Import, Export, Check };

struct CliOptions {
  Command command = Command::Help;
  std::vector<Text> directories;  // -C, in order, each relative to the one before
  Text definition;
  Text output;         // import, export: the file written (the file read is `definition`)
  bool force = false;  // import, export: an existing output is replaced
  Text columns = "4";  // the text the Columns field holds at start
  bool show = false;
  Text jobs;     // check: requests at a time, as typed; empty for the default
  Text timeout;  // check: seconds for each link, as typed; empty for the default
  Text format;   // check: "text" or "json", as typed; empty for text
};

struct ParsedArguments {
  CliOptions options;
  Text error;  // not empty: a usage error, said in one line
};

// The arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// Takes the names of the files (definition, output) from the folder that
// -C names, as if the program had been started there; the process's own
// current folder stays as it is. Empty, or why a folder cannot be used.
Text TakeNamesFromFolder(CliOptions& options);

extern const char* const kUsage;

}  // namespace pravel::cli
