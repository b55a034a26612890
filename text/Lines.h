// The lines of a text.
//
// One splitter serves every text the program reads as lines. The two ways
// a text may break differ for a reason: the pane holds what the user typed
// or loaded, the files hold what the program and its templates have always
// written.
#pragma once

#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Text.h"
#include "text/WordScan.h"

namespace pravel {

enum class Breaks {
  // CR LF, and also a lone CR or a lone LF: an editor shows each of them as
  // a line break, so a definition saved with Unix or old Mac line ends reads
  // as the lines the user sees in the pane.
  Any,
  // CR LF only, as the program writes its own files: a lone CR or LF
  // there is part of a value, not the end of a line.
  CrLf,
};

// Calls line(offset, length) for each line of the text, in order. An empty
// text is one empty line; a text ending in a break has an empty last line.
// The text is looked at eight bytes at a time.
template <typename Line>
void SplitLines(std::string_view text, Breaks breaks, Line&& line);

// The lines of a text, found once. A line past the last reads as empty.
// Lines are kept whole, however long.
class TextLines {
 public:
  using Spans = std::vector<std::pair<std::size_t, std::size_t>>;  // offset, length

  explicit TextLines(Text text = {}, Breaks breaks = Breaks::Any);
  // The lines of a text that the caller keeps, unchanged, for as long as
  // the lines are read: a pane of a hundred megabytes is not copied. The
  // second form takes the lines found in the same text before.
  static TextLines Borrowing(std::string_view text, Breaks breaks = Breaks::Any);
  static TextLines Borrowing(std::string_view text, std::shared_ptr<const Spans> spans);

  std::size_t Count() const { return spans_->size(); }
  // The line without its break; empty past the last line.
  std::string_view Line(std::size_t index) const;
  std::string_view Whole() const { return borrowed_ ? *borrowed_ : std::string_view(text_); }
  // Where the lines lie, to be handed to Borrowing for the same text.
  const std::shared_ptr<const Spans>& Positions() const { return spans_; }

 private:
  TextLines(std::string_view borrowed, std::shared_ptr<const Spans> spans);
  static std::shared_ptr<const Spans> Split(std::string_view text, Breaks breaks);

  Text text_;
  std::optional<std::string_view> borrowed_;
  std::shared_ptr<const Spans> spans_;
};

// The lines of a text stored one per line break, as a file of lines is: a
// final break ends the last line rather than starting an empty one, and an
// empty text holds no line at all.
std::vector<Text> StoredLines(std::string_view text, Breaks breaks = Breaks::CrLf);

// The text before the first line break of any kind, or all of it.
std::string_view FirstLine(std::string_view text);

// The text with each of its line breaks written as CR LF.
Text WithCrLf(std::string_view text);

template <typename Line>
void SplitLines(std::string_view text, Breaks breaks, Line&& line) {
  const char* const data = text.data();
  const std::size_t size = text.size();
  const bool any = breaks == Breaks::Any;
  std::size_t start = 0;
  // Where the next line starts if `at` holds a break; npos when it holds
  // none (a lone CR or LF where only CR LF breaks).
  const auto breakAt = [&](std::size_t at) {
    const bool crLf = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n';
    if (!crLf && !any) return std::string_view::npos;
    line(start, at - start);
    start = at + (crLf ? 2 : 1);
    return start;
  };
  // A byte equal to CR (or LF) shows as a zero byte of the difference, and
  // the lowest one is the next candidate.
  std::size_t i = 0;
  while (i + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    std::uint64_t candidates = ZeroBytes(word ^ Repeated('\r'));
    if (any) candidates |= ZeroBytes(word ^ Repeated('\n'));
    if (candidates == 0) {
      i += 8;
      continue;
    }
    const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(candidates) / 8);
    const std::size_t next = breakAt(at);
    i = next == std::string_view::npos ? at + 1 : next;
  }
  while (i < size) {
    const std::size_t next = (data[i] == '\r' || (any && data[i] == '\n')) ? breakAt(i) : std::string_view::npos;
    i = next == std::string_view::npos ? i + 1 : next;
  }
  line(start, size - start);
}

}  // namespace pravel
