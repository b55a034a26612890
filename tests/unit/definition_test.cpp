// The definition layer: statements and their values, the go-to list, the
// counts of validation and what normalisation leaves out. The validation
// report and how definitions regroup are in the golden cases.
#include "definition/Definition.h"

#include <gtest/gtest.h>

#include "definition/MenuNames.h"
#include "definition/Normalise.h"
#include "definition/Validation.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

TEST(Definition, ValueKeepsCaseAndSpacesAndEndsAtTheFirstCloseAfterTheOpen) {
  const Text longAddress = "https://example.org/" + Text(380, 'p');
  const std::pair<Text, Text> cases[] = {
      {"   MenuName=<Dried Fruit>   remark", "Dried Fruit"},
      {"menuname=< >", " "},
      {"linkaddress=<apples.html and the rest", "apples.html and the rest"},
      {"menuname=<A> linkname=<B>", "A"},
      {"<b>menuname=<Fruit>", "b"},
      {"a > b menuname=<Fruit", "Fruit"},
      {"no brackets at all", ""},
      {"linkaddress=<" + longAddress + ">", longAddress},
  };
  for (const auto& [line, value] : cases) EXPECT_EQ(StatementValue(line), value) << line;
}

TEST(Definition, TheGoToListShowsFirstOpenToFirstCloseInSortedOrder) {
  const std::pair<Text, std::vector<Text>> cases[] = {
      {CrLfLines({"menuname=<Fruit>", "MENUNAME=<Fruit>", "menuname=<Dried Fruit>", "linkname=<x>"}),
       {"<Dried Fruit>", "<Fruit>", "<Fruit>"}},
      {CrLfLines({"menuname=<Fruit", "a > b menuname=<Fruit>", "<b>menuname=<Fruit>", "menuname=<>"}), {"<>", "<b>"}},
      // "~" sorts after the letters, yet the prompt heads the list.
      {"menuname=<~zz>\nmenuname=<cherry>\rmenuname=<Banana>", {"<Banana>", "<cherry>", "<~zz>"}},
  };
  for (const auto& [text, names] : cases) {
    std::vector<Text> expected{kMenuNamePrompt};
    expected.insert(expected.end(), names.begin(), names.end());
    EXPECT_EQ(MenuNameEntries(TextLines(text)), expected) << text;
  }
}

TEST(Validation, CountsLinesHoldingEachKeywordAndKeepsTheLastEmptyStatement) {
  const std::pair<Text, std::vector<int>> cases[] = {
      {CrLfLines({"MenuName=<F>", "LinkName=<Apples>", "LINKADDRESS=<x>", "linkname=<B>", "linkaddress=<b>"}),
       {1, 2, 2, 0}},
      {"menuname=<A> linkname=<B>", {1, 1, 0, 0}},                // two keywords on a line count once each
      {"linkname=<A> linkname=<B>", {0, 1, 0, 0}},                // one keyword twice counts once
      {"menuname = <Fruit>\r\nM\xC9NUNAME=<x>", {0, 0, 0, 0}},    // no keyword: spaced, or not A..Z
      {"menuname=< >", {1, 0, 0, 0}},                             // a blank value is not empty
      {CrLfLines({"linkname=<>", "menuname=<>"}), {1, 1, 0, 1}},  // the last one found wins
      {"linkaddress=<> menuname=<>", {1, 0, 1, 3}},               // on one line the address test comes last
      {Text(300, ' ') + "linkaddress=<>", {0, 0, 1, 3}},          // lines are examined whole
  };
  for (const auto& [text, counts] : cases) {
    const StatementCounts got = CountStatements(TextLines(text));
    EXPECT_EQ((std::vector<int>{got.menuNames, got.linkNames, got.linkAddresses, got.emptyInput}), counts) << text;
  }
}

TEST(Normalise, UnusableLinesAreLeftOutAndToldOnceWithTheFirst) {
  Text many = CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"});
  for (int i = 0; i < 20000; ++i) AppendLine(many, "linkaddress=<" + Text(200, 'x'));
  const Records records = CollectRecords(TextLines(many), 0);
  EXPECT_EQ(records.Count(), 1u);
  EXPECT_EQ(LeftOutText(records.leftOut()),
            "Some lines could not be used and were left out of the rebuilt definition:\r\n  20000 statement lines have "
            "no closing \">\" after the keyword (first: line 4, \"linkaddress=<" +
                Text(67, 'x') + "...\").");
}

}  // namespace
}  // namespace pravel
