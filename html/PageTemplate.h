// The page template "Pravel.ini": its lines, the HTML-comment markers that
// cut it into pieces, and the three placeholders filled from the definition.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "text/Text.h"

namespace pravel {

// Markers, matched in the lower-cased template line, anywhere in it.
inline constexpr std::string_view kHeaderStartMarker = "<!--qx html hdr-->";
inline constexpr std::string_view kHeaderEndMarker = "<!--/qx html hdr-->";
inline constexpr std::string_view kFormStartMarker = "<!--qx form template1-->";
inline constexpr std::string_view kFormEndMarker = "<!--/qx form template1-->";
inline constexpr std::string_view kEntryMarker = "<!--qx single form entry-->";

// Placeholders, matched with exact case: "XXX" is the user's own text.
inline constexpr std::string_view kMenuNamePlaceholder = "xxx";
inline constexpr std::string_view kLinkNamePlaceholder = "zzz";
inline constexpr std::string_view kLinkAddressPlaceholder = "yyy";

// The lines of a template text. Only CR LF ends a line: templates are files
// the program has always read that way, so a file with LF-only line ends is
// a single line here. An empty text is one empty line, a text ending in CR LF
// has an empty last line, and a line past the last reads as empty. Lines are
// kept whole, however long.
class TemplateLines {
 public:
  explicit TemplateLines(Text text);

  std::size_t Count() const { return spans_.size(); }
  std::string_view Line(std::size_t index) const;

  // The first line at or after `from` that contains the marker (given in
  // lower case) compared without case; Count() when there is none.
  std::size_t FindMarkerLine(std::string_view marker, std::size_t from = 0) const;

  // The lines after the first start-marker line, up to but not including the
  // next line that holds the end marker (or to the end of the template).
  // Nothing when the start marker is missing.
  std::vector<std::string_view> Region(std::string_view startMarker, std::string_view endMarker) const;

  // The line right after the first entry-marker line; empty when the marker
  // is missing or on the last line.
  std::string_view EntryLine() const;

 private:
  Text text_;
  std::vector<std::pair<std::size_t, std::size_t>> spans_;  // offset, length
};

// The pieces a build takes from the template. They are cut out once per
// build: the template cannot change while the build runs, and searching it
// afresh for every menu and every link would cost a template scan per link.
struct PageParts {
  std::vector<Text> header;  // copied unchanged, once per page
  std::vector<Text> form;    // one copy per menu, "xxx" filled
  Text entry;                // one copy per link, "zzz" and "yyy" filled
};

PageParts ReadPageParts(std::string_view templateText);

// Every occurrence of the placeholder, left to right, without overlaps; the
// inserted value is not searched again. Nothing is escaped: the template and
// the definition are the user's HTML.
Text FillPlaceholder(std::string_view line, std::string_view placeholder, std::string_view value);

// The entry line with every "zzz" filled, then every "yyy" of the result: a
// "yyy" inside the link name becomes the address too.
Text FillEntry(std::string_view entryLine, std::string_view linkName, std::string_view linkAddress);

}  // namespace pravel
