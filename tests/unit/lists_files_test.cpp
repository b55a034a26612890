// String lists, panes and whole-file reading and writing.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "text/Pane.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace pravel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<Text> ItemsOf(const StringList& list) { return list.Items(); }

TEST(StringList, UnsortedKeepsInsertionOrderAndAnswersEmptyOutside) {
  StringList list;
  for (const char* item : {"b", "", "A", "a"}) ListAdd(list, item);
  EXPECT_EQ(ItemsOf(list), (std::vector<Text>{"b", "", "A", "a"}));
  EXPECT_EQ(ListItem(list, -1), "");
  EXPECT_EQ(ListItem(list, 4), "");
  ListDelete(list, 1);
  EXPECT_EQ(ItemsOf(list), (std::vector<Text>{"b", "A", "a"}));
  EXPECT_EQ(ListCount(list), 3u);
}

TEST(StringList, SortedIgnoresCaseAndKeepsEqualItemsInInsertionOrder) {
  StringList list(true);
  for (const char* item : {"<cherry>", "<Banana>", "<apple>", "<APPLE>", "<Apple>", "<b>"}) ListAdd(list, item);
  EXPECT_EQ(ItemsOf(list),
            (std::vector<Text>{"<apple>", "<APPLE>", "<Apple>", "<b>", "<Banana>", "<cherry>"}));
  // Adding after a read puts the new item in place too.
  ListAdd(list, "<aardvark>");
  EXPECT_EQ(ListItem(list, 0), "<aardvark>");
}

TEST(StringList, SortedRecordsCompareTheClosingBracket) {
  StringList list(true);
  ListAdd(list, "menuname=<Fruits>linkname=<A>linkaddress=<a>");
  ListAdd(list, "menuname=<Fruit>linkname=<Z>linkaddress=<z>");
  EXPECT_EQ(ListItem(list, 0), "menuname=<Fruit>linkname=<Z>linkaddress=<z>");
}

TEST(StringList, SetSortedEmptiesTheList) {
  StringList list(true);
  ListAdd(list, "b");
  ListAdd(list, "a");
  ListSetSorted(list, false);
  EXPECT_EQ(ListCount(list), 0u);
  ListAdd(list, "b");
  ListAdd(list, "a");
  EXPECT_EQ(ItemsOf(list), (std::vector<Text>{"b", "a"}));
}

TEST(ListLoad, CutsAtCrLfOnly) {
  TempDir dir;
  struct Case {
    Text content;
    std::vector<Text> items;
  };
  const Case cases[] = {
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\n", {"a"}},
      {"", {}},
      {"\r\n", {""}},
      {"a\rb\nc\r\n", {"a\rb\nc"}},
      {Text(1000, 'x'), {Text(1000, 'x')}},
      {"one\r\ntwo\r\n\r\n", {"one", "two", ""}},
  };
  for (const Case& c : cases) {
    WriteFile("list.txt", c.content);
    StringList list;
    ListAdd(list, "left over");
    ListLoad(list, "list.txt");
    EXPECT_EQ(ItemsOf(list), c.items) << ::testing::PrintToString(c.content);
  }
}

TEST(ListLoad, MissingFileGivesNoItemsAndLeavesAnEmptyFile) {
  TempDir dir;
  StringList list;
  ListLoad(list, "HdrOnly.txt");
  EXPECT_EQ(ListCount(list), 0u);
  ASSERT_TRUE(test::FileExists("HdrOnly.txt"));
  EXPECT_EQ(ReadFile("HdrOnly.txt"), "");
}

TEST(ListSave, WritesEveryItemWithCrLf) {
  TempDir dir;
  StringList list;
  ListAdd(list, "a");
  ListAdd(list, "b");
  ASSERT_TRUE(ListSave(list, "out.txt"));
  EXPECT_EQ(ReadFile("out.txt"), "a\r\nb\r\n");

  StringList empty;
  ASSERT_TRUE(ListSave(empty, "out.txt"));
  EXPECT_EQ(ReadFile("out.txt"), "");

  // Save and load are inverse for items without CR LF inside.
  StringList again;
  ListAdd(again, "");
  ListAdd(again, "x\ry");
  ListSave(again, "out.txt");
  StringList loaded;
  ListLoad(loaded, "out.txt");
  EXPECT_EQ(ItemsOf(loaded), ItemsOf(again));
}

