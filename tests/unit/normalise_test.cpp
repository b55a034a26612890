// Normalisation: records, the regrouped definition and the files it lands in.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Workflow.h"
#include "definition/Normalise.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel {
namespace {

using test::CrLfLines;
using test::FileExists;
using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

constexpr const char* kInputName = "Pravel_Input.txt";

class Normalise : public ::testing::Test {
 protected:
  TempDir dir;
  RecordingHost host;
  Workflow wf{host, dir.Path().string()};

  // The input file and the pane hold the text, as after Open Input.
  bool Build(const Text& text) {
    WriteFile(kInputName, text);
    host.pane.PaneSetText(text);
    wf.InputPath = dir.File(kInputName);
    return StripAndBuild(wf);
  }

  std::vector<Text> LinesOf(const Text& text) {
    StringList list;
    ListAddLines(list, text);
    return list.Items();
  }
};

// The one-space lines that frame a menu statement and end a link pair.
Text Group(const char* menu, std::initializer_list<std::pair<const char*, const char*>> links) {
  Text out = CrLfLines({" ", menu, " "});
  for (const auto& [name, address] : links) out += CrLfLines({name, address, " "});
  return out;
}

TEST_F(Normalise, RegroupsSortsAndWritesEveryCopyOfTheResult) {
  struct Case {
    const char* name;
    Text input;
    Text sorted;      // "Sorted_Pravel.txt"
    Text normalised;  // "ValidatedInput.txt", the pane and the input file
  };
  const Case cases[] = {
      {"menus and links in alphabetical order",
       CrLfLines({"menuname=<Veg>", "linkname=<Kale>", "linkaddress=<kale.html>", "menuname=<Fruit>",
                  "linkname=<Pears>", "linkaddress=<pears.html>", "linkname=<Apples>", "linkaddress=<apples.html>"}),
       CrLfLines({"menuname=<Fruit>linkname=<Apples>linkaddress=<apples.html>",
                  "menuname=<Fruit>linkname=<Pears>linkaddress=<pears.html>",
                  "menuname=<Veg>linkname=<Kale>linkaddress=<kale.html>"}),
       Group("menuname=<Fruit>", {{"linkname=<Apples>", "linkaddress=<apples.html>"},
                                  {"linkname=<Pears>", "linkaddress=<pears.html>"}}) +
           Group("menuname=<Veg>", {{"linkname=<Kale>", "linkaddress=<kale.html>"}})},
      {"the same menu twice is merged",
       CrLfLines({"menuname=<Fruit>", "linkname=<Pears>", "linkaddress=<p>", "menuname=<Veg>", "linkname=<Kale>",
                  "linkaddress=<k>", "menuname=<Fruit>", "linkname=<Apples>", "linkaddress=<a>"}),
       CrLfLines({"menuname=<Fruit>linkname=<Apples>linkaddress=<a>", "menuname=<Fruit>linkname=<Pears>linkaddress=<p>",
                  "menuname=<Veg>linkname=<Kale>linkaddress=<k>"}),
       Group("menuname=<Fruit>", {{"linkname=<Apples>", "linkaddress=<a>"}, {"linkname=<Pears>", "linkaddress=<p>"}}) +
           Group("menuname=<Veg>", {{"linkname=<Kale>", "linkaddress=<k>"}})},
      {"names differing in case interleave and each change starts a group",
       CrLfLines({"menuname=<fruit>", "linkname=<A>", "linkaddress=<a>", "linkname=<C>", "linkaddress=<c>",
                  "menuname=<Fruit>", "linkname=<B>", "linkaddress=<b>"}),
       CrLfLines({"menuname=<fruit>linkname=<A>linkaddress=<a>", "menuname=<Fruit>linkname=<B>linkaddress=<b>",
                  "menuname=<fruit>linkname=<C>linkaddress=<c>"}),
       Group("menuname=<fruit>", {{"linkname=<A>", "linkaddress=<a>"}}) +
           Group("menuname=<Fruit>", {{"linkname=<B>", "linkaddress=<b>"}}) +
           Group("menuname=<fruit>", {{"linkname=<C>", "linkaddress=<c>"}})},
      {"a menu without links disappears",
       CrLfLines({"menuname=<Empty>", "menuname=<Fruit>", "linkname=<A>", "linkaddress=<a>"}),
       CrLfLines({"menuname=<Fruit>linkname=<A>linkaddress=<a>"}),
       Group("menuname=<Fruit>", {{"linkname=<A>", "linkaddress=<a>"}})},
      {"of two link names in a row the second wins",
       CrLfLines({"menuname=<Fruit>", "linkname=<Lost>", "linkname=<Apples>", "linkaddress=<a>"}),
       CrLfLines({"menuname=<Fruit>linkname=<Apples>linkaddress=<a>"}),
       Group("menuname=<Fruit>", {{"linkname=<Apples>", "linkaddress=<a>"}})},
      {"an address before its name takes the link read last",
       CrLfLines({"menuname=<A>", "linkname=<One>", "linkaddress=<one>", "menuname=<B>", "linkaddress=<two>",
                  "linkname=<Two>"}),
       CrLfLines({"menuname=<A>linkname=<One>linkaddress=<one>", "menuname=<B>linkname=<One>linkaddress=<two>"}),
       Group("menuname=<A>", {{"linkname=<One>", "linkaddress=<one>"}}) +
           Group("menuname=<B>", {{"linkname=<One>", "linkaddress=<two>"}})},
      {"two addresses after one name list the label twice",
       CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a2>", "linkaddress=<a1>"}),
       CrLfLines({"menuname=<F>linkname=<A>linkaddress=<a1>", "menuname=<F>linkname=<A>linkaddress=<a2>"}),
       Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a1>"}, {"linkname=<A>", "linkaddress=<a2>"}})},
      {"remarks, blank lines and text around statements go; case stays",
       CrLfLines({"My menus", "", "   MenuName=<Fruit>   remark", "\tLinkName=<Red Apples> (the red ones)",
                  "LINKADDRESS=<Apples.HTML>  ", "", "-- end"}),
       CrLfLines({"MenuName=<Fruit>LinkName=<Red Apples>LINKADDRESS=<Apples.HTML>"}),
       Group("MenuName=<Fruit>", {{"LinkName=<Red Apples>", "LINKADDRESS=<Apples.HTML>"}})},
      {"the closing bracket takes part in the order",
       CrLfLines({"menuname=<Fruits>", "linkname=<A>", "linkaddress=<a>", "menuname=<Fruit>", "linkname=<Z>",
                  "linkaddress=<z>"}),
       CrLfLines({"menuname=<Fruit>linkname=<Z>linkaddress=<z>", "menuname=<Fruits>linkname=<A>linkaddress=<a>"}),
       Group("menuname=<Fruit>", {{"linkname=<Z>", "linkaddress=<z>"}}) +
           Group("menuname=<Fruits>", {{"linkname=<A>", "linkaddress=<a>"}})},
      {"text before the keyword, even a bracketed one, is not part of the statement",
       CrLfLines({"<b>menuname=<Fruit>", "x>linkname=<A>", "linkaddress=<a>"}),
       CrLfLines({"menuname=<Fruit>linkname=<A>linkaddress=<a>"}),
       Group("menuname=<Fruit>", {{"linkname=<A>", "linkaddress=<a>"}})},
      {"of two keywords on a line the menu name counts, then the link name",
       CrLfLines({"menuname=<F>", "linkaddress=<x> menuname=<Veg>", "linkname=<K> linkaddress=<y>",
                  "linkaddress=<k>"}),
       CrLfLines({"menuname=<Veg>linkname=<K>linkaddress=<k>"}),
       Group("menuname=<Veg>", {{"linkname=<K>", "linkaddress=<k>"}})},
      {"lone line feeds and carriage returns break lines too",
       "menuname=<F>\nlinkname=<A>\rlinkaddress=<a>",
       CrLfLines({"menuname=<F>linkname=<A>linkaddress=<a>"}),
       Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a>"}})},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    ASSERT_TRUE(Build(c.input)) << c.name;
    EXPECT_EQ(ReadFile("Sorted_Pravel.txt"), c.sorted) << c.name;
    EXPECT_EQ(ReadFile("ValidatedInput.txt"), c.normalised) << c.name;
    EXPECT_EQ(host.pane.PaneText(), c.normalised) << c.name;
    EXPECT_EQ(ReadFile(kInputName), c.normalised) << c.name;
    EXPECT_EQ(ReadFile(Text(kInputName) + ".bak"), c.input) << c.name;
    EXPECT_TRUE(host.sortedListShown) << c.name;
    EXPECT_EQ(host.sortedList, LinesOf(c.normalised)) << c.name;
    EXPECT_EQ(wf.SortedList.Items(), host.sortedList) << c.name;
    EXPECT_FALSE(wf.SortedList.IsSorted()) << c.name;
    EXPECT_TRUE(host.messages.empty()) << c.name << ": " << host.LastMessage();

    // The pass on its own output changes nothing, and a file that already
    // holds the result is not rewritten, so the backup keeps the user's text.
    // Nor is the pane given its own text again: where the user was stays.
    host.pane.PaneSelect(1, 2);
    ASSERT_TRUE(StripAndBuild(wf)) << c.name;
    EXPECT_EQ(host.pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>{1, 2})) << c.name;
    EXPECT_EQ(ReadFile("Sorted_Pravel.txt"), c.sorted) << c.name;
    EXPECT_EQ(host.pane.PaneText(), c.normalised) << c.name;
    EXPECT_EQ(ReadFile(kInputName), c.normalised) << c.name;
    EXPECT_EQ(ReadFile(Text(kInputName) + ".bak"), c.input) << c.name;
  }
}

TEST_F(Normalise, EachChangingBuildKeepsThePreviousFileAsBackup) {
  const Text first = CrLfLines({"menuname=<F>", "linkname=<B>", "linkaddress=<b>"});
  ASSERT_TRUE(Build(first));
  const Text normalisedFirst = host.pane.PaneText();

  // The user adds a link in the pane; the file still holds the first result.
  host.pane.PaneSetText(normalisedFirst + CrLfLines({"linkname=<A>", "linkaddress=<a>"}));
  ASSERT_TRUE(StripAndBuild(wf));
  EXPECT_EQ(ReadFile(Text(kInputName) + ".bak"), normalisedFirst);
  EXPECT_EQ(ReadFile(kInputName),
            Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a>"}, {"linkname=<B>", "linkaddress=<b>"}}));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_EQ(entry.path().filename().string().find("tmp"), Text::npos) << "left behind: " << entry.path();
  }
}

TEST_F(Normalise, LongLinesSurviveWhole) {
  const Text address = "linkaddress=<https://example.org/" + Text(400, 'q') + "?a=1&b=2>";
  const Text name = "linkname=<" + Text(300, 'N') + ">";
  ASSERT_TRUE(Build(CrLfLines({"menuname=<Fruit>", name, address})));
  const Text expected = Group("menuname=<Fruit>", {{name.c_str(), address.c_str()}});
  EXPECT_EQ(ReadFile("Sorted_Pravel.txt"), "menuname=<Fruit>" + name + address + "\r\n");
  EXPECT_EQ(ReadFile("ValidatedInput.txt"), expected);
  EXPECT_EQ(ReadFile(kInputName), expected);
  EXPECT_EQ(host.pane.PaneText(), expected);
}

TEST_F(Normalise, TracesEachRoutineAndEachGroup) {
  wf.trace.TraceEnabled = 1;
  ASSERT_TRUE(Build(CrLfLines({"menuname=<A>", "linkname=<1>", "linkaddress=<1>", "linkname=<2>",
                               "linkaddress=<2>", "menuname=<B>", "linkname=<3>", "linkaddress=<3>"})));
  EXPECT_EQ(wf.trace.TraceText, CrLfLines({"Here we are in: StripAndBuild", "Here we are in: TrimMenuName",
                                           "Here we are in: CollectMenuName", "Here we are in: CollectMenuName"}));
}

TEST_F(Normalise, NoCompleteLinkPairLeavesEverythingAsItWas) {
  const Text cases[] = {
      "",
      CrLfLines({"menuname=<Fruit>", "menuname=<Veg>"}),
      CrLfLines({"menuname=<Fruit>", "linkname=<A>"}),
      CrLfLines({"linkname=<A>", "linkaddress=<a>", "remark"}),
      CrLfLines({"menuname=<Fruit>", "linkaddress=<a>"}),
  };
  WriteFile("Sorted_Pravel.txt", "earlier records\r\n");
  WriteFile("ValidatedInput.txt", "earlier definition\r\n");
  for (const Text& text : cases) {
    host.messages.clear();
    std::filesystem::remove(Text(kInputName) + ".bak");
    EXPECT_FALSE(Build(text)) << text;
    EXPECT_EQ(host.pane.PaneText(), text);
    EXPECT_EQ(ReadFile(kInputName), text);
    EXPECT_FALSE(FileExists(Text(kInputName) + ".bak"));
    EXPECT_EQ(ReadFile("Sorted_Pravel.txt"), "earlier records\r\n");
    EXPECT_EQ(ReadFile("ValidatedInput.txt"), "earlier definition\r\n");
    EXPECT_FALSE(host.sortedListShown);
    ASSERT_EQ(host.messages.size(), 1u) << text;
    EXPECT_EQ(host.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(host.messages[0].text.rfind(
                  "Nothing to build: the definition holds no complete link pair (a linkname=<...> followed by its "
                  "linkaddress=<...>) under a menu name.\r\n"
                  "The input pane and the input file are left as they were.",
                  0),
              0u)
        << host.messages[0].text;
  }
}

TEST_F(Normalise, UnusableLinesAreLeftOutAndReportedOnce) {
  struct Case {
    const char* name;
    Text input;
    Text normalised;
    Text report;  // after the first line of the warning
  };
  const Case cases[] = {
      {"addresses before the first menu name",
       CrLfLines({"linkname=<Early>", "linkaddress=<early.html>", "linkaddress=<second.html>", "menuname=<F>",
                  "linkaddress=<late.html>"}),
       Group("menuname=<F>", {{"linkname=<Early>", "linkaddress=<late.html>"}}),
       "  2 link address lines have no menu name or no link name before them "
       "(first: line 2, \"linkaddress=<early.html>\")."},
      {"an address before any link name",
       CrLfLines({"menuname=<F>", "linkaddress=<a>", "linkname=<B>", "linkaddress=<b>"}),
       Group("menuname=<F>", {{"linkname=<B>", "linkaddress=<b>"}}),
       "  1 link address line has no menu name or no link name before it (first: line 2, \"linkaddress=<a>\")."},
      {"a menu name without its bracket ends the menu before it",
       CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>", "menuname=<Veg", "linkname=<Kale>",
                  "linkaddress=<kale>"}),
       Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a>"}}),
       "  1 link address line has no menu name or no link name before it (first: line 6, \"linkaddress=<kale>\")."
       "\r\n  1 statement line has no closing \">\" after the keyword (first: line 4, \"menuname=<Veg\")."},
      {"a link name or address without its bracket",
       CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>", "linkname=<B", "linkaddress=<b>",
                  "linkname=<C>", "a > linkaddress=<c"}),
       Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a>"}}),
       "  1 link address line has no menu name or no link name before it (first: line 5, \"linkaddress=<b>\")."
       "\r\n  2 statement lines have no closing \">\" after the keyword (first: line 4, \"linkname=<B\")."},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    ASSERT_TRUE(Build(c.input)) << c.name;
    EXPECT_EQ(ReadFile(kInputName), c.normalised) << c.name;
    EXPECT_EQ(ReadFile(Text(kInputName) + ".bak"), c.input) << c.name;
    ASSERT_EQ(host.messages.size(), 1u) << c.name;
    EXPECT_EQ(host.messages[0].kind, MessageKind::Warning) << c.name;
    EXPECT_EQ(host.messages[0].text,
              "Some lines could not be used and were left out of the rebuilt definition:\r\n" + c.report +
                  "\r\nThe previous content of the input file is kept in " + dir.File(kInputName) + ".bak.")
        << c.name;
  }
}

