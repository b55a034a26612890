// Menu definitions of any size for the benchmarks: a realistic site map and
// the shapes that stress one part of the road each. Everything is decided by
// the seed, so two runs with the same arguments write the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace pravel::bench {

enum class Shape {
  Plain,         // menus of varying size, scattered and repeated, remarks
  OneMenu,       // every link in one menu
  OwnMenus,      // every link in a menu of its own (a blank in every name)
  EqualRecords,  // every record the same
  LongLine,      // the plain shape with one 10 MB address line
  EmptyRemarks,  // the plain shape with blocks of 100,000 empty lines
  BigTemplates,  // the plain shape with templates of thousands of lines
};

struct ShapeInfo {
  Shape shape;
  const char* name;
  const char* what;
};

const std::vector<ShapeInfo>& Shapes();
std::optional<Shape> ShapeNamed(std::string_view name);

inline constexpr std::size_t kLongLineBytes = 10 * 1000 * 1000;
inline constexpr std::size_t kEmptyBlockLines = 100000;
inline constexpr std::size_t kEmptyBlocks = 10;
inline constexpr std::size_t kBigTemplateLines = 5000;

// Buffered output to a file; a write error is remembered, not thrown.
class Sink {
 public:
  explicit Sink(const Text& fileName);
  ~Sink();
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  void Put(std::string_view text);
  // False when the file could not be opened or written.
  bool Close();

 private:
  void Flush();

  std::FILE* file_;
  Text buffer_;
  bool ok_;
};

// Writes a definition of `links` links in the shape: the definition itself
// (CR LF lines) and, for the yardstick, one record per link (menu, link and
// address statement joined, LF lines) in definition order.
// With blankFreeMenus, the words of a menu name are joined by "_": the
// Windows program shows a message for every menu name with a blank, and a
// timing of its steps is not a timing of a person answering them.
void WriteDefinition(Shape shape, std::size_t links, std::uint64_t seed, Sink& definition, Sink& records,
                     bool blankFreeMenus = false);

// The four template files for the shape, made from the example templates
// (given as their texts): unchanged, or grown to thousands of lines for
// BigTemplates. Returns the file name and text of each.
struct TemplateFile {
  Text name;
  Text text;
};
struct ExampleTemplates {
  Text pageTemplate;  // Pravel.ini
  Text header;        // HdrOnly.txt
  Text tableHeader;   // TableHdr_template.txt
  Text trailer;       // TrlOnly.txt
};
std::vector<TemplateFile> TemplatesFor(Shape shape, const ExampleTemplates& examples);

}  // namespace pravel::bench
