#include "app/win32/RichEditPane.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace pravel::win32 {

namespace {

LONG ToLong(std::int64_t position) {
  return static_cast<LONG>(std::clamp<std::int64_t>(position, -1, std::numeric_limits<LONG>::max()));
}

// Hands the text to EM_STREAMIN piece by piece.
struct StreamSource {
  std::string_view text;
  std::size_t offset = 0;
};

DWORD CALLBACK ReadFromSource(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* written) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(capacity), source->text.size() - source->offset);
  std::memcpy(buffer, source->text.data() + source->offset, count);
  source->offset += count;
  *written = static_cast<LONG>(count);
  return 0;
}

}  // namespace

Text WithCrLf(std::string_view text) {
  Text result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      result += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      result += "\r\n";
    } else {
      result += c;
    }
  }
  return result;
}

Text WithCrOnly(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    result += c == '\n' ? '\r' : c;
  }
  return result;
}

void PrepareRichEdit(HWND control, COLORREF background) {
  // Rich text mode, the control's own, set before anything else (the mode
  // changes only while the control holds nothing): a plain-text rich edit
  // of some systems (Wine) takes a paste or a streamed piece as the whole
  // new text and drops the rest. The text stays plain all the same: it
  // only ever goes in streamed as plain text (SF_TEXT), so a definition
  // that happens to start like RTF stays the characters it is.
  SendMessageA(control, EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  // The default limit (32 K characters) would cut a large definition short.
  SendMessageA(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageA(control, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
}

Text RichEditPane::PaneText() const {
  // WM_GETTEXT gives CR LF breaks on the rich edit this program runs with;
  // the length it reports counts them that way too.
  const LRESULT length = SendMessageA(control_, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  Text text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(control_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  return WithCrLf(text);
}

void RichEditPane::PaneSetText(std::string_view text) {
  // Each break goes in as a single CR, the control's own paragraph mark,
  // and every piece ends at one, so no break is split between two pieces.
  const Text paragraphs = WithCrOnly(text);
  if (renewal_ && PaneTextLength() > 0) control_ = renewal_(control_);
  const std::string_view all(paragraphs);
  std::size_t end = PieceEnd(all, 0);
  StreamIn(all.substr(0, end), SF_TEXT);
  if (end == all.size()) return;

  // A large text goes in a piece at a time with the window's messages
  // handled in between, so the window repaints and answers while the
  // control lays the text out (some rich edits take many seconds for a
  // definition of many thousand lines, and take it faster in pieces).
  // Meanwhile the pane is read-only, so nothing typed can land between two
  // pieces (the mark stops the user, not the program's own streaming).
  const bool wasReadOnly = (GetWindowLongA(control_, GWL_STYLE) & ES_READONLY) != 0;
  const auto selection = PaneSelection();
  SendMessageA(control_, EM_SETREADONLY, TRUE, 0);
  while (end < all.size()) {
    if (pump_) pump_();
    const std::size_t from = end;
    end = PieceEnd(all, from);
    const std::int64_t length = PaneTextLength();
    PaneSelect(length, length);
    StreamIn(all.substr(from, end - from), SF_TEXT | SFF_SELECTION);
  }
  PaneSelect(selection.first, selection.second);
  PaneScrollCaret();
  // One text was set: undo must not take it back a piece at a time.
  SendMessageA(control_, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageA(control_, EM_SETREADONLY, wasReadOnly ? TRUE : FALSE, 0);
}

std::size_t RichEditPane::PieceEnd(std::string_view text, std::size_t from) {
  if (text.size() - from <= kPieceSize) return text.size();
  const std::size_t lastBreak = text.rfind('\r', from + kPieceSize - 1);
  if (lastBreak != std::string_view::npos && lastBreak >= from) return lastBreak + 1;
  // A line longer than a piece: up to the end of that line.
  const std::size_t nextBreak = text.find('\r', from + kPieceSize);
  return nextBreak == std::string_view::npos ? text.size() : nextBreak + 1;
}

void RichEditPane::StreamIn(std::string_view piece, WPARAM format) {
  StreamSource source{piece};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromSource};
  SendMessageA(control_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

std::int64_t RichEditPane::PaneTextLength() const {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return std::max<LRESULT>(0, SendMessageA(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

std::int64_t RichEditPane::PaneFind(std::int64_t from, std::string_view what) const {
  const Text needle(what);
  FINDTEXTEXA find{};
  find.chrg.cpMin = ToLong(from);
  find.chrg.cpMax = -1;
  find.lpstrText = needle.c_str();
  const LRESULT at = SendMessageA(control_, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find));
  return at < 0 ? -1 : static_cast<std::int64_t>(find.chrgText.cpMin);
}

void RichEditPane::PaneSelect(std::int64_t from, std::int64_t to) {
  CHARRANGE range{ToLong(from), to < 0 ? -1 : ToLong(to)};
  SendMessageA(control_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::pair<std::int64_t, std::int64_t> RichEditPane::PaneSelection() const {
  CHARRANGE range{0, 0};
  SendMessageA(control_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {range.cpMin, range.cpMax};
}

void RichEditPane::PaneScrollCaret() { SendMessageA(control_, EM_SCROLLCARET, 0, 0); }

void RichEditPane::PaneHideSelection(bool hide) { SendMessageA(control_, EM_HIDESELECTION, hide ? TRUE : FALSE, 0); }

void RichEditPane::PaneReplaceSelection(std::string_view text) {
  // Streamed as plain text, like a whole text: EM_REPLACESEL may read a
  // text that starts like RTF as rich text.
  StreamIn(WithCrOnly(text), SF_TEXT | SFF_SELECTION);
}

}  // namespace pravel::win32
