// The definition layer: keywords and values, the go-to list, the counts of
// validation, and what normalisation leaves out. How definitions regroup is
// in the golden cases.
#include <gtest/gtest.h>

#include "definition/Definition.h"
#include "definition/MenuNames.h"
#include "definition/Normalise.h"
#include "definition/Validation.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;

TEST(Keyword, FoundAnywhereWithoutRegardToAsciiCase) {
  struct Case {
    std::string_view line, key;
    bool holds;
  };
  const Case cases[] = {
      {"menuname=<Fruit>", kMenuNameKey, true},
      {"MenuName=<Fruit>", kMenuNameKey, true},
      {"MENUNAME=<Fruit>", kMenuNameKey, true},
      {"   menuname=<Fruit>   remark", kMenuNameKey, true},
      {"menuname = <Fruit>", kMenuNameKey, false},
      {"menuname=Fruit", kMenuNameKey, false},
      {"LinkAddress=<a.html>", kLinkAddressKey, true},
      {"LinkAddress=<a.html>", kLinkNameKey, false},
      {"linkname=<x>", kMenuNameKey, false},
      // Only A..Z fold: a byte above 127 never matches a keyword letter.
      {"M\xC9NUNAME=<x>", kMenuNameKey, false},
      {"", kMenuNameKey, false},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldsKeyword(c.line, c.key), c.holds) << c.line << " / " << c.key;
}

TEST(Keyword, ValueKeepsCaseAndSpacesAndEndsAtTheFirstCloseAfterTheOpen) {
  const Text longAddress = "https://example.org/" + Text(380, 'p');
  struct Case {
    Text line, value;
  };
  const Case cases[] = {
      {"MenuName=<Fruit>", "Fruit"},
      {"   menuname=<Fruit>   remark", "Fruit"},
      {"menuname=<Dried Fruit>", "Dried Fruit"},
      {"menuname=< >", " "},
      {"menuname=<>", ""},
      {"linkaddress=<apples.html", "apples.html"},
      {"linkaddress=<apples.html and the rest", "apples.html and the rest"},
      {"menuname=<A> linkname=<B>", "A"},
      {"<b>menuname=<Fruit>", "b"},
      {"a > b menuname=<Fruit>", "Fruit"},
      {"a > b menuname=<Fruit", "Fruit"},
      {"no brackets at all", ""},
      {"linkaddress=<" + longAddress + ">", longAddress},
  };
  for (const Case& c : cases) EXPECT_EQ(StatementValue(c.line), c.value) << c.line;
}

TEST(MenuNameList, ListsFirstOpenToFirstCloseSortedWithThePromptFirst) {
  struct Case {
    const char* name;
    Text text;
    std::vector<Text> entries;  // after the prompt
  };
  const Case cases[] = {
      {"case and spaces kept",
       CrLfLines({"menuname=<Fruit>", "MENUNAME=<Fruit>", "menuname=<Dried Fruit>", "linkname=<x>"}),
       {"<Dried Fruit>", "<Fruit>", "<Fruit>"}},
      {"empty name", "menuname=<>", {"<>"}},
      {"no closing bracket", "menuname=<Fruit", {}},
      {"close before open", "a > b menuname=<Fruit>", {}},
      {"first brackets of the line", "<b>menuname=<Fruit>", {"<b>"}},
      {"case-insensitive order", CrLfLines({"menuname=<cherry>", "menuname=<Banana>", "menuname=<apple>"}),
       {"<apple>", "<Banana>", "<cherry>"}},
      // "~" sorts after the letters, yet the prompt heads the list.
      {"prompt before names after ~", CrLfLines({"menuname=<~zz>", "menuname=<}>"}), {"<}>", "<~zz>"}},
      {"nothing to list", CrLfLines({"linkname=<a>", "", "remark"}), {}},
      {"lone line feeds", "menuname=<b>\nmenuname=<a>", {"<a>", "<b>"}},
      {"lines are examined whole", Text(250, ' ') + "menuname=<" + Text(20, 'n') + ">",
       {"<" + Text(20, 'n') + ">"}},
  };
  for (const Case& c : cases) {
    std::vector<Text> expected{kMenuNamePrompt};
    expected.insert(expected.end(), c.entries.begin(), c.entries.end());
    EXPECT_EQ(MenuNameEntries(TextLines(c.text)), expected) << c.name;
  }
}

