// The definition layer: the go-to list. Statement values are seen in the
// html walk; what validation counts, its report, how definitions regroup
// and what is left out are in the golden cases.
#include <gtest/gtest.h>

#include "definition/MenuNames.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

TEST(Definition, TheGoToListShowsEachMenuOnceInTheOrderOfTheLines) {
  // Any line break; from a line's first "<" to its first ">"; a menu
  // continued further down once.
  const Text text = CrLfLines({"menuname=<Fruit>", "MENUNAME=<Fruit>", "menuname=<Dried Fruit>", "linkname=<x>",
                               "menuname=<Fruit", "a > b menuname=<Fruit>", "<b>menuname=<Fruit>", "menuname=<>"}) +
                    "menuname=<~zz>\nmenuname=<cherry>\rmenuname=<Banana>";
  EXPECT_EQ(MenuNameEntries(TextLines(text)), (std::vector<Text>{kMenuNamePrompt, "<Fruit>", "<Dried Fruit>", "<b>",
                                                                 "<>", "<~zz>", "<cherry>", "<Banana>"}));
}

}  // namespace
}  // namespace pravel
