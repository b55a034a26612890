#include "app/win32/RichEditPane.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace pravel::win32 {

namespace {

LONG ToLong(std::int64_t position) {
  return static_cast<LONG>(std::clamp<std::int64_t>(position, -1, std::numeric_limits<LONG>::max()));
}

// Hands the text to EM_STREAMIN piece by piece.
struct StreamSource {
  const char* bytes;
  std::size_t size;
  std::size_t offset = 0;
};

DWORD CALLBACK ReadFromSource(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* written) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  // Whole characters only: a UTF-16 unit is never split between two reads.
  const std::size_t count =
      std::min<std::size_t>(static_cast<std::size_t>(capacity) & ~std::size_t{1}, source->size - source->offset);
  std::memcpy(buffer, source->bytes + source->offset, count);
  source->offset += count;
  *written = static_cast<LONG>(count);
  return 0;
}

}  // namespace

std::wstring WithCrLf(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      result += L"\r\n";
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}

std::wstring WithCrOnly(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    result += c == L'\n' ? L'\r' : c;
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
  SendMessageW(control, EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  // The default limit (32 K characters) would cut a large definition short.
  SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageW(control, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
  const LRESULT events = SendMessageW(control, EM_GETEVENTMASK, 0, 0);
  SendMessageW(control, EM_SETEVENTMASK, 0, events | ENM_CHANGE);
}

Text RichEditPane::PaneText() const {
  const LRESULT length = SendMessageW(control_, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return Encode(L"", encoding_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(control_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  const std::wstring lines = WithCrLf(text);
  if (std::optional<Text> bytes = EncodeExactly(lines, encoding_)) return std::move(*bytes);
  // A character its encoding cannot hold (typed or pasted): never a "?"
  // in its place, the whole text becomes UTF-8 with its byte-order mark.
  encoding_ = {Encoding::Utf8, true};
  tookUtf8_ = true;
  return Encode(lines, encoding_);
}

bool RichEditPane::PaneModified() const { return SendMessageW(control_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditPane::PaneSaved() { SendMessageW(control_, EM_SETMODIFY, FALSE, 0); }

bool RichEditPane::PaneTookUtf8() { return std::exchange(tookUtf8_, false); }

void RichEditPane::PaneSetText(std::string_view text) {
  // Each break goes in as a single CR, the control's own paragraph mark,
  // and every piece ends at one, so no break is split between two pieces.
  const std::wstring paragraphs = WithCrOnly(DecodeDefinition(text, encoding_));
  tookUtf8_ = false;
  ++changes_;
  if (renewal_ && PaneTextLength() > 0) control_ = renewal_(control_);
  const std::wstring_view all(paragraphs);
  std::size_t end = PieceEnd(all, 0);
  StreamIn(all.substr(0, end), SF_TEXT | SF_UNICODE);
  // A new text is a change like any other; the program says when it is in
  // a file.
  SendMessageW(control_, EM_SETMODIFY, TRUE, 0);
  if (end == all.size()) return;

  // A large text goes in a piece at a time with the window's messages
  // handled in between, so the window repaints and answers while the
  // control lays the text out (some rich edits take many seconds for a
  // definition of many thousand lines, and take it faster in pieces).
  // Meanwhile the pane is read-only, so nothing typed can land between two
  // pieces (the mark stops the user, not the program's own streaming).
  const bool wasReadOnly = (GetWindowLongW(control_, GWL_STYLE) & ES_READONLY) != 0;
  const auto selection = PaneSelection();
  SendMessageW(control_, EM_SETREADONLY, TRUE, 0);
  while (end < all.size()) {
    if (pump_) pump_(end, all.size());
    const std::size_t from = end;
    end = PieceEnd(all, from);
    const std::int64_t length = PaneTextLength();
    PaneSelect(length, length);
    StreamIn(all.substr(from, end - from), SF_TEXT | SF_UNICODE | SFF_SELECTION);
  }
  PaneSelect(selection.first, selection.second);
  PaneScrollCaret();
  // One text was set: undo must not take it back a piece at a time.
  SendMessageW(control_, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(control_, EM_SETREADONLY, wasReadOnly ? TRUE : FALSE, 0);
}

std::size_t RichEditPane::PieceEnd(std::wstring_view text, std::size_t from) {
  if (text.size() - from <= kPieceSize) return text.size();
  const std::size_t lastBreak = text.rfind(L'\r', from + kPieceSize - 1);
  if (lastBreak != std::wstring_view::npos && lastBreak >= from) return lastBreak + 1;
  // A line longer than a piece: up to the end of that line.
  const std::size_t nextBreak = text.find(L'\r', from + kPieceSize);
  return nextBreak == std::wstring_view::npos ? text.size() : nextBreak + 1;
}

void RichEditPane::StreamIn(std::wstring_view piece, WPARAM flags) {
  StreamSource source{reinterpret_cast<const char*>(piece.data()), piece.size() * sizeof(wchar_t)};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromSource};
  SendMessageW(control_, EM_STREAMIN, flags, reinterpret_cast<LPARAM>(&stream));
}

std::int64_t RichEditPane::PaneTextLength() const {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};  // in UTF-16 units
  return std::max<LRESULT>(0, SendMessageW(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

std::optional<std::pair<std::int64_t, std::int64_t>> RichEditPane::PaneFind(std::int64_t from,
                                                                            std::string_view what) const {
  const std::wstring needle = WithCrOnly(Decode(what, PieceEncoding()));
  FINDTEXTEXW find{};
  find.chrg.cpMin = ToLong(from);
  find.chrg.cpMax = -1;
  find.lpstrText = needle.c_str();
  if (needle.empty() || SendMessageW(control_, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find)) < 0) {
    return std::nullopt;
  }
  return std::pair<std::int64_t, std::int64_t>{find.chrgText.cpMin, find.chrgText.cpMax};
}

void RichEditPane::PaneSelect(std::int64_t from, std::int64_t to) {
  CHARRANGE range{ToLong(from), to < 0 ? -1 : ToLong(to)};
  SendMessageW(control_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::pair<std::int64_t, std::int64_t> RichEditPane::PaneSelection() const {
  CHARRANGE range{0, 0};
  SendMessageW(control_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {range.cpMin, range.cpMax};
}

void RichEditPane::PaneScrollCaret() { SendMessageW(control_, EM_SCROLLCARET, 0, 0); }

void RichEditPane::PaneHideSelection(bool hide) { SendMessageW(control_, EM_HIDESELECTION, hide ? TRUE : FALSE, 0); }

void RichEditPane::PaneReplaceSelection(std::string_view text) {
  // Streamed as plain text, like a whole text: EM_REPLACESEL may read a
  // text that starts like RTF as rich text.
  StreamIn(WithCrOnly(Decode(text, PieceEncoding())), SF_TEXT | SF_UNICODE | SFF_SELECTION);
  ++changes_;
}

Pane::LineAt RichEditPane::PaneLineAt(std::int64_t position) const {
  // The pane never wraps, so the control's lines are the text's lines.
  const LRESULT line = SendMessageW(control_, EM_EXLINEFROMCHAR, 0, ToLong(position));
  const LRESULT start = std::max<LRESULT>(SendMessageW(control_, EM_LINEINDEX, line, 0), 0);
  const LRESULT length = std::max<LRESULT>(SendMessageW(control_, EM_LINELENGTH, start, 0), 0);
  // EM_GETLINE takes the room of its buffer in the buffer's first word.
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 1)) + 1, L'\0');
  text[0] = static_cast<wchar_t>(std::min<std::size_t>(text.size(), 0xFFFF));
  const LRESULT copied = SendMessageW(control_, EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  const std::size_t at = static_cast<std::size_t>(std::clamp<std::int64_t>(position - start, 0, std::ssize(text)));
  return {Encode(std::wstring_view(text).substr(0, at), PieceEncoding()),
          Encode(std::wstring_view(text).substr(at), PieceEncoding()), start + static_cast<std::int64_t>(text.size())};
}

}  // namespace pravel::win32
