// The page template "Pravel.ini": its lines, the HTML-comment markers that
// cut it into pieces, and the three placeholders filled from the definition.
#pragma once

#include <string_view>
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

// The pieces a build takes from the template. They are cut out once per
// build: the template cannot change while the build runs, and searching it
// afresh for every menu and every link would cost a template scan per link.
struct PageParts {
  std::vector<Text> header;  // copied unchanged, once per page
  std::vector<Text> form;    // one copy per menu, "xxx" filled
  Text entry;                // one copy per link, "zzz" and "yyy" filled
};

// The pieces of the template's lines (ended by CR LF, or LF alone as
// editors outside Windows write them): a region is the lines after
// the first line holding its start marker (markers are found without case,
// anywhere in a line) up to the next line holding its end marker, or to the
// end of the template; nothing when the start marker is missing. The entry
// is the line after the first entry-marker line, empty when there is none.
PageParts ReadPageParts(std::string_view templateText);

// Whether the header piece declares its page UTF-8: "charset=utf-8" or
// "charset=\"utf-8\"" (also "utf8"), in any letter case.
bool DeclaresUtf8(const std::vector<Text>& header);

// Every occurrence of the placeholder, left to right, without overlaps; the
// inserted value is not searched again. The value goes in as given: the
// walk makes a definition's values safe for the page first.
Text FillPlaceholder(std::string_view line, std::string_view placeholder, std::string_view value);

// The entry line with every "zzz" filled, then every "yyy" of the result: a
// "yyy" inside the link name becomes the address too.
Text FillEntry(std::string_view entryLine, std::string_view linkName, std::string_view linkAddress);

}  // namespace pravel
