// Text operations: the edge behaviour every other part of the program relies on.
#include <gtest/gtest.h>

#include <vector>

#include <cmath>
#include <limits>

#include "text/Text.h"

namespace pravel {
namespace {

TEST(TextPos, FindsFromStartAndAnswersZeroForNone) {
  struct Case {
    std::string_view text, pattern;
    Pos start, expected;
  };
  const Case cases[] = {
      {"abcabc", "c", 4, 6},  {"abcabc", "c", 1, 3}, {"abc", "C", 1, 0},   {"abc", "", 1, 0},
      {"abc", "a", 0, 0},     {"abc", "a", -5, 0},   {"abc", "bc", 3, 0},  {"abc", "c", 3, 3},
      {"abc", "c", 4, 0},     {"", "a", 1, 0},       {"abc", "abcd", 1, 0}, {"aaa", "aa", 2, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextPos(c.text, c.pattern, c.start), c.expected) << c.text << " / " << c.pattern << " from " << c.start;
  }
}

TEST(TextLower, FoldsOnlyAsciiCapitals) {
  EXPECT_EQ(TextLower("MenuName=<\xC4pfel>"), "menuname=<\xC4pfel>");
  EXPECT_EQ(TextLower("AZ@[`az{"), "az@[`az{");
  EXPECT_EQ(TextLower(""), "");
}

TEST(TextMidRightDelete, CutAtTheEdges) {
  EXPECT_EQ(TextMid("menuname=<Fruit>", 10, 7), "<Fruit>");
  EXPECT_EQ(TextMid("menuname=<Fruit>", 10, 100), "<Fruit>");
  EXPECT_EQ(TextMid("menuname=<Fruit>", 10, -1), "<Fruit>");
  EXPECT_EQ(TextMid("menuname=<Fruit>", 20, 3), "");
  EXPECT_EQ(TextMid("abc", 0, 2), "");
  EXPECT_EQ(TextMid("abc", 1, 0), "");

  EXPECT_EQ(TextRight("abcdef", 2), "ef");
  EXPECT_EQ(TextRight("abc", 3), "abc");
  EXPECT_EQ(TextRight("abc", 10), "abc");
  EXPECT_EQ(TextRight("abc", 0), "");

  EXPECT_EQ(TextDelete("abcdef", 2, 3), "aef");
  EXPECT_EQ(TextDelete("abcdef", 5, 100), "abcd");
  EXPECT_EQ(TextDelete("abc", 4, 1), "abc");
  EXPECT_EQ(TextDelete("abc", 0, 1), "abc");
}

TEST(TextReplace, ReplacesWithoutOverlapOrRescan) {
  struct Case {
    std::string_view text, pattern, replacement, expected;
  };
  const Case cases[] = {
      {"a b  c", " ", "_", "a_b__c"}, {"xxx", "xx", "x", "xx"},   {"abc", "", "z", "abc"},
      {"aaa", "a", "aa", "aaaaaa"},   {"zzz yyy", "zzz", "yyy", "yyy yyy"}, {"", "a", "b", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TextReplace(c.text, c.pattern, c.replacement), c.expected) << c.text;
}

TEST(TextField, NumbersPiecesFromOne) {
  struct Case {
    std::string_view text, delimiter;
    Pos n;
    std::string_view expected;
  };
  const Case cases[] = {
      {"a,b,c", ",", 2, "b"}, {"a,b,c", ",", 3, "c"}, {"a,b,c", ",", 4, ""}, {"abc", ",", 1, "abc"},
      {"abc", ",", 2, ""},    {",b", ",", 1, ""},     {"a,b", ",", 0, "a"},  {"abc", ",", 0, ""},
      {"", ",", 1, ""},       {"a,,b", ",", 2, ""},   {"a<>b<>c", "<>", 3, "c"}, {"a,b", ",", -1, "a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextField(c.text, c.delimiter, c.n), c.expected) << c.text << " piece " << c.n;
  }
}

TEST(TextTallyAndCompare, CountAndOrderBytes) {
  EXPECT_EQ(TextTally("aaaa", "aa"), 2);
  EXPECT_EQ(TextTally("abc", ""), 0);
  EXPECT_EQ(TextTally("a<b<c", "<"), 2);

  EXPECT_NE(TextCompare("PasteMenu", "pastemenu"), 0);
  EXPECT_EQ(TextCompare("abc", "abc"), 0);
  EXPECT_EQ(TextCompare("ab", "abc"), -1);
  EXPECT_EQ(TextCompare("abc", "ab"), 1);
  EXPECT_EQ(TextCompare("\xC4", "z"), 1);  // unsigned bytes

  EXPECT_EQ(TextCompareSorted("Fruit>", "fruit>"), 0);
  EXPECT_EQ(TextCompareSorted("B", "a"), 1);
  // A name comes before its longer forms: the closing ">" ranks below the
  // blank, "-", "." and the digits that longer names go on with.
  const std::vector<std::vector<std::string_view>> inOrder = {
      {"menuname=<Fruit>", "menuname=<Fruit Shop>", "menuname=<fruits>"},
      {"menuname=<Item>", "menuname=<Item 1>", "menuname=<Item2>"},
      {"menuname=<Menu 1>", "menuname=<Menu 10>"},
      {"linkname=<Page>", "linkname=<Page 2>", "linkname=<Page-1>", "linkname=<Page.old>"},
  };
  for (const auto& names : inOrder) {
    for (std::size_t k = 1; k < names.size(); ++k) {
      EXPECT_EQ(TextCompareSorted(names[k - 1], names[k]), -1) << names[k - 1] << " | " << names[k];
      EXPECT_EQ(TextCompareSorted(names[k], names[k - 1]), 1) << names[k] << " | " << names[k - 1];
    }
  }
}

TEST(TextToNumber, FollowsTheTypedNumberGrammar) {
  struct Case {
    std::string_view text;
    long double expected;
  };
  const Case cases[] = {
      {" 12", 12},     {"12", 12},          {"007", 7},        {"5.", 5},          {".5", 0.5L},
      {"1.5e2", 150},  {"-3", -3},          {"+4", 4},         {"  3", 3},         {"2.5", 2.5L},
      {"1E3", 1000},   {"1e-2", 0.01L},     {"1e+2", 100},     {"12 ", 0},         {"- 3", 0},
      {"1e", 0},       {".", 0},            {"3x", 0},         {"", 0},            {"   ", 0},
      {"1.2.3", 0},    {"1,5", 0},          {"\t3", 0},        {"e5", 0},          {".e5", 0},
      {"1e4932", 0},   {"123456789012345678", 123456789012345678.0L},
      {"1234567890123456789", 0},  // a 19th digit
      {"0000000000000000001", 0},  // leading zeros count as digits
      {"3 cols", 0},   {"abc", 0},          {"-", 0},          {"1e-", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToNumber(c.text), c.expected) << '"' << c.text << '"';
  }
  EXPECT_GT(TextToNumber("1e4931"), 1e300L);
}

TEST(RoundToInt32, RoundsHalfToEvenAndClamps) {
  struct Case {
    long double value;
    std::int32_t expected;
  };
  const Case cases[] = {
      {2.5L, 2},   {3.5L, 4},     {0.5L, 0},     {1.5L, 2},     {-2.5L, -2}, {-2, -2},
      {2.4L, 2},   {2.6L, 3},     {-0.0L, 0},    {9999999999.0L, std::numeric_limits<std::int32_t>::max()},
      {-1e30L, std::numeric_limits<std::int32_t>::min()},
      {std::numeric_limits<long double>::infinity(), std::numeric_limits<std::int32_t>::max()},
      {std::nanl(""), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundToInt32(c.value), c.expected) << static_cast<double>(c.value);
  EXPECT_EQ(RoundToInt32(TextToNumber("1e4931")), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt32(TextToNumber("-0")), 0);
}

TEST(NumberToTextAndAppendLine, WritePlainDecimalAndCrLf) {
  EXPECT_EQ(NumberToText(-3), "-3");
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(12), "12");

  Text target = "a";
  AppendLine(target, "b");
  AppendLine(target, "");
  EXPECT_EQ(target, "ab\r\n\r\n");
}

TEST(Holds, MatchesLowerCaseKeysAnywhereWithoutCase) {
  EXPECT_TRUE(Holds("   MENUNAME=<Fruit>  remark", "menuname=<"));
  EXPECT_TRUE(Holds("LinkName=<Apples>", "linkname=<"));
  EXPECT_FALSE(Holds("menuname = <Fruit>", "menuname=<"));
  EXPECT_FALSE(Holds("menu", "menuname=<"));
  EXPECT_FALSE(Holds("", "menuname=<"));
  EXPECT_EQ(FindLower("xxMenuName=<a>", "menuname=<"), 2u);
  EXPECT_EQ(FindLower("aAa", "a", 1), 1u);
}

}  // namespace
}  // namespace pravel