TEST_F(Normalise, ManyBadLinesStillGiveOneShortMessage) {
  Text input = CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"});
  const Text bad = "linkaddress=<" + Text(200, 'x');
  for (int i = 0; i < 20000; ++i) AppendLine(input, bad);
  ASSERT_TRUE(Build(input));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("20000 statement lines"), Text::npos);
  EXPECT_NE(host.messages[0].text.find("(first: line 4, \"linkaddress=<" + Text(67, 'x') + "...\")"), Text::npos);
  EXPECT_LT(host.messages[0].text.size(), 500u);
}

TEST_F(Normalise, WriteFailuresAreReportedAndTheBuildGoesOn) {
  const Text input = CrLfLines({"menuname=<F>", "linkname=<A>", "linkaddress=<a>"});
  const Text normalised = Group("menuname=<F>", {{"linkname=<A>", "linkaddress=<a>"}});

  // The input file's folder is gone: the pane still holds the result.
  host.pane.PaneSetText(input);
  wf.InputPath = dir.File("gone/Pravel_Input.txt");
  ASSERT_TRUE(StripAndBuild(wf));
  EXPECT_EQ(host.pane.PaneText(), normalised);
  EXPECT_EQ(ReadFile("ValidatedInput.txt"), normalised);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].kind, MessageKind::Warning);
  const Text& text = host.messages[0].text;
  EXPECT_EQ(text.rfind("Could not rewrite the input file " + wf.InputPath + ": ", 0), 0u) << text;
  EXPECT_NE(text.find("The file keeps its previous content; the rebuilt definition is in the input pane and in "
                      "ValidatedInput.txt."),
            Text::npos)
      << text;

  // The companion files cannot be written: the pane and the input file are
  // still rebuilt from the definition in hand, not from a stale file.
  host.messages.clear();
  std::filesystem::remove("ValidatedInput.txt");
  std::filesystem::remove("Sorted_Pravel.txt");
  std::filesystem::create_directory("ValidatedInput.txt");
  std::filesystem::create_directory("Sorted_Pravel.txt");
  ASSERT_TRUE(Build(input));
  EXPECT_EQ(host.pane.PaneText(), normalised);
  EXPECT_EQ(ReadFile(kInputName), normalised);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text.rfind("Could not write Sorted_Pravel.txt: ", 0), 0u) << host.messages[0].text;
  EXPECT_NE(host.messages[0].text.find("\r\nCould not write ValidatedInput.txt: "), Text::npos);
}

}  // namespace
}  // namespace pravel
