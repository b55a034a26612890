#include "html/PageTemplate.h"

namespace pravel {

TemplateLines::TemplateLines(Text text) : text_(std::move(text)) {
  std::size_t start = 0;
  for (std::size_t hit = text_.find(CRLF); hit != Text::npos; hit = text_.find(CRLF, start)) {
    spans_.emplace_back(start, hit - start);
    start = hit + CRLF.size();
  }
  spans_.emplace_back(start, text_.size() - start);
}

std::string_view TemplateLines::Line(std::size_t index) const {
  if (index >= spans_.size()) return {};
  return std::string_view(text_).substr(spans_[index].first, spans_[index].second);
}

std::size_t TemplateLines::FindMarkerLine(std::string_view marker, std::size_t from) const {
  for (std::size_t i = from; i < Count(); ++i) {
    if (Holds(Line(i), marker)) return i;
  }
  return Count();
}

std::vector<std::string_view> TemplateLines::Region(std::string_view startMarker, std::string_view endMarker) const {
  std::vector<std::string_view> region;
  for (std::size_t i = FindMarkerLine(startMarker) + 1; i < Count(); ++i) {
    const std::string_view line = Line(i);
    if (Holds(line, endMarker)) break;
    region.push_back(line);
  }
  return region;
}

std::string_view TemplateLines::EntryLine() const { return Line(FindMarkerLine(kEntryMarker) + 1); }

PageParts ReadPageParts(std::string_view templateText) {
  const TemplateLines lines{Text(templateText)};
  PageParts parts;
  for (std::string_view line : lines.Region(kHeaderStartMarker, kHeaderEndMarker)) parts.header.emplace_back(line);
  for (std::string_view line : lines.Region(kFormStartMarker, kFormEndMarker)) parts.form.emplace_back(line);
  parts.entry = Text(lines.EntryLine());
  return parts;
}

Text FillPlaceholder(std::string_view line, std::string_view placeholder, std::string_view value) {
  return TextReplace(line, placeholder, value);
}

Text FillEntry(std::string_view entryLine, std::string_view linkName, std::string_view linkAddress) {
  // The line with its names filled is only a step on the way to the line
  // with its addresses filled too; one buffer serves every link of a walk.
  thread_local Text named;
  named.clear();
  std::size_t at = 0;
  for (std::size_t hit = entryLine.find(kLinkNamePlaceholder); hit != std::string_view::npos;
       hit = entryLine.find(kLinkNamePlaceholder, at)) {
    named.append(entryLine.substr(at, hit - at)).append(linkName);
    at = hit + kLinkNamePlaceholder.size();
  }
  named.append(entryLine.substr(at));
  return FillPlaceholder(named, kLinkAddressPlaceholder, linkAddress);
}

}  // namespace pravel
