// The definition layer: the go-to list and what normalisation leaves out.
// Statement values are seen in the html walk; what validation counts, its
// report and how definitions regroup are in the golden cases.
#include "definition/Definition.h"

#include <gtest/gtest.h>

#include "definition/MenuNames.h"
#include "definition/Normalise.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

TEST(Definition, TheGoToListShowsFirstOpenToFirstCloseInSortedOrder) {
  // Any line break; "~" sorts after the letters, yet the prompt heads the list.
  const Text text = CrLfLines({"menuname=<Fruit>", "MENUNAME=<Fruit>", "menuname=<Dried Fruit>", "linkname=<x>",
                               "menuname=<Fruit", "a > b menuname=<Fruit>", "<b>menuname=<Fruit>", "menuname=<>"}) +
                    "menuname=<~zz>\nmenuname=<cherry>\rmenuname=<Banana>";
  EXPECT_EQ(MenuNameEntries(TextLines(text)), (std::vector<Text>{kMenuNamePrompt, "<>", "<b>", "<Banana>", "<cherry>",
                                                                 "<Dried Fruit>", "<Fruit>", "<Fruit>", "<~zz>"}));
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
