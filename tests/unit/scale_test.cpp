// The fast paths that let large definitions through: each must give exactly
// what the plain way gives, so each is checked against a plain model of
// itself on tricky and on many random inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "app/Trace.h"
#include "app/Workflow.h"
#include "definition/Definition.h"
#include "definition/Normalise.h"
#include "definition/Validation.h"
#include "html/SaveShow.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "text/FileWriter.h"
#include "text/FoldedHead.h"
#include "text/Pane.h"
#include "text/StringList.h"
#include "text/Text.h"

namespace pravel {
namespace {

using test::ReadFile;
using test::RecordingHost;
using test::TempDir;
using test::WriteFile;

// Byte by byte, folding A..Z, a ">" below every byte: what every sorted
// list orders by.
int PlainCompareLower(std::string_view a, std::string_view b) {
  const auto rank = [](char c) { return c == '>' ? -1 : static_cast<int>(static_cast<unsigned char>(LowerByte(c))); };
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    const int x = rank(a[i]);
    const int y = rank(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::size_t PlainFindLower(std::string_view line, std::string_view key, std::size_t from) {
  if (key.empty()) return std::string_view::npos;
  for (std::size_t i = from; i + key.size() <= line.size(); ++i) {
    std::size_t k = 0;
    while (k < key.size() && LowerByte(line[i + k]) == key[k]) ++k;
    if (k == key.size()) return i;
  }
  return std::string_view::npos;
}

std::vector<Text> PlainSplit(std::string_view text) {
  std::vector<Text> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      lines.back() += text[i];
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.emplace_back();
  }
  return lines;
}

// Random texts over a few bytes that matter here: both cases of a letter,
// the bytes between 'Z' and 'a' (which fold differently from how they
// sort), ">", a byte above 127 and the line breaks.
Text RandomText(std::mt19937& rng, std::string_view alphabet, std::size_t maxLength) {
  Text out(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), ' ');
  for (char& c : out) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
  return out;
}

TEST(FastText, CompareLowerAgreesWithTheByteByByteFold) {
  const std::pair<std::string_view, std::string_view> tricky[] = {
      {"menuname=<Garden Tools>", "MENUNAME=<garden tools>"},
      {"menuname=<Garden Tools>x", "MENUNAME=<garden tools>Y"},
      {"abcdefghijklmnopQ", "abcdefghijklmnopq["},  // case first, then a real difference
      {"abcdefgh[", "ABCDEFGHa"},                   // '[' sorts before 'a', after 'Z'
      {"Fruit>", "fruits>"},
      {"12345678", "1234567"},
      {"\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4z", "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4Z"},
      {"", ""},
      {"", "a"},
  };
  for (const auto& [a, b] : tricky) {
    EXPECT_EQ(TextCompareSorted(a, b), PlainCompareLower(a, b)) << a << " | " << b;
    EXPECT_EQ(TextCompareSorted(b, a), PlainCompareLower(b, a)) << b << " | " << a;
  }
  std::mt19937 rng(7);
  for (int n = 0; n < 20000; ++n) {
    // A shared head makes the long runs of equal bytes the fast path skips.
    const Text head = RandomText(rng, "aA", 20);
    const Text a = head + RandomText(rng, "aAbB[_>\xC4", 12);
    const Text b = head + RandomText(rng, "aAbB[_>\xC4", 12);
    ASSERT_EQ(TextCompareSorted(a, b), PlainCompareLower(a, b)) << a << " | " << b;
  }
}

TEST(FastSort, OrderAgreesWithAStableByteByByteSort) {
  std::mt19937 rng(13);
  for (int round = 0; round < 300; ++round) {
    // Heads shared up to and past twenty-four bytes, short texts, NUL bytes
    // (a missing byte of a short text also counts as 0) and case.
    const Text head = RandomText(rng, "aA", 30);
    std::vector<Text> texts;
    for (int n = 0; n < 40; ++n) {
      Text text = head.substr(0, rng() % (head.size() + 1)) + RandomText(rng, Text("aAbB[_>\0", 8), 6);
      texts.push_back(text);
    }
    std::vector<std::size_t> expected(texts.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&texts](std::size_t a, std::size_t b) {
      return PlainCompareLower(texts[a], texts[b]) < 0;
    });
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    ASSERT_EQ(StableSortOrder(views), expected);

    // Ranks: equal texts share one, and they count up in that order.
    std::size_t ranks = 0;
    const std::vector<std::size_t> rank = SortRanks(views, 0, ranks);
    for (std::size_t k = 0; k < expected.size(); ++k) {
      const bool same = k > 0 && PlainCompareLower(texts[expected[k - 1]], texts[expected[k]]) == 0;
      const std::size_t want = k == 0 ? 0 : rank[expected[k - 1]] + (same ? 0 : 1);
      ASSERT_EQ(rank[expected[k]], want);
    }
    ASSERT_EQ(ranks, expected.empty() ? 0 : rank[expected.back()] + 1);

    // The same texts behind a keyword in any case: the heads skip it.
    std::vector<Text> keyed;
    for (const Text& text : texts) keyed.push_back((rng() % 2 ? "MenuName=<" : "menuname=<") + text);
    ASSERT_EQ(StableSortOrder(std::vector<std::string_view>(keyed.begin(), keyed.end()), 10), expected);
  }
}

TEST(FastText, FindLowerAgreesWithTheByteByByteSearch) {
  std::mt19937 rng(11);
  const std::string_view keys[] = {"menuname=<", "mm", "m", "<form name=", "=<", "\xC4m", "M"};
  for (int n = 0; n < 20000; ++n) {
    const Text line = RandomText(rng, "mMeEnNuUaA=<> \xC4", 40);
    for (std::string_view key : keys) {
      const std::size_t from = std::uniform_int_distribution<std::size_t>(0, 3)(rng);
      ASSERT_EQ(FindLower(line, key, from), PlainFindLower(line, key, from)) << line << " | " << key;
    }
  }
  EXPECT_EQ(FindLower("MENUNAME=<X>", "M"), std::string_view::npos);  // nothing folds to upper case
  EXPECT_EQ(FindLower("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxMenuName=<", "menuname=<"), 32u);
}

TEST(FastText, LinesSplitAsTheEditorShowsThem) {
  std::mt19937 rng(3);
  std::vector<Text> texts = {"", "\r", "\n", "\r\n", "\n\r", "\r\r\n", "a\r\nb", "abcdefghijklmnop\rq",
                             Text(100, 'x') + "\r\n" + Text(7, 'y') + "\n"};
  for (int n = 0; n < 5000; ++n) texts.push_back(RandomText(rng, "ab\r\n", 60));
  for (int n = 0; n < 500; ++n) texts.push_back(RandomText(rng, "abcdefghijklmnopqrstuvwxyz\r\n", 400));
  for (const Text& text : texts) {
    const std::vector<Text> expected = PlainSplit(text);
    const TextLines owned(text);
    const TextLines borrowed = TextLines::Borrowing(text);
    ASSERT_EQ(owned.Count(), expected.size()) << ::testing::PrintToString(text);
    ASSERT_EQ(borrowed.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(owned.Line(i), expected[i]) << ::testing::PrintToString(text) << " line " << i;
      ASSERT_EQ(borrowed.Line(i), expected[i]);
    }
    EXPECT_EQ(owned.Line(expected.size()), "");
  }
}

TEST(FastText, PaneInMemoryIsReadWithoutACopyAndItsLinesFollowEveryChange) {
  MemoryPane pane("a\r\nb");
  const TextLines first = PaneLines(pane);
  EXPECT_EQ(PaneLines(pane).Whole().data(), first.Whole().data());  // the pane's own text, not a copy
  EXPECT_EQ(PaneLines(pane).Positions(), first.Positions());        // lines found once
  EXPECT_EQ(first.Line(1), "b");

  Text big(5000, 'z');
  const char* bytes = big.data();
  pane.PaneTakeText(std::move(big));
  EXPECT_EQ(PaneLines(pane).Whole().data(), bytes);  // taken, not copied
  EXPECT_EQ(PaneLines(pane).Count(), 1u);

  // Every way of changing the text gives its own lines.
  pane.PaneSetText("x\ny\rz");
  EXPECT_EQ(PaneLines(pane).Count(), 3u);
  pane.PaneSelect(1, 2);
  pane.PaneReplaceSelection("");
  EXPECT_EQ(PaneLines(pane).Count(), 2u);
  EXPECT_EQ(PaneLines(pane).Line(0), "xy");
  EXPECT_EQ(pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>{1, 1}));
}

