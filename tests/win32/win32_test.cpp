// The Windows program's own code where it can go wrong unseen: the input
// pane over a real rich edit control (line breaks and encodings that come
// back as they went in, a large text in pieces, positions that find and
// select agree on) and the nested message pump.
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <tuple>

#include "app/win32/MessageLoop.h"
#include "app/win32/RichEditPane.h"
#include "app/win32/Theme.h"

namespace pravel::win32 {
namespace {

// A rich edit control prepared as the input pane is, in a hidden window.
struct PaneWindow {
  HWND window =
      CreateWindowExA(0, "STATIC", "test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  HWND control = (LoadLibraryA("RICHED20.DLL"),
                  CreateWindowExW(0, L"RichEdit20W", nullptr,
                                  WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                  400, 300, window, nullptr, nullptr, nullptr));
  PaneWindow() { PrepareRichEdit(control, kFieldBackground); }
  ~PaneWindow() { DestroyWindow(window); }
};

TEST(RichEditPane, GivesBackWhatWasSetWithCrLfBreaks) {
  PaneWindow window;
  RichEditPane pane(window.control);
  std::string high(128, '\0');  // not UTF-8: every byte back as it was
  std::iota(high.begin(), high.end(), '\x80');
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"menuname=<A>\r\nlinkname=<B>\r\n", "menuname=<A>\r\nlinkname=<B>\r\n"},
      {"a\nb\rc", "a\r\nb\r\nc"},
      {"a\r\r\nb", "a\r\n\r\nb"},
      {"{\\rtf1 menuname=<A>}\r\n{\\urtf x}", "{\\rtf1 menuname=<A>}\r\n{\\urtf x}"},  // stays plain text
      {"\tlinkname=<  x  >  ", "\tlinkname=<  x  >  "},
      {high, high},
  };
  for (const auto& [text, expected] : cases) {
    pane.PaneSetText(text);
    EXPECT_EQ(pane.PaneText(), expected) << testing::PrintToString(text);
  }
  // What is typed into a UTF-8 definition, and found in it, is UTF-8; its
  // positions count characters, as the control does.
  pane.PaneSetText("linkname=<Crème brûlée>");
  EXPECT_EQ(pane.PaneFind(0, "CRèME"), (std::pair<std::int64_t, std::int64_t>{10, 15}));
  pane.PaneSelect(10, 15);
  pane.PaneReplaceSelection("中");
  EXPECT_EQ(pane.PaneText(), "linkname=<中 brûlée>");
  // The line at a position, cut there in the definition's bytes, and where
  // it ends in the control's positions.
  pane.PaneSetText("menuname=<Café>\r\nlinkname=<中x>\r\n");
  const Pane::LineAt line = pane.PaneLineAt(27);
  EXPECT_EQ(std::make_tuple(line.before, line.after, line.end), std::make_tuple("linkname=<中", "x>", 29));
}

TEST(RichEditPane, LoadsALargeDefinitionWholeInPiecesAndFindsInIt) {
  PaneWindow window;
  std::size_t pumps = 0;
  RichEditPane pane(window.control, {}, [&pumps](std::size_t, std::size_t) { ++pumps; });
  // The first line fills the first piece exactly, so the second begins
  // with a line that looks like RTF; one line is longer than a piece.
  std::string text = std::string(RichEditPane::kPieceSize - 2, 'x') + "\r\n{\\rtf1 menuname=<A>}\r\n";
  for (int menu = 0; text.size() < 1100000; ++menu) {
    text += "menuname=<Menu" + std::to_string(menu) + ">\r\nlinkname=<Entry>\r\nlinkaddress=<https://x/" +
            std::to_string(menu) + ">\r\n";
    if (menu == 2000) text += "rem=<" + std::string(RichEditPane::kPieceSize + 10, 'w') + ">\r\n";
  }
  pane.PaneSetText(text);
  const std::string back = pane.PaneText();
  ASSERT_EQ(back.size(), text.size());
  EXPECT_TRUE(back == text);
  EXPECT_GE(pumps, text.size() / RichEditPane::kPieceSize - 1);
  // Loaded as one text: open to typing, nothing to undo piece by piece.
  EXPECT_EQ(GetWindowLongW(pane.Control(), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(SendMessageW(pane.Control(), EM_CANUNDO, 0, 0), 0);

  // A break counts one position in the control: what find gives, select
  // takes, and the text selected is the one looked for.
  const std::string last = "<MENU9876>";
  const auto found = pane.PaneFind(0, last);
  const std::size_t offset = text.find("<Menu9876>");
  ASSERT_TRUE(found && offset != std::string::npos);
  ASSERT_EQ(found->first, static_cast<std::int64_t>(offset - std::count(text.begin(), text.begin() + offset, '\n')));
  EXPECT_FALSE(pane.PaneFind(found->first + 1, last));
  pane.PaneSelect(found->first, found->second);
  wchar_t selected[16] = {};
  SendMessageW(pane.Control(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected));
  EXPECT_STREQ(selected, L"<Menu9876>");
}

// A window whose messages pump again, as a command does while it works:
// the inner pump returns at once, so no message is handled inside another.
MessageLoop loop;
int depth = 0, deepest = 0, handled = 0;

TEST(MessageLoop, APumpInsideAPumpReturnsAtOnce) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    ++handled;
    deepest = std::max(deepest, ++depth);
    loop.Pump();
    --depth;
    return 0;
  };
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PumpProbe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("PumpProbe", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_APP, 0, 0);
  loop.Pump();
  EXPECT_EQ(handled, 3);
  EXPECT_EQ(deepest, 1);
  DestroyWindow(window);
}

}  // namespace
}  // namespace pravel::win32
