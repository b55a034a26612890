#include "text/Lines.h"

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
  // Room for lines of 32 bytes on average, which definitions do not go
  // below: a list that grows by copying itself would touch twice the
  // memory, and room that is never written costs none.
  found->reserve(text.size() / 32 + 1);
  SplitLines(text, breaks, [&found](std::size_t offset, std::size_t length) { found->emplace_back(offset, length); });
  return found;
}

std::string_view TextLines::Line(std::size_t index) const {
  if (index >= spans_->size()) return {};
  const auto& [offset, length] = (*spans_)[index];
  return Whole().substr(offset, length);
}

std::vector<Text> StoredLines(std::string_view text, Breaks breaks) {
  // Counted first: the lines of a large definition are stored once, with
  // no list of their places beside them.
  std::size_t count = 0;
  SplitLines(text, breaks, [&count](std::size_t, std::size_t) { ++count; });
  std::vector<Text> stored;
  stored.reserve(count);
  SplitLines(text, breaks,
             [&](std::size_t offset, std::size_t length) { stored.emplace_back(text.substr(offset, length)); });
  // A final break ends the last line rather than starting an empty one.
  if (stored.back().empty()) stored.pop_back();
  return stored;
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

Text WithCrLf(std::string_view text) {
  Text written;
  written.reserve(text.size() + text.size() / 16);
  SplitLines(text, Breaks::Any, [&](std::size_t offset, std::size_t length) {
    if (offset > 0) written += CRLF;
    written += text.substr(offset, length);
  });
  return written;
}

}  // namespace pravel
