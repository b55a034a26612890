// The input pane: the Pane interface over a rich edit control.
//
// Positions are the control's own character positions, in which a line
// break counts as one character; finding, selecting and the text length all
// use them, so a match found is selected exactly. The control holds UTF-16:
// a text goes in decoded in the encoding its bytes read best in (Encoding.h)
// and comes out encoded in the same, with CR LF line breaks whatever the
// control keeps inside.
#pragma once

#include <windows.h>

#include <functional>

#include "app/win32/Encoding.h"
#include "text/Pane.h"

namespace pravel::win32 {

class RichEditPane : public Pane {
 public:
  // Puts a fresh, empty control in the place of the given one and returns
  // it (or the given one when no fresh control could be made).
  using Renewal = std::function<HWND(HWND)>;

  // Told how far a large text has gone in (characters of all), between
  // pieces; it handles the window's waiting messages.
  using Pump = std::function<void(std::size_t done, std::size_t all)>;

  // A text longer than this many characters goes into the control in
  // pieces of about this size, each ending at a line break.
  static constexpr std::size_t kPieceSize = 128 * 1024;

  explicit RichEditPane(HWND control = nullptr, Renewal renewal = {}, Pump pump = {})
      : control_(control), renewal_(std::move(renewal)), pump_(std::move(pump)) {}
  void Attach(HWND control, Renewal renewal, Pump pump) {
    control_ = control;
    renewal_ = std::move(renewal);
    pump_ = std::move(pump);
  }
  HWND Control() const { return control_; }
  // How a piece of the text (a line, a find, a paste) came and goes back:
  // the text's encoding, without the byte-order mark that only its start
  // has.
  Encoding PieceEncoding() const { return {encoding_.kind, false}; }

  Text PaneText() const override;
  // The text goes in as plain text, also when it looks like RTF. A pane
  // that holds text is renewed first: the rich edit of some systems (Wine)
  // takes minutes to delete a text of many thousand lines, while a fresh
  // control loads it in a second or two. A large text goes in a piece at a
  // time, the window's messages handled between pieces.
  void PaneSetText(std::string_view text) override;
  std::int64_t PaneTextLength() const override;
  std::optional<std::pair<std::int64_t, std::int64_t>> PaneFind(std::int64_t from,
                                                                std::string_view what) const override;
  void PaneSelect(std::int64_t from, std::int64_t to) override;
  std::pair<std::int64_t, std::int64_t> PaneSelection() const override;
  void PaneScrollCaret() override;
  void PaneHideSelection(bool hide) override;
  void PaneReplaceSelection(std::string_view text) override;
  bool PaneModified() const override;
  void PaneSaved() override;
  std::uint64_t PaneChangeCount() const override { return changes_; }
  bool PaneTookUtf8() override;
  LineAt PaneLineAt(std::int64_t position) const override;
  // The control reported a change of its text (EN_CHANGE): typed, pasted,
  // undone.
  void NoteChange() { ++changes_; }

 private:
  // Where the piece of text starting at from ends: after the last line
  // break within a piece's size, or after the line that is longer.
  static std::size_t PieceEnd(std::wstring_view text, std::size_t from);
  // EM_STREAMIN of a piece as plain UTF-16 text, with the given flags.
  void StreamIn(std::wstring_view piece, WPARAM flags);

  HWND control_;
  Renewal renewal_;
  Pump pump_;
  // How the text comes out: the encoding its file came in, until the pane
  // holds a character that encoding cannot, and UTF-8 from then on.
  mutable Encoding encoding_;
  mutable bool tookUtf8_ = false;
  std::uint64_t changes_ = 0;
};

// Prepares a freshly created rich edit control for the program's text,
// before its font is set: rich text mode (the text itself only ever goes
// in as plain text), no length limit, the pane's background colour, and
// a notice to its parent (EN_CHANGE) of every change of the text.
void PrepareRichEdit(HWND control, COLORREF background);

// Every line break as CR LF: a lone CR or a lone LF becomes CR LF.
std::wstring WithCrLf(std::wstring_view text);
// Every line break (CR LF, lone CR, lone LF) as one CR.
std::wstring WithCrOnly(std::wstring_view text);

}  // namespace pravel::win32
