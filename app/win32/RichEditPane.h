// The input pane: the Pane interface over a rich edit control.
//
// Positions are the control's own character positions, in which a line
// break counts as one character; finding, selecting and the text length all
// use them, so a match found is selected exactly. The whole text handed out
// has CR LF line breaks, whatever the control keeps inside.
#pragma once

#include <windows.h>

#include <functional>

#include "text/Pane.h"

namespace pravel::win32 {

class RichEditPane : public Pane {
 public:
  // Puts a fresh, empty control in the place of the given one and returns
  // it (or the given one when no fresh control could be made).
  using Renewal = std::function<HWND(HWND)>;

  explicit RichEditPane(HWND control = nullptr, Renewal renewal = {})
      : control_(control), renewal_(std::move(renewal)) {}
  void Attach(HWND control, Renewal renewal) {
    control_ = control;
    renewal_ = std::move(renewal);
  }
  HWND Control() const { return control_; }

  Text PaneText() const override;
  // The text goes in as plain text, also when it looks like RTF. A pane
  // that holds text is renewed first: the rich edit of some systems (Wine)
  // takes minutes to delete a text of many thousand lines, while a fresh
  // control loads it in a second or two.
  void PaneSetText(std::string_view text) override;
  std::int64_t PaneTextLength() const override;
  std::int64_t PaneFind(std::int64_t from, std::string_view what) const override;
  void PaneSelect(std::int64_t from, std::int64_t to) override;
  std::pair<std::int64_t, std::int64_t> PaneSelection() const override;
  void PaneScrollCaret() override;
  void PaneHideSelection(bool hide) override;
  void PaneReplaceSelection(std::string_view text) override;

 private:
  HWND control_;
  Renewal renewal_;
};

// Prepares a freshly created rich edit control for the program's text:
// plain text only, no length limit, the pane's background colour.
void PrepareRichEdit(HWND control, COLORREF background);

// Every line break as CR LF: a lone CR or a lone LF becomes CR LF.
Text WithCrLf(std::string_view text);
// Every line break (CR LF, lone CR, lone LF) as one CR.
Text WithCrOnly(std::string_view text);

}  // namespace pravel::win32
