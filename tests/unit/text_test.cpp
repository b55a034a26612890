// The text layer: line splitting, the sort order and the keyword search,
// each fast path checked against a plain model of itself.
#include "text/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "text/Lines.h"
#include "text/SortOrder.h"

namespace pravel {
namespace {

// Byte by byte, A..Z folded, a ">" below every byte, a shorter text first.
int PlainCompare(std::string_view a, std::string_view b) {
  const auto rank = [](char c) { return c == '>' ? -1 : static_cast<int>(static_cast<unsigned char>(LowerByte(c))); };
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (rank(a[i]) != rank(b[i])) return rank(a[i]) < rank(b[i]) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<Text> PlainSplit(std::string_view text, Breaks breaks) {
  std::vector<Text> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool any = breaks == Breaks::Any && (text[i] == '\r' || text[i] == '\n');
    const std::size_t length = text.substr(i, 2) == "\r\n" ? 2 : any ? 1 : 0;
    if (length == 0) lines.back() += text[i];
    if (length > 0) lines.emplace_back(), i += length - 1;
  }
  return lines;
}

Text RandomText(std::mt19937& rng, std::string_view alphabet, std::size_t maxLength) {
  Text out(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), ' ');
  for (char& c : out) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
  return out;
}

TEST(Lines, BothKindsOfBreakAgreeWithThePlainSplit) {
  std::mt19937 rng(3);
  // Breaks on both sides of the eight-byte steps of the scan.
  std::vector<Text> texts = {"", "\r", "\n", "\r\n", "\n\r", "\r\r\n", "abcdefg\r\nh", "abcdefgh\r", "a\rb\nc"};
  for (int n = 0; n < 3000; ++n) texts.push_back(RandomText(rng, "ab\r\n", 60));
  for (int n = 0; n < 300; ++n) texts.push_back(RandomText(rng, "abcdefghijklmnopqrstuvwxyz\r\n", 400));
  for (const Breaks breaks : {Breaks::Any, Breaks::CrLf}) {
    for (const Text& text : texts) {
      const std::vector<Text> expected = PlainSplit(text, breaks);
      const TextLines lines(text, breaks);
      ASSERT_EQ(lines.Count(), expected.size()) << ::testing::PrintToString(text);
      for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(lines.Line(i), expected[i]);
      EXPECT_EQ(lines.Line(expected.size()), "");
    }
  }
  // Lines stored one per CR LF: a final CR LF starts no empty line.
  const std::pair<Text, std::vector<Text>> stored[] = {
      {"", {}}, {"a\r\n", {"a"}}, {"a\r\n\r\nb", {"a", "", "b"}}, {"a\r\n\r\n", {"a", ""}}, {"a\nb\r", {"a\nb\r"}}};
  for (const auto& [text, expected] : stored) EXPECT_EQ(StoredLines(text), expected) << ::testing::PrintToString(text);
}

TEST(SortOrder, FastPathsAgreeWithThePlainComparison) {
  std::mt19937 rng(13);
  for (int round = 0; round < 300; ++round) {
    // Heads shared up to and past their twenty-four bytes, NUL bytes (a
    // missing byte of a short text also counts as 0), ">" and case.
    const Text head = RandomText(rng, "aA", 30);
    std::vector<Text> texts;
    for (int n = 0; n < 40; ++n) {
      texts.push_back(head.substr(0, rng() % (head.size() + 1)) + RandomText(rng, Text("aAbB[_>\0", 8), 6));
    }
    std::vector<std::size_t> expected(texts.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(),
                     [&texts](std::size_t a, std::size_t b) { return PlainCompare(texts[a], texts[b]) < 0; });
    const std::vector<std::string_view> views(texts.begin(), texts.end());

    // Equal texts share a rank, and the ranks count up in that order.
    std::size_t ranks = 0;
    const std::vector<std::size_t> rank = SortRanks(views, 0, ranks);
    for (std::size_t k = 1; k < expected.size(); ++k) {
      const bool same = PlainCompare(texts[expected[k - 1]], texts[expected[k]]) == 0;
      ASSERT_EQ(rank[expected[k]], rank[expected[k - 1]] + (same ? 0 : 1));
    }
    ASSERT_EQ(ranks, rank[expected.back()] + 1);

    // The same texts behind a keyword in any case: the heads skip it.
    std::vector<Text> keyed;
    for (const Text& text : texts) keyed.push_back((rng() % 2 ? "MenuName=<" : "menuname=<") + text);
    std::size_t keyedRanks = 0;
    ASSERT_EQ(SortRanks(std::vector<std::string_view>(keyed.begin(), keyed.end()), 10, keyedRanks), rank);
  }
}

TEST(FindLower, AgreesWithTheByteByByteSearch) {
  const auto plain = [](std::string_view line, std::string_view key, std::size_t from) {
    for (std::size_t i = from; i + key.size() <= line.size(); ++i) {
      if (TextLower(line.substr(i, key.size())) == key) return i;
    }
    return std::string_view::npos;
  };
  std::mt19937 rng(11);
  const std::string_view keys[] = {"menuname=<", "mm", "m", "<form name=", "=<", "\xC4m"};
  for (int n = 0; n < 20000; ++n) {
    const Text line = RandomText(rng, "mMeEnNuUaA=<> \xC4", 40);
    for (std::string_view key : keys) {
      const std::size_t from = std::uniform_int_distribution<std::size_t>(0, 3)(rng);
      ASSERT_EQ(FindLower(line, key, from), plain(line, key, from)) << line << " | " << key;
    }
  }
}

}  // namespace
}  // namespace pravel
