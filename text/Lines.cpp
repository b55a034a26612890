#include "text/Lines.h"

#include <cstring>

#include "text/WordScan.h"

namespace pravel {

TextLines::TextLines(Text text, Breaks breaks) : text_(std::move(text)), spans_(Split(text_, breaks)) {}

TextLines::TextLines(std::string_view borrowed, std::shared_ptr<const Spans> spans)
    : borrowed_(borrowed), spans_(std::move(spans)) {}

TextLines TextLines::Borrowing(std::string_view text, Breaks breaks) { return TextLines(text, Split(text, breaks)); }

TextLines TextLines::Borrowing(std::string_view text, std::shared_ptr<const Spans> spans) {
  return TextLines(text, std::move(spans));
}

std::shared_ptr<const TextLines::Spans> TextLines::Split(std::string_view text, Breaks breaks) {
  auto found = std::make_shared<Spans>();
  Spans& spans = *found;
  // Room for lines of 32 bytes on average, which definitions do not go
  // below: a list that grows by copying itself would touch twice the
  // memory, and room that is never written costs none.
  spans.reserve(text.size() / 32 + 1);
  const char* const data = text.data();
  const std::size_t size = text.size();
  const bool any = breaks == Breaks::Any;
  // Where the line that starts at `start` ends if `at` holds a break, and
  // where the next line starts; npos when `at` holds no break.
  std::size_t start = 0;
  const auto breakAt = [&](std::size_t at) {
    const bool crLf = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n';
    if (!crLf && !any) return std::string_view::npos;
    spans.emplace_back(start, at - start);
    start = at + (crLf ? 2 : 1);
    return start;
  };
  // Eight bytes at a time: a byte equal to CR (or LF) shows as a zero byte
  // of the difference, and the lowest one is the next candidate.
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
  spans.emplace_back(start, size - start);
  return found;
}

std::string_view TextLines::Line(std::size_t index) const {
  if (index >= spans_->size()) return {};
  const auto& [offset, length] = (*spans_)[index];
  return Whole().substr(offset, length);
}

std::vector<Text> StoredLines(std::string_view text) {
  const TextLines lines = TextLines::Borrowing(text, Breaks::CrLf);
  std::size_t count = lines.Count();
  if (lines.Line(count - 1).empty()) --count;
  std::vector<Text> stored;
  stored.reserve(count);
  for (std::size_t i = 0; i < count; ++i) stored.emplace_back(lines.Line(i));
  return stored;
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find(CRLF)); }

}  // namespace pravel
