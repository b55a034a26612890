// pravel-gen: writes a benchmark definition, its records and its templates.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/DefinitionGenerator.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

namespace {

using namespace pravel;
using namespace pravel::bench;
namespace fs = std::filesystem;

const char* const kUsage =
    "Usage: pravel-gen --shape NAME --links N --examples DIR --out DIR [--seed S]\n"
    "                  [--blank-free-menus]\n"
    "\n"
    "Writes into the --out folder a definition of N links (Pravel_Input.txt,\n"
    "CR LF lines), one record per link for the sort yardstick (records.txt) and\n"
    "the four template files, made from those in the --examples folder.\n"
    "The same arguments always write the same bytes. --blank-free-menus joins\n"
    "the words of menu names with \"_\" (no message per menu in the window).\n"
    "\n"
    "Shapes:\n";

int Usage(const char* error) {
  if (error) std::fprintf(stderr, "pravel-gen: %s\n\n", error);
  std::fputs(kUsage, error ? stderr : stdout);
  for (const ShapeInfo& info : Shapes()) std::fprintf(error ? stderr : stdout, "  %-14s %s\n", info.name, info.what);
  return error ? 2 : 0;
}

bool ReadExample(const fs::path& dir, const char* name, Text& text) {
  if (FileRead((dir / name).string(), text)) return true;
  std::fprintf(stderr, "pravel-gen: cannot read the example template %s\n", (dir / name).string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<Shape> shape;
  long long links = -1;
  std::uint64_t seed = 1;
  fs::path examples;
  fs::path out;
  bool blankFreeMenus = false;
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") return Usage(nullptr);
    if (arg == "--blank-free-menus") {
      blankFreeMenus = true;
      continue;
    }
    if (i + 1 >= args.size()) return Usage(("missing value after " + arg).c_str());
    const std::string& value = args[++i];
    if (arg == "--shape") {
      shape = ShapeNamed(value);
      if (!shape) return Usage(("unknown shape " + value).c_str());
    } else if (arg == "--links") {
      links = std::atoll(value.c_str());
    } else if (arg == "--seed") {
      seed = std::strtoull(value.c_str(), nullptr, 10);
    } else if (arg == "--examples") {
      examples = value;
    } else if (arg == "--out") {
      out = value;
    } else {
      return Usage(("unknown option " + arg).c_str());
    }
  }
  if (!shape || links < 1 || examples.empty() || out.empty())
    return Usage("--shape, --links, --examples and --out are needed");

  ExampleTemplates ex;
  if (!ReadExample(examples, "Pravel.ini", ex.pageTemplate) || !ReadExample(examples, "HdrOnly.txt", ex.header) ||
      !ReadExample(examples, "TableHdr_template.txt", ex.tableHeader) ||
      !ReadExample(examples, "TrlOnly.txt", ex.trailer)) {
    return 1;
  }
  std::error_code ec;
  fs::create_directories(out, ec);

  Sink definition((out / "Pravel_Input.txt").string());
  Sink records((out / "records.txt").string());
  WriteDefinition(*shape, static_cast<std::size_t>(links), seed, definition, records, blankFreeMenus);
  bool ok = definition.Close() && records.Close();
  for (const TemplateFile& file : TemplatesFor(*shape, ex))
    ok = FileWriteText((out / file.name).string(), file.text) && ok;
  if (!ok) {
    std::fprintf(stderr, "pravel-gen: cannot write into %s\n", out.string().c_str());
    return 1;
  }
  return 0;
}
