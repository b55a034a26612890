#include "html/PageTemplate.h"

#include "text/Lines.h"

namespace pravel {

namespace {

// The first line that holds the marker; the line count
// when none does.
std::size_t FindMarkerLine(const TextLines& lines, std::string_view marker) {
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    if (Holds(lines.Line(i), marker)) return i;
  }
  return lines.Count();
}

std::vector<Text> Region(const TextLines& lines, std::string_view startMarker, std::string_view endMarker) {
  std::vector<Text> region;
  for (std::size_t i = FindMarkerLine(lines, startMarker) + 1; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    if (Holds(line, endMarker)) break;
    region.emplace_back(line);
  }
  return region;
}

}  // namespace

PageParts ReadPageParts(std::string_view templateText) {
  const TextLines lines = TextLines::Borrowing(templateText, Breaks::Any);
  PageParts parts;
  parts.header = Region(lines, kHeaderStartMarker, kHeaderEndMarker);
  parts.form = Region(lines, kFormStartMarker, kFormEndMarker);
  parts.entry = Text(lines.Line(FindMarkerLine(lines, kEntryMarker) + 1));
  return parts;
}

bool DeclaresUtf8(const std::vector<Text>& header) {
  constexpr std::string_view kCharset = "charset=";
  for (const Text& line : header) {
    for (std::size_t at = FindLower(line, kCharset); at != std::string_view::npos;
         at = FindLower(line, kCharset, at + 1)) {
      std::string_view name = std::string_view(line).substr(at + kCharset.size());
      if (name.starts_with('"') || name.starts_with('\'')) name.remove_prefix(1);
      if (FindLower(name, "utf-8") == 0 || FindLower(name, "utf8") == 0) return true;
    }
  }
  return false;
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
