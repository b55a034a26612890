// The input pane: the Pane interface over a rich edit control.
//
// Positions are the control's own character positions, in which a line
// break counts as one character; finding, selecting and the text length all
// use them, so a match found is selected exactly. The whole text handed out
// has CR LF line breaks, whatever the control keeps inside.
#pragma once

#include <windows.h>

#include "text/Pane.h"

namespace pravel::win32 {

class RichEditPane : public Pane {
 public:
  explicit RichEditPane(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }
  HWND Control() const { return control_; }

  Text PaneText() const override;
  // The text goes in as plain text, also when it looks like RTF.
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
};

// Prepares a freshly created rich edit control for the program's text:
// plain text only, no length limit, the pane's background colour.
void PrepareRichEdit(HWND control, COLORREF background);

// Every line break as CR LF: a lone CR or a lone LF becomes CR LF.
Text WithCrLf(std::string_view text);

}  // namespace pravel::win32