TEST(FileReadAll, ReadsBytesUnchangedAndCreatesMissingFiles) {
  TempDir dir;
  const Text bytes = Text("a\r\nb\nc\rd\0e\xFF", 11);
  WriteFile("bytes.bin", bytes);
  EXPECT_EQ(FileReadAll("bytes.bin"), bytes);

  EXPECT_EQ(FileReadAll("missing.txt"), "");
  EXPECT_TRUE(test::FileExists("missing.txt"));

  std::filesystem::create_directory("folder.txt");
  EXPECT_EQ(FileReadAll("folder.txt"), "");
  EXPECT_EQ(FileReadAll("no-such-folder/file.txt"), "");
  EXPECT_FALSE(test::FileExists("no-such-folder"));
}

TEST(FileWrite, WritesExactlyAndReportsWhyItFailed) {
  TempDir dir;
  ASSERT_TRUE(FileWriteAll("w.txt", "no break at the end"));
  EXPECT_EQ(ReadFile("w.txt"), "no break at the end");
  ASSERT_TRUE(FileWriteAll("w.txt", ""));
  EXPECT_EQ(ReadFile("w.txt"), "");

  std::filesystem::create_directory("folder");
  const FileResult toFolder = FileWrite("folder", "x");
  EXPECT_FALSE(toFolder.ok);
  EXPECT_FALSE(toFolder.reason.empty());
  EXPECT_FALSE(FileWrite("no-such-folder/x.txt", "x").ok);

  Text content;
  const FileResult missing = FileRead("missing.txt", content);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(test::FileExists("missing.txt"));  // the checked read creates nothing
}

TEST(FileReplace, ReplacesWholeAndKeepsABackup) {
  TempDir dir;
  WriteFile("def.txt", "old content\r\n");
  ASSERT_TRUE(FileReplace("def.txt", "new content\r\n", "def.txt.bak").ok);
  EXPECT_EQ(ReadFile("def.txt"), "new content\r\n");
  EXPECT_EQ(ReadFile("def.txt.bak"), "old content\r\n");

  // The backup is replaced at each rewrite.
  ASSERT_TRUE(FileReplace("def.txt", "third\r\n", "def.txt.bak").ok);
  EXPECT_EQ(ReadFile("def.txt.bak"), "new content\r\n");

  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 2);
}

TEST(FileReplace, RefusesAReadOnlyFileAndLeavesItAsItWas) {
  TempDir dir;
  WriteFile("locked.txt", "keep me");
  std::filesystem::permissions("locked.txt", std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  // Refused whoever runs it, root included: the mark is the user's.
  const FileResult result = FileReplace("locked.txt", "new", "locked.txt.bak");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(ReadFile("locked.txt"), "keep me");
  EXPECT_FALSE(test::FileExists("locked.txt.bak"));
}

TEST(Panes, SplitLinesAtEveryKindOfBreak) {
  struct Case {
    Text text;
    std::vector<Text> lines;
  };
  const Case cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\n", {"a", ""}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {Text(300, 'x'), {Text(300, 'x')}},  // lines are examined whole
  };
  for (const Case& c : cases) {
    MemoryPane pane(c.text);
    ASSERT_EQ(PaneLineCount(pane), c.lines.size()) << ::testing::PrintToString(c.text);
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(PaneLine(pane, i), c.lines[i]);
    EXPECT_EQ(PaneLine(pane, c.lines.size()), "");
  }
}

TEST(Panes, FindSelectAndReplaceSelection) {
  MemoryPane pane("abc\r\nABC");
  EXPECT_EQ(pane.PaneFind(0, "bc"), 1);
  EXPECT_EQ(pane.PaneFind(2, "bc"), 6);
  EXPECT_EQ(pane.PaneFind(7, "bc"), -1);
  EXPECT_EQ(pane.PaneFind(100, "bc"), -1);

  pane.PaneSelect(1, 3);
  pane.PaneReplaceSelection("XY\r\n");
  EXPECT_EQ(pane.PaneText(), "aXY\r\n\r\nABC");
  EXPECT_EQ(pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>(5, 5)));
  pane.PaneSelect(2, -1);
  EXPECT_EQ(pane.PaneSelection().second, pane.PaneTextLength());
}

}  // namespace
}  // namespace pravel
