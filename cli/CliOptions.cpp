#include "cli/CliOptions.h"

#include <filesystem>
#include <system_error>

#include "text/TextFile.h"

namespace pravel::cli {

const char* const kUsage =
    "Usage: pravel-cli [-C DIR] validate DEFINITION\n"
    "       pravel-cli [-C DIR] build DEFINITION [--columns TEXT] [--show]\n"
    "       pravel-cli [-C DIR] import BOOKMARKS DEFINITION [--force]\n"
    "       pravel-cli [-C DIR] export DEFINITION BOOKMARKS [--force]\n"
    "       pravel-cli [-C DIR] check DEFINITION [--jobs N] [--timeout S] [--format F]\n"
    "       pravel-cli --help | --version\n"
    "\n"
    "Turns a menu definition into an HTML page of drop-down menus by the same\n"
    "steps the Pravel window takes: Open Input, Validate Input, Build Html and\n"
    "Save/Show Html. Template files are read from the definition's folder and\n"
    "every file is written there.\n"
    "\n"
    "Commands:\n"
    "  validate        load DEFINITION, count and check its statements\n"
    "  build           load, validate, build and save the page: writes\n"
    "                  ShowDraft.Html, MenusOnly.txt, Pravel.html, Pravel.txt,\n"
    "                  Sorted_Pravel.txt, ValidatedInput.txt and PravelTrace.txt,\n"
    "                  and rewrites DEFINITION with the regrouped definition\n"
    "  import          read a browser's bookmark file and write its links as a\n"
    "                  definition: a menu for each folder that holds links\n"
    "  export          write the menus of the page DEFINITION builds as a\n"
    "                  bookmark file, a folder for each menu\n"
    "  check           try every address of DEFINITION's links and report the dead,\n"
    "                  moved, refused and rate-limited ones; relative addresses are\n"
    "                  files in DEFINITION's folder, where the page is written.\n"
    "                  At most 4 requests at a time go to one host. Writes nothing\n"
    "\n"
    "Options:\n"
    "  -C DIR          run as if started in DIR (the files named are then relative\n"
    "                  to DIR)\n"
    "  --columns TEXT  forms per table row, as typed in the Columns field (default 4)\n"
    "  --show          open the page with the default program for it\n"
    "  --force         (import, export) replace an existing file, keeping its\n"
    "                  previous content in the same name with .bak added\n"
    "  --jobs N        check: requests at a time over all hosts, 1 to 256 (default 64)\n"
    "  --timeout S     check: seconds for each link, from its first request to its\n"
    "                  verdict, 1 to 600 (default 10)\n"
    "  --format F      check: the report as text (the default) or as one JSON document\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Reports go to standard output, warnings and errors to standard error.\n"
    "Exit status: 0 the page was written (validate: the definition passed),\n"
    "1 the definition was refused or the build could not complete,\n"
    "2 a usage error or a definition that cannot be read, 3 out of memory.\n"
    "import, export: 0 the file was written; 1 nothing to import or export, a\n"
    "definition refused, or the file could not be written; 2 a usage error, a\n"
    "file that cannot be read or is not a bookmark file, or a file to write that\n"
    "exists (without --force), is the file read, or is one of Pravel's own.\n"
    "check: 0 no link is dead (refused and rate-limited ones are not), 1 some link\n"
    "is dead, 2 and 3 as above.\n";

Text TakeNamesFromFolder(CliOptions& options) {
  Text folder;
  for (const Text& dir : options.directories) {
    folder = folder.empty() ? dir : PathIn(folder, dir);
    std::error_code ec;
    const bool isFolder = std::filesystem::is_directory(PathOf(folder), ec);
    NoMemoryLost(ec);
    if (!isFolder) return "cannot use the folder " + dir + ": " + (ec ? ec.message() : "it is not a folder");
  }
  if (folder.empty()) return {};
  for (Text* name : {&options.definition, &options.output}) {
    if (!name->empty()) *name = PathIn(folder, *name);
  }
  return {};
}

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  CliOptions& o = parsed.options;
  auto fail = [&parsed](Text error) {
    parsed.error = std::move(error);
    return parsed;
  };

  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return parsed;  // the command is Help already
    if (arg == "--version") {
      o.command = Command::Version;
      return parsed;
    }
  }

  std::size_t i = 0;
  for (; i < args.size() && args[i] == "-C"; i += 2) {
    if (i + 1 >= args.size()) return fail("-C needs a folder");
    o.directories.push_back(args[i + 1]);
  }
  if (i >= args.size()) return fail("a command is needed: validate, build, import, export or check");
  const std::string& command = args[i++];
  if (command == "validate") {
    o.command = Command::Validate;
  } else if (command == "build") {
    o.command = Command::Build;
  } else if (command == "import") {
    o.command = Command::Import;
  } else if (command == "export") {
    o.command = Command::Export;
  } else if (command == "check") {
    o.command = Command::Check;
  } else {
    return fail("unknown command '" + command + "'");
  }

  const bool twoFiles = o.command == Command::Import || o.command == Command::Export;
  bool optionsEnded = false;
  bool haveDefinition = false;
  bool haveOutput = false;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOption = !optionsEnded && StartsWith(arg, "-") && arg != "-";
    if (isOption && arg == "--") {
      optionsEnded = true;
    } else if (isOption && o.command == Command::Build && arg == "--columns") {
      // The value is taken as typed, even "-2" or "  3".
      if (i + 1 >= args.size()) return fail("--columns needs a value");
      o.columns = args[++i];
    } else if (isOption && o.command == Command::Build && StartsWith(arg, "--columns=")) {
      o.columns = arg.substr(10);
    } else if (isOption && o.command == Command::Build && arg == "--show") {
      o.show = true;
    } else if (isOption && twoFiles && arg == "--force") {
      o.force = true;
    } else if (isOption && o.command == Command::Check &&
               (arg == "--jobs" || arg == "--timeout" || arg == "--format")) {
      if (i + 1 >= args.size()) return fail(arg + " needs a value");
      (arg == "--jobs" ? o.jobs : arg == "--timeout" ? o.timeout : o.format) = args[++i];
    } else if (isOption) {
      return fail("unknown option '" + arg + "' for " + command);
    } else if (!haveDefinition) {
      o.definition = arg;
      haveDefinition = true;
    } else if (twoFiles && !haveOutput) {
      o.output = arg;
      haveOutput = true;
    } else if (twoFiles) {
      return fail(command + " takes two files, '" + arg + "' is one too many");
    } else {
      return fail("one DEFINITION only, '" + arg + "' is one too many");
    }
  }
  if (o.command == Command::Import && !haveOutput) return fail("import needs a BOOKMARKS and a DEFINITION file");
  if (o.command == Command::Export && !haveOutput) return fail("export needs a DEFINITION and a BOOKMARKS file");
  if (!haveDefinition) return fail(command + " needs a DEFINITION file");
  return parsed;
}

}  // namespace pravel::cli
