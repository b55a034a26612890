// The input pane over a real rich edit control: what goes in comes out, as
// plain text with CR LF breaks, and positions agree between find and select.
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestWindows.h"
#include "app/win32/RichEditPane.h"

namespace pravel::win32 {
namespace {

using test::MakeRichEdit;
using test::TestWindow;

TEST(LineBreaks, ConvertEveryKindOfBreak) {
  struct Case {
    std::string_view text, crLf, crOnly;
  };
  const Case cases[] = {
      {"", "", ""},
      {"a", "a", "a"},
      {"a\r\nb", "a\r\nb", "a\rb"},
      {"a\rb", "a\r\nb", "a\rb"},
      {"a\nb", "a\r\nb", "a\rb"},
      {"a\r\r\nb", "a\r\n\r\nb", "a\r\rb"},
      {"a\n\rb", "a\r\n\r\nb", "a\r\rb"},
      {"\r\n\r\n", "\r\n\r\n", "\r\r"},
      {"x\n", "x\r\n", "x\r"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithCrLf(c.text), c.crLf) << testing::PrintToString(std::string(c.text));
    EXPECT_EQ(WithCrOnly(c.text), c.crOnly) << testing::PrintToString(std::string(c.text));
  }
}

std::string AllHighBytes() {
  std::string text;
  for (int b = 0x80; b <= 0xFF; ++b) text += static_cast<char>(b);
  return text;
}

TEST(RichEditPane, GivesBackWhatWasSetWithCrLfBreaks) {
  TestWindow window;
  RichEditPane pane(MakeRichEdit(window.Handle()));
  struct Case {
    std::string name, text, expected;
  };
  const std::vector<Case> cases = {
      {"empty", "", ""},
      {"crlf lines", "menuname=<A>\r\nlinkname=<B>\r\n", "menuname=<A>\r\nlinkname=<B>\r\n"},
      {"unix and mac breaks", "a\nb\rc", "a\r\nb\r\nc"},
      {"cr before crlf is two breaks", "a\r\r\nb", "a\r\n\r\nb"},
      {"looks like rtf", "{\\rtf1 menuname=<A>}\r\n{\\urtf x}", "{\\rtf1 menuname=<A>}\r\n{\\urtf x}"},
      {"tabs and blanks", "\tlinkname=<  x  >  ", "\tlinkname=<  x  >  "},
      {"bytes above 127", AllHighBytes(), AllHighBytes()},
      {"long line", std::string(100000, 'x'), std::string(100000, 'x')},
  };
  for (const Case& c : cases) {
    pane.PaneSetText(c.text);
    EXPECT_EQ(pane.PaneText(), c.expected) << c.name;
  }
}

TEST(RichEditPane, LoadsALargeDefinitionWholeInPieces) {
  TestWindow window;
  std::size_t pumps = 0;
  RichEditPane pane(MakeRichEdit(window.Handle()), {}, [&pumps] { ++pumps; });
  // The first line fills the first piece exactly, so the second begins
  // with a line that looks like RTF.
  std::string text = std::string(RichEditPane::kPieceSize - 2, 'x') + "\r\n{\\rtf1 menuname=<A>}\r\n";
  std::size_t lines = 2;
  for (int menu = 0; text.size() < 1100000; ++menu) {
    text += "menuname=<Menu" + std::to_string(menu) + ">\r\n";
    for (int link = 0; link < 3; ++link) {
      text += "linkname=<Entry " + std::to_string(link) + ">\r\n";
      text += "linkaddress=<https://example.org/m" + std::to_string(menu) + "/" + std::to_string(link) + ".html>\r\n";
    }
    lines += 7;
    // One line longer than a piece, in the middle.
    if (menu == 2000) {
      text += "rem=<" + std::string(RichEditPane::kPieceSize + 10, 'w') + ">\r\n";
      ++lines;
    }
  }
  pane.PaneSetText(text);
  const std::string back = pane.PaneText();
  ASSERT_EQ(back.size(), text.size());
  EXPECT_TRUE(back == text);
  EXPECT_GE(pumps, text.size() / RichEditPane::kPieceSize - 1);
  // A break counts one position, and the text ends in one.
  EXPECT_EQ(pane.PaneTextLength(), static_cast<std::int64_t>(text.size() - lines));
  const std::string last = "<Menu" + std::to_string((lines - 3) / 7 - 1) + ">";
  const std::size_t offset = text.find(last);
  const auto breaksBefore = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
  EXPECT_EQ(pane.PaneFind(0, last), static_cast<std::int64_t>(offset) - breaksBefore);
  // Loaded as one text: the caret at the start, open to typing, and
  // nothing to undo piece by piece.
  EXPECT_EQ(pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>{0, 0}));
  EXPECT_EQ(GetWindowLongA(pane.Control(), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(SendMessageA(pane.Control(), EM_CANUNDO, 0, 0), 0);
}

TEST(RichEditPane, FindsFromAPositionWithoutRegardToCase) {
  TestWindow window;
  RichEditPane pane(MakeRichEdit(window.Handle()));
  // Positions: "menuname=<Fruit>" 0..15, break 16, "linkname=<fruit>" 17..32.
  pane.PaneSetText("menuname=<Fruit>\r\nlinkname=<fruit>\r\nlinkaddress=<FRUIT.html>");
  struct Case {
    std::int64_t from;
    std::string what;
    std::int64_t expected;
  };
  const Case cases[] = {
      {0, "<Fruit>", 9},   {10, "<fruit>", 26}, {27, "fruit", 27}, {28, "fruit", 47},
      {48, "fruit", -1},   {0, "LINKNAME", 17}, {0, "absent", -1}, {200, "menu", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pane.PaneFind(c.from, c.what), c.expected) << c.what << " from " << c.from;
  }
}

TEST(RichEditPane, SelectsWhatFindFound) {
  TestWindow window;
  HWND control = MakeRichEdit(window.Handle());
  RichEditPane pane(control);
  pane.PaneSetText("alpha\r\nbeta\r\ngamma beta\r\n");
  const std::int64_t at = pane.PaneFind(7, "BETA");
  ASSERT_EQ(at, 17);
  pane.PaneSelect(at, at + 4);
  EXPECT_EQ(pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>{17, 21}));
  char selected[16] = {};
  SendMessageA(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected));
  EXPECT_STREQ(selected, "beta");

