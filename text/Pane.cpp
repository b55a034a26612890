#include "text/Pane.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The eight-byte scan below takes the lowest set bit for the first byte.
static_assert(std::endian::native == std::endian::little);

namespace pravel {

TextLines::TextLines(Text text) : text_(std::move(text)), spans_(Split(text_)) {}

TextLines::TextLines(std::string_view borrowed, std::shared_ptr<const Spans> spans)
    : borrowed_(borrowed), spans_(std::move(spans)) {}

TextLines TextLines::Borrowing(std::string_view text) { return TextLines(text, Split(text)); }

TextLines TextLines::Borrowing(std::string_view text, std::shared_ptr<const Spans> spans) {
  return TextLines(text, std::move(spans));
}

namespace {

// High bit set in exactly the bytes of x that are zero.
std::uint64_t ZeroBytes(std::uint64_t x) {
  constexpr std::uint64_t k7F = 0x7F7F7F7F7F7F7F7Full;
  return ~(((x & k7F) + k7F) | x | k7F);
}

}  // namespace

std::shared_ptr<const TextLines::Spans> TextLines::Split(std::string_view text) {
  auto found = std::make_shared<Spans>();
  Spans& spans = *found;
  // Room for lines of 32 bytes on average, which definitions do not go
  // below: a list that grows by copying itself would touch twice the
  // memory, and room that is never written costs none.
  spans.reserve(text.size() / 32 + 1);
  const char* const data = text.data();
  const std::size_t size = text.size();
  constexpr std::uint64_t kLFs = 0x0101010101010101ull * '\n';
  constexpr std::uint64_t kCRs = 0x0101010101010101ull * '\r';
  // The text is looked at eight bytes at a time: a byte equal to CR or LF
  // shows as a zero byte of the difference, and the lowest one is the next
  // line break.
  std::size_t start = 0;
  std::size_t i = 0;
  while (i + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    const std::uint64_t breaks = ZeroBytes(word ^ kLFs) | ZeroBytes(word ^ kCRs);
    if (breaks == 0) {
      i += 8;
      continue;
    }
    std::size_t at = i + static_cast<std::size_t>(std::countr_zero(breaks) / 8);
    spans.emplace_back(start, at - start);
    if (data[at] == '\r' && at + 1 < size && data[at + 1] == '\n') ++at;
    start = i = at + 1;
  }
  for (; i < size; ++i) {
    if (data[i] != '\r' && data[i] != '\n') continue;
    spans.emplace_back(start, i - start);
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    start = i + 1;
  }
  spans.emplace_back(start, size - start);
  return found;
}

std::string_view TextLines::Line(std::size_t index) const {
  if (index >= spans_->size()) return {};
  const auto& [offset, length] = (*spans_)[index];
  return Whole().substr(offset, length);
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

TextLines PaneLines(const Pane& pane) { return pane.PaneReadLines(); }

TextLines MemoryPane::PaneReadLines() const {
  if (!lines_) lines_ = TextLines::Borrowing(text_).Positions();
  return TextLines::Borrowing(text_, lines_);
}

void MemoryPane::PaneSetText(std::string_view text) {
  text_.assign(text);
  lines_.reset();
  selStart_ = selEnd_ = 0;
}

void MemoryPane::PaneTakeText(Text text) {
  text_ = std::move(text);
  lines_.reset();
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
  lines_.reset();
  selStart_ = selEnd_ = selStart_ + static_cast<std::int64_t>(text.size());
}

}  // namespace pravel
