// The benchmark definitions: each shape is what its name says, passes
// validation, and its records file holds exactly the records the build
// sorts, so that the yardstick sorts the same records as the road.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "bench/DefinitionGenerator.h"
#include "definition/Definition.h"
#include "definition/Validation.h"
#include "html/PageTemplate.h"
#include "text/Pane.h"
#include "text/TextFile.h"

namespace pravel::bench {
namespace {

namespace fs = std::filesystem;

struct Written {
  Text definition;
  Text records;
};

Written Generate(Shape shape, std::size_t links, std::uint64_t seed, bool blankFreeMenus = false) {
  const fs::path dir = fs::temp_directory_path() / ("pravel-gen-test-" + std::to_string(seed));
  fs::create_directories(dir);
  const Text definitionName = (dir / "d.txt").string();
  const Text recordsName = (dir / "r.txt").string();
  {
    Sink definition(definitionName);
    Sink records(recordsName);
    WriteDefinition(shape, links, seed, definition, records, blankFreeMenus);
  }
  Written written;
  FileRead(definitionName, written.definition);
  FileRead(recordsName, written.records);
  fs::remove_all(dir);
  return written;
}

std::vector<std::string_view> Lines(std::string_view text, char end) {
  std::vector<std::string_view> lines;
  for (std::size_t from = 0, at; (at = text.find(end, from)) != std::string_view::npos; from = at + 1) {
    lines.push_back(text.substr(from, at - from));
  }
  return lines;
}

// The records a build collects: the current menu, link and address
// statements joined at every address line.
std::vector<Text> RecordsOf(const TextLines& lines) {
  std::vector<Text> records;
  Text menu;
  Text link;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    const LineKeywords keys = FindKeywords(line);
    auto statement = [&](LineKeywords::Kind kind) {
      const std::size_t at = keys.at[kind];
      return Text(line.substr(at, line.find('>', at) - at + 1));
    };
    if (keys.Holds(LineKeywords::MenuName)) {
      menu = statement(LineKeywords::MenuName);
    } else if (keys.Holds(LineKeywords::LinkName)) {
      link = statement(LineKeywords::LinkName);
    } else if (keys.Holds(LineKeywords::LinkAddress)) {
      records.push_back(menu + link + statement(LineKeywords::LinkAddress));
    }
  }
  return records;
}

TEST(Generator, EveryShapeIsAValidDefinitionOfItsLinksWithTheirRecords) {
  constexpr std::size_t kLinks = 700;
  for (const ShapeInfo& info : Shapes()) {
    SCOPED_TRACE(info.name);
    const Written w = Generate(info.shape, kLinks, 7);
    const TextLines lines(w.definition);
    const StatementCounts counts = CountStatements(lines);
    EXPECT_GT(counts.menuNames, 0);
    EXPECT_EQ(counts.linkNames, static_cast<int>(kLinks));
    EXPECT_EQ(counts.linkAddresses, static_cast<int>(kLinks));
    EXPECT_EQ(counts.emptyInput, 0);
    EXPECT_EQ(Lines(w.definition, '\n').size(), lines.Count() - 1);  // CR LF only
    EXPECT_EQ(static_cast<std::size_t>(std::count(w.definition.begin(), w.definition.end(), '\r')), lines.Count() - 1);

    const std::vector<Text> collected = RecordsOf(lines);
    const std::vector<std::string_view> records = Lines(w.records, '\n');
    ASSERT_EQ(records.size(), kLinks);
    EXPECT_TRUE(std::equal(records.begin(), records.end(), collected.begin(), collected.end()));

    switch (info.shape) {
      case Shape::OneMenu:
        EXPECT_EQ(counts.menuNames, 1);
        break;
      case Shape::OwnMenus:
        EXPECT_EQ(counts.menuNames, static_cast<int>(kLinks));
        break;
      case Shape::EqualRecords:
        EXPECT_TRUE(std::all_of(records.begin(), records.end(), [&](std::string_view r) { return r == records[0]; }));
        break;
      case Shape::LongLine:
        EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](std::string_view r) { return r.size() > kLongLineBytes; }));
        break;
      case Shape::EmptyRemarks:
        EXPECT_GE(static_cast<std::size_t>(std::count(lines.Whole().begin(), lines.Whole().end(), '\n')),
                  kEmptyBlocks * kEmptyBlockLines);
        break;
      default:
        // Menus of varying size, some names repeated further down.
        EXPECT_GT(counts.menuNames, 10);
        EXPECT_LT(counts.menuNames, static_cast<int>(kLinks) / 2);
    }
  }
}

TEST(Generator, TheSameSeedWritesTheSameBytesAndMenuNamesCanGoWithoutBlanks) {
  EXPECT_EQ(Generate(Shape::Plain, 300, 1).definition, Generate(Shape::Plain, 300, 1).definition);
  EXPECT_NE(Generate(Shape::Plain, 300, 1).definition, Generate(Shape::Plain, 300, 2).definition);

  for (Shape shape : {Shape::Plain, Shape::OneMenu, Shape::OwnMenus, Shape::EqualRecords}) {
    const TextLines lines(Generate(shape, 300, 3, true).definition);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (FindKeywords(lines.Line(i)).Holds(LineKeywords::MenuName)) {
        EXPECT_EQ(StatementValue(lines.Line(i)).find(' '), std::string_view::npos) << lines.Line(i);
      }
    }
  }
}

TEST(Generator, BigTemplatesKeepTheirPiecesAndGrowAroundThem) {
  ExampleTemplates examples;
  ASSERT_TRUE(FileRead(Text(PRAVEL_EXAMPLES_DIR) + "/Pravel.ini", examples.pageTemplate));
  ASSERT_TRUE(FileRead(Text(PRAVEL_EXAMPLES_DIR) + "/HdrOnly.txt", examples.header));
  ASSERT_TRUE(FileRead(Text(PRAVEL_EXAMPLES_DIR) + "/TableHdr_template.txt", examples.tableHeader));
  ASSERT_TRUE(FileRead(Text(PRAVEL_EXAMPLES_DIR) + "/TrlOnly.txt", examples.trailer));

  const std::vector<TemplateFile> plain = TemplatesFor(Shape::Plain, examples);
  const std::vector<TemplateFile> big = TemplatesFor(Shape::BigTemplates, examples);
  ASSERT_EQ(plain.size(), 4u);
  ASSERT_EQ(big.size(), 4u);
  EXPECT_EQ(plain[0].text, examples.pageTemplate);
  for (std::size_t i = 0; i < big.size(); ++i) {
    EXPECT_EQ(big[i].name, plain[i].name);
    EXPECT_GE(TextLines(big[i].text).Count(), kBigTemplateLines) << big[i].name;
  }
  // The page template still gives the same form and entry, and a header
  // grown by thousands of lines; the table header keeps its first line.
  const PageParts small = ReadPageParts(plain[0].text);
  const PageParts grown = ReadPageParts(big[0].text);
  EXPECT_EQ(grown.form, small.form);
  EXPECT_EQ(grown.entry, small.entry);
  EXPECT_EQ(grown.header.size(), small.header.size() + kBigTemplateLines);
  EXPECT_EQ(Lines(big[2].text, '\r').front(), Lines(plain[2].text + "\r", '\r').front());
}

}  // namespace
}  // namespace pravel::bench
