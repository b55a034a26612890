#include "text/Pane.h"

#include <algorithm>

namespace pravel {

std::optional<std::pair<std::int64_t, std::int64_t>> Pane::PaneFind(std::int64_t from, std::string_view what) const {
  const Text text = PaneText();
  if (from < 0) from = 0;
  const Text key = TextLower(what);
  if (key.empty() || static_cast<std::uint64_t>(from) > text.size()) return std::nullopt;
  const std::size_t at = FindLower(text, key, static_cast<std::size_t>(from));
  if (at == std::string_view::npos) return std::nullopt;
  return std::pair{static_cast<std::int64_t>(at), static_cast<std::int64_t>(at + key.size())};
}

Pane::LineAt Pane::PaneLineAt(std::int64_t position) const {
  const Text text = PaneText();
  const std::size_t at = static_cast<std::size_t>(std::clamp<std::int64_t>(position, 0, std::ssize(text)));
  const std::size_t lastBreak = text.find_last_of("\r\n", at == 0 ? 0 : at - 1);
  const std::size_t start = at == 0 || lastBreak == Text::npos ? 0 : lastBreak + 1;
  const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
  return {text.substr(start, at - start), text.substr(at, end - at), static_cast<std::int64_t>(end)};
}

TextLines MemoryPane::PaneReadLines() const {
  if (!lines_) lines_ = TextLines::Borrowing(text_).Positions();
  return TextLines::Borrowing(text_, lines_);
}

void MemoryPane::PaneSetText(std::string_view text) {
  text_.assign(text);
  lines_.reset();
  selStart_ = selEnd_ = 0;
  modified_ = true;
  ++changes_;
}

void MemoryPane::PaneTakeText(Text text) {
  text_ = std::move(text);
  lines_.reset();
  selStart_ = selEnd_ = 0;
  modified_ = true;
  ++changes_;
}

void MemoryPane::PaneSelect(std::int64_t from, std::int64_t to) {
  const auto size = static_cast<std::int64_t>(text_.size());
  if (to < 0 || to > size) to = size;
  selStart_ = std::clamp<std::int64_t>(from, 0, size);
  selEnd_ = std::max(selStart_, to);
}

void MemoryPane::PaneReplaceSelection(std::string_view text) {
  text_.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_), text);
  lines_.reset();
  selStart_ = selEnd_ = selStart_ + static_cast<std::int64_t>(text.size());
  modified_ = true;
  ++changes_;
}

}  // namespace pravel
