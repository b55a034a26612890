#include "text/Pane.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pravel {

TextLines::TextLines(Text text) : text_(std::move(text)) { Split(); }

TextLines::TextLines(Borrowed, std::string_view text) : borrowed_(text) { Split(); }

TextLines TextLines::Borrowing(std::string_view text) { return TextLines(Borrowed{}, text); }

void TextLines::Split() {
  const std::string_view text = Whole();
  const char* const data = text.data();
  const std::size_t size = text.size();
  // Room for every line of a CR LF or LF text at once; the count is one
  // quick pass, the moves of a growing list of millions of lines are not.
  spans_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  constexpr std::uint64_t kLFs = kOnes * '\n';
  constexpr std::uint64_t kCRs = kOnes * '\r';
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < size) {
    // Eight bytes at a time past those that break no line: a byte equal to
    // CR or LF shows as a zero byte of the difference.
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + i, 8);
      const std::uint64_t lf = word ^ kLFs;
      const std::uint64_t cr = word ^ kCRs;
      if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs) break;
    }
    for (; i < size && data[i] != '\r' && data[i] != '\n'; ++i) {
    }
    if (i == size) break;
    spans_.emplace_back(start, i - start);
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    start = ++i;
  }
  spans_.emplace_back(start, size - start);
}

std::string_view TextLines::Line(std::size_t index) const {
  if (index >= spans_.size()) return {};
  return Whole().substr(spans_[index].first, spans_[index].second);
}

std::int64_t Pane::PaneFind(std::int64_t from, std::string_view what) const {
  const Text text = PaneText();
  if (from < 0) from = 0;
  if (static_cast<std::uint64_t>(from) > text.size()) return -1;
  const Text key = TextLower(what);
  if (key.empty()) return -1;
  const std::size_t at = FindLower(text, key, static_cast<std::size_t>(from));
  return at == std::string_view::npos ? -1 : static_cast<std::int64_t>(at);
}

std::size_t PaneLineCount(const Pane& pane) { return PaneLines(pane).Count(); }

Text PaneLine(const Pane& pane, std::size_t index) { return Text(PaneLines(pane).Line(index)); }

TextLines PaneLines(const Pane& pane) {
  if (const Text* stored = pane.PaneStoredText()) return TextLines::Borrowing(*stored);
  return TextLines(pane.PaneText());
}

void MemoryPane::PaneSetText(std::string_view text) {
  text_.assign(text);
  selStart_ = selEnd_ = 0;
}

void MemoryPane::PaneTakeText(Text text) {
  text_ = std::move(text);
  selStart_ = selEnd_ = 0;
}

void MemoryPane::PaneSelect(std::int64_t from, std::int64_t to) {
  const auto size = static_cast<std::int64_t>(text_.size());
  if (to < 0 || to > size) to = size;
  selStart_ = std::clamp<std::int64_t>(from, 0, size);
  selEnd_ = std::max(selStart_, to);
}

void MemoryPane::PaneReplaceSelection(std::string_view text) {
  text_.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_), text);
  selStart_ = selEnd_ = selStart_ + static_cast<std::int64_t>(text.size());
}

}  // namespace pravel