  pane.PaneSelect(6, -1);  // to the end
  EXPECT_EQ(pane.PaneSelection().first, 6);
  EXPECT_GE(pane.PaneSelection().second, pane.PaneTextLength());

  pane.PaneSelect(6, 6);
  pane.PaneReplaceSelection("{\\rtf1 one}\r\ntwo\n");
  EXPECT_EQ(pane.PaneText(), "alpha\r\n{\\rtf1 one}\r\ntwo\r\nbeta\r\ngamma beta\r\n");
  EXPECT_EQ(pane.PaneSelection(), (std::pair<std::int64_t, std::int64_t>{22, 22}));
}

TEST(RichEditPane, NewTextGoesIntoAFreshControlInTheSamePlace) {
  TestWindow window;
  HWND first = MakeRichEdit(window.Handle());
  MoveWindow(first, 12, 180, 300, 200, FALSE);
  int renewals = 0;
  RichEditPane pane(first, [&](HWND old) {
    ++renewals;
    RECT place{};
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&place), 2);
    HWND fresh = MakeRichEdit(window.Handle());
    MoveWindow(fresh, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
    DestroyWindow(old);
    return fresh;
  });

  pane.PaneSetText("first text");  // the pane was empty: no need to renew
  EXPECT_EQ(renewals, 0);
  EXPECT_EQ(pane.Control(), first);

  pane.PaneSetText("second text");
  EXPECT_EQ(renewals, 1);
  EXPECT_NE(pane.Control(), first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(pane.PaneText(), "second text");
  EXPECT_EQ(GetDlgItem(window.Handle(), 107), pane.Control());
}

}  // namespace
}  // namespace pravel::win32
