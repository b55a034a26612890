// Panes: multi-line text that the user edits (the input pane) and the lines
// the program reads from it.
//
// The logic reads a pane's whole text once per step and splits it into lines
// itself, so the window's edit control and the in-memory pane used by the
// command line and the tests give the same lines.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "text/Lines.h"
#include "text/Text.h"

namespace pravel {

class Pane {
 public:
  virtual ~Pane() = default;

  // The whole text, lines separated by CR LF.
  virtual Text PaneText() const = 0;
  virtual void PaneSetText(std::string_view text) = 0;
  // Gives the pane a text the caller no longer needs; a pane that keeps its
  // text in memory takes it without a copy.
  virtual void PaneTakeText(Text text) { PaneSetText(text); }
  // The lines of the whole text. A pane that keeps its text in memory gives
  // lines that view that text (read them before the pane changes) and finds
  // them once for each text it holds: the steps read the same text again
  // and again.
  virtual TextLines PaneReadLines() const { return TextLines(PaneText()); }

  // Whether the text changed since it was last read from or written to a
  // file (PaneSaved): changes that are in no file yet. Every change of the
  // text counts, the program's own too; the program says when the text is
  // in a file.
  virtual bool PaneModified() const = 0;
  virtual void PaneSaved() = 0;
  // A count that moves on with every change of the text, the program's own
  // too: a step keeps it to tell later whether the pane still holds the
  // text the step worked from.
  virtual std::uint64_t PaneChangeCount() const = 0;
  // Whether the pane, since this was last asked, had to give its text in
  // UTF-8 instead of the encoding its file came in, because it came to hold
  // characters that encoding cannot: the file is then written in UTF-8 and
  // the user told once. A pane of bytes never has to.
  virtual bool PaneTookUtf8() { return false; }

  // Editor operations used by find and paste. Positions count characters of
  // the pane's text from 0.
  virtual std::int64_t PaneTextLength() const { return static_cast<std::int64_t>(PaneText().size()); }
  // The next occurrence at or after `from`, found without regard to case
  // (A..Z), as its start and end positions; nothing when there is none.
  virtual std::optional<std::pair<std::int64_t, std::int64_t>> PaneFind(std::int64_t from, std::string_view what) const;
  // Selects from..to; a negative to selects up to the end of the text.
  virtual void PaneSelect(std::int64_t from, std::int64_t to) = 0;
  virtual std::pair<std::int64_t, std::int64_t> PaneSelection() const = 0;
  virtual void PaneScrollCaret() {}
  virtual void PaneHideSelection(bool /*hide*/) {}
  // Replaces the selection with the text and puts the caret after it.
  virtual void PaneReplaceSelection(std::string_view text) = 0;

  // The line that holds the position, cut there: its text before and
  // after the position, and the position of its end (before its break).
  struct LineAt {
    Text before, after;
    std::int64_t end = 0;
  };
  virtual LineAt PaneLineAt(std::int64_t position) const;
};

// A pane kept in memory: the hidden template area, the command line's input
// and the tests' stand-in for the window's edit control.
class MemoryPane : public Pane {
 public:
  MemoryPane() = default;
  explicit MemoryPane(Text text) : text_(std::move(text)) {}

  Text PaneText() const override { return text_; }
  void PaneSetText(std::string_view text) override;
  void PaneTakeText(Text text) override;
  TextLines PaneReadLines() const override;
  void PaneSelect(std::int64_t from, std::int64_t to) override;
  std::pair<std::int64_t, std::int64_t> PaneSelection() const override { return {selStart_, selEnd_}; }
  void PaneReplaceSelection(std::string_view text) override;
  bool PaneModified() const override { return modified_; }
  void PaneSaved() override { modified_ = false; }
  std::uint64_t PaneChangeCount() const override { return changes_; }

 private:
  Text text_;
  bool modified_ = false;
  std::uint64_t changes_ = 0;
  mutable std::shared_ptr<const TextLines::Spans> lines_;  // found on first read, dropped on change
  std::int64_t selStart_ = 0;
  std::int64_t selEnd_ = 0;
};

}  // namespace pravel
