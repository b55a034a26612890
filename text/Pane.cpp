#include "text/Pane.h"

#include <algorithm>

namespace pravel {

TextLines::TextLines(Text text) : text_(std::move(text)) {
  std::size_t start = 0;
  const std::size_t size = text_.size();
  for (std::size_t i = 0; i < size; ++i) {
    const char c = text_[i];
    if (c != '\r' && c != '\n') continue;
    spans_.emplace_back(start, i - start);
    if (c == '\r' && i + 1 < size && text_[i + 1] == '\n') ++i;
    start = i + 1;
  }
  spans_.emplace_back(start, size - start);
}

std::string_view TextLines::Line(std::size_t index) const {
  if (index >= spans_.size()) return {};
  return std::string_view(text_).substr(spans_[index].first, spans_[index].second);
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

TextLines PaneLines(const Pane& pane) { return TextLines(pane.PaneText()); }

void MemoryPane::PaneSetText(std::string_view text) {
  text_.assign(text);
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
