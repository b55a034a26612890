// The definition layer: the go-to list. Statement values are seen in the
// html walk; what validation counts, its report, how definitions regroup
// and what is left out are in the golden cases.
#include <gtest/gtest.h>

#include "definition/MenuNames.h"
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

}  // namespace
}  // namespace pravel