TEST(Validation, CountsLinesAndKeepsTheLastEmptyStatement) {
  struct Case {
    const char* name;
    Text text;
    StatementCounts counts;
  };
  const Case cases[] = {
      {"one menu, two pairs",
       CrLfLines({"menuname=<Fruit>", "linkname=<A>", "linkaddress=<a>", "linkname=<B>", "linkaddress=<b>"}),
       {1, 2, 2, 0}},
      {"keywords in any case", CrLfLines({"MenuName=<F>", "LinkName=<Apples>", "LINKADDRESS=<x>"}), {1, 1, 1, 0}},
      {"two keywords on a line count once each", "menuname=<A> linkname=<B>", {1, 1, 0, 0}},
      {"a keyword twice on a line counts once", "linkname=<A> linkname=<B>", {0, 1, 0, 0}},
      {"a blank value is not empty", "menuname=< >", {1, 0, 0, 0}},
      {"spaced keyword is no keyword", "menuname = <Fruit>", {0, 0, 0, 0}},
      {"empty link name", CrLfLines({"menuname=<F>", "linkname=<>", "linkaddress=<a>"}), {1, 1, 1, 2}},
      {"empty address", CrLfLines({"menuname=<F>", "linkname=<x>", "linkaddress=<>"}), {1, 1, 1, 3}},
      {"last one found wins", CrLfLines({"linkname=<>", "menuname=<>"}), {1, 1, 0, 1}},
      {"on one line the address test comes last", "linkaddress=<> menuname=<>", {1, 0, 1, 3}},
      {"lines are examined whole", Text(300, ' ') + "linkaddress=<>", {0, 0, 1, 3}},
      {"nothing", "", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const StatementCounts got = CountStatements(TextLines(c.text));
    EXPECT_EQ(got.menuNames, c.counts.menuNames) << c.name;
    EXPECT_EQ(got.linkNames, c.counts.linkNames) << c.name;
    EXPECT_EQ(got.linkAddresses, c.counts.linkAddresses) << c.name;
    EXPECT_EQ(got.emptyInput, c.counts.emptyInput) << c.name;
  }
}

TEST(Validation, ReportIsComposedByteForByte) {
  const Text passing =
      "Validation Results: \r\n"
      "    Input must contain at least 1 MenuName.\r\n"
      "SO FAR: there are 1 MenuNames coded.\r\n"
      "    Input must contain 1 LinkAddress for each LinkName, \r\n"
      "    ie., a one for one corespondence.\r\n"
      "SO FAR: there are 2  LinkAddresses coded and 2 LinkNames coded.\r\n"
      "\r\n";
  EXPECT_EQ(ValidationReport({1, 2, 2, 0}), passing);

  const Text failing =
      "Validation Results: \r\n"
      "    Input must contain at least 1 MenuName.\r\n"
      "SO FAR: there are 0 MenuNames coded.\r\n"
      "    Input must contain 1 LinkAddress for each LinkName, \r\n"
      "    ie., a one for one corespondence.\r\n"
      "SO FAR: there are 12  LinkAddresses coded and 3 LinkNames coded.\r\n"
      "\r\n"
      "Input_file contains 'empty_Input_parms', such as ' linkname=<>, Please FIX  Input_File.'";
  EXPECT_EQ(ValidationReport({0, 3, 12, 3}), failing);
  // The note reads the same whatever kind of statement was empty.
  EXPECT_EQ(ValidationReport({0, 3, 12, 1}), failing);
}

TEST(Normalise, UnusableLinesAreLeftOutAndToldOnceWithTheFirst) {
  struct Case {
    const char* name;
    Text input;
    std::size_t records;
    Text told;  // after the first line of the text
  };
  Text many = CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"});
  for (int i = 0; i < 20000; ++i) AppendLine(many, "linkaddress=<" + Text(200, 'x'));
  const Case cases[] = {
      {"addresses before the first menu name",
       CrLfLines({"linkname=<Early>", "linkaddress=<early.html>", "linkaddress=<second.html>", "menuname=<F>",
                  "linkaddress=<late.html>"}),
       1,
       "  2 link address lines have no menu name or no link name before them "
       "(first: line 2, \"linkaddress=<early.html>\")."},
      {"a menu name without its bracket ends the menu before it",
       CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>", "menuname=<Veg", "linkname=<Kale>",
                  "linkaddress=<kale>"}),
       1,
       "  1 link address line has no menu name or no link name before it (first: line 6, \"linkaddress=<kale>\")."
       "\r\n  1 statement line has no closing \">\" after the keyword (first: line 4, \"menuname=<Veg\")."},
      {"a million bad lines are still one short text", many, 1,
       "  20000 statement lines have no closing \">\" after the keyword (first: line 4, \"linkaddress=<" +
           Text(67, 'x') + "...\")."},
  };
  for (const Case& c : cases) {
    const Records records = CollectRecords(TextLines(c.input), 0);
    EXPECT_EQ(records.Count(), c.records) << c.name;
    EXPECT_EQ(LeftOutText(records.leftOut()),
              "Some lines could not be used and were left out of the rebuilt definition:\r\n" + c.told)
        << c.name;
  }
  EXPECT_FALSE(CollectRecords(TextLines(CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"})), 0)
                   .leftOut()
                   .Any());
}

}  // namespace
}  // namespace pravel