TEST(FastText, FileWriterWritesPiecesOfEverySizeAndSaysWhyItFailed) {
  TempDir dir;
  std::vector<Text> lines;
  Text expected;
  for (int i = 0; i < 30000; ++i) lines.push_back(Text(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
  lines.push_back(Text(3 << 20, 'L'));  // larger than a piece: goes out on its own
  lines.push_back("after");
  for (const Text& line : lines) expected += line + "\r\n";
  ASSERT_TRUE(FileWriteLines("out.txt", lines));
  EXPECT_EQ(ReadFile("out.txt"), expected);

  std::filesystem::create_directory("folder");
  const FileResult folder = FileWriteLines("folder", lines);
  EXPECT_FALSE(folder);
  EXPECT_EQ(folder.reason, "it is a folder");
  const FileResult missing = FileWriteLines("no/such/folder.txt", lines);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.reason, std::strerror(ENOENT));
}

TEST(FastText, ManySmallAdditionsOfLinesKeepEveryLine) {
  StringList list;
  std::vector<Text> expected;
  for (int i = 0; i < 2000; ++i) {
    ListAddLines(list, "x" + NumberToText(i) + "\r\ny");
    expected.push_back("x" + NumberToText(i));
    expected.push_back("y");
  }
  EXPECT_EQ(list.Items(), expected);
}

// The counts the plain way: each keyword and each empty statement looked
// for in the lower-cased line.
StatementCounts PlainCounts(const std::vector<Text>& lines) {
  StatementCounts counts;
  for (const Text& line : lines) {
    const Text lower = TextLower(line);
    auto holds = [&lower](std::string_view key) { return lower.find(key) != Text::npos; };
    counts.menuNames += holds("menuname=<");
    counts.linkNames += holds("linkname=<");
    counts.linkAddresses += holds("linkaddress=<");
    if (holds("menuname=<>")) counts.emptyInput = 1;
    if (holds("linkname=<>")) counts.emptyInput = 2;
    if (holds("linkaddress=<>")) counts.emptyInput = 3;
  }
  return counts;
}

TEST(FastValidation, KeywordsAndCountsAgreeWithLookingForEveryKeyword) {
  const std::string_view pieces[] = {"menuname", "MenuName", "linkname", "LINKNAME", "linkaddress", "address",
                                     "name",     "=<",       "=",        "<",        ">",           "x",
                                     " ",        "link",     "menu"};
  std::mt19937 rng(9);
  for (int round = 0; round < 3000; ++round) {
    std::vector<Text> lines(1 + rng() % 4);
    Text text;
    for (Text& line : lines) {
      for (std::size_t n = rng() % 16; n > 0; --n) line += pieces[rng() % std::size(pieces)];
      text += line + "\r\n";
    }
    // Several empty statements on one line: the later kind decides,
    // wherever it stands.
    if (round % 50 == 0) {
      lines.insert(lines.begin(), "linkaddress=<> linkname=<>  MENUNAME=<>");
      text = lines.front() + "\r\n" + text;
    }
    for (const Text& line : lines) {
      const LineKeywords keys = FindKeywords(line);
      ASSERT_EQ(keys.at[LineKeywords::MenuName], FindLower(line, kMenuNameKey)) << line;
      ASSERT_EQ(keys.at[LineKeywords::LinkName], FindLower(line, kLinkNameKey)) << line;
      ASSERT_EQ(keys.at[LineKeywords::LinkAddress], FindLower(line, kLinkAddressKey)) << line;
    }
    lines.emplace_back();  // the empty line after the last break
    const StatementCounts got = CountStatements(TextLines(text));
    const StatementCounts want = PlainCounts(lines);
    ASSERT_EQ(got.menuNames, want.menuNames) << text;
    ASSERT_EQ(got.linkNames, want.linkNames) << text;
    ASSERT_EQ(got.linkAddresses, want.linkAddresses) << text;
    ASSERT_EQ(got.emptyInput, want.emptyInput) << text;
  }
}

TEST(FastPage, TableMadeOfTheMenuLinesEqualsTableOfTheirText) {
  // Lines as a draft page holds them: forms in any case, entries, list
  // ends, and lone CR or LF inside a template line.
  const std::string_view pieces[] = {"<td><form name=\"A\">", "<FORM NAME=\"b\">", "<option value=\"a\">A</option>",
                                     "</select>", "", "x\ry", "\n", "z\r"};
  std::mt19937 rng(17);
  for (int round = 0; round < 500; ++round) {
    std::vector<Text> lines(rng() % 12);
    for (Text& line : lines) line = pieces[rng() % std::size(pieces)];
    Text text;
    for (const Text& line : lines) text += line + "\r\n";
    const std::int32_t columns = static_cast<std::int32_t>(rng() % 4) - 1;
    TraceLog trace;
    StringList fromText;
    StringList fromLines;
    int placedText = 0;
    int placedLines = 0;
    AssembleFinalPage(fromText, trace, placedText, columns, "<h>\r\n", "<table>\r\nrest", text, "</t>");
    std::vector<Text> moved = lines;
    const std::vector<std::size_t> placedAt =
        AssembleFinalPage(fromLines, trace, placedLines, columns, "<h>\r\n", "<table>\r\nrest", moved, "</t>");
    ASSERT_EQ(fromLines.Items(), fromText.Items()) << ::testing::PrintToString(text);
    ASSERT_EQ(placedLines, placedText);
    // Each line can be given back from where it landed.
    ASSERT_EQ(placedAt.size(), lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) ASSERT_EQ(fromLines.Items()[placedAt[k]], lines[k]);
  }
}

// The records of a definition sorted the plain way: joined, in a list that
// compares the joined texts and keeps equal ones in their order.
Text PlainSortedRecords(const std::vector<Text>& joined) {
  std::vector<Text> records = joined;
  std::stable_sort(records.begin(), records.end(),
                   [](const Text& a, const Text& b) { return PlainCompareLower(a, b) < 0; });
  Text out;
  for (const Text& record : records) out += record + "\r\n";
  return out;
}

TEST(FastNormalise, SortsRecordsExactlyAsTheJoinedTextsSort) {
  // Names chosen to collide: prefixes of each other ("Fruit", "Fruits"),
  // equal but for case, sharing their first eight bytes, short and empty
  // values, bytes that sort between the cases, and keywords in any case.
  const std::string_view menus[] = {"Fruit", "fruit", "FRUIT", "Fruits", "Fruit Basket", "[x]", "_y", "Z"};
  const std::string_view links[] = {"Apples and pears", "apples and Pears", "Apples and", "Apples andz",
                                    "A",                "a",                "",           "Apples and_"};
  const std::string_view keywords[][3] = {{"menuname=<", "linkname=<", "linkaddress=<"},
                                          {"MenuName=<", "LINKNAME=<", "LinkAddress=<"}};
  std::mt19937 rng(5);
  for (int round = 0; round < 60; ++round) {
    TempDir dir;
    RecordingHost host;
    Workflow wf(host, dir.Path().string());
    Text definition;
    std::vector<Text> joined;
    const int menuCount = 1 + static_cast<int>(rng() % 12);
    for (int m = 0; m < menuCount; ++m) {
      const auto& key = keywords[rng() % 2];
      const Text menu = Text(key[0]) + Text(menus[rng() % std::size(menus)]) + ">";
      definition += menu + "\r\n";
      const int linkCount = 1 + static_cast<int>(rng() % 6);
      for (int l = 0; l < linkCount; ++l) {
        const Text link = Text(key[1]) + Text(links[rng() % std::size(links)]) + ">";
        const Text address = Text(key[2]) + (rng() % 2 ? "a" : "A") + NumberToText(rng() % 3) + ">";
        definition += link + "\r\n" + address + "\r\n";
        joined.push_back(menu + link + address);
      }
    }
    WriteFile("d.txt", definition);
    host.pane.PaneSetText(definition);
    wf.InputPath = dir.File("d.txt");
    ASSERT_TRUE(StripAndBuild(wf));
    ASSERT_EQ(ReadFile(kSortedRecordsName), PlainSortedRecords(joined)) << definition;
  }
}

}  // namespace
}  // namespace pravel
