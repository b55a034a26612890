// A bookmark file of any bytes, imported, and the definition it gives
// exported and imported again.
//
// Beyond "no crash, no leak, no hang" the target checks what the user is
// promised of an imported definition: it is UTF-8 with CR LF lines, it
// passes validation, its statements are as many as the summary says, and
// every link reaches the page: the page's bookmark file holds them all, and
// reads back as a bookmark file with the same number of links.
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "bookmarks/BookmarkExport.h"
#include "bookmarks/BookmarkImport.h"
#include "bookmarks/BookmarkReader.h"
#include "definition/Validation.h"
#include "text/Charset.h"
#include "text/Lines.h"

namespace {

using namespace pravel;

// Every line ends in CR LF, and no other CR or LF stands in the text.
bool CrLfLines(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return text.ends_with(CRLF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const BookmarkImport import = ImportBookmarks(bytes);
  ImportSummary(import, "fuzz.html");
  FUZZ_CHECK(import.error.empty() == (import.links > 0));
  if (!import.error.empty()) {
    FUZZ_CHECK(import.definition.empty());
    return 0;
  }
  FUZZ_CHECK(IsBookmarkFile(bytes));
  FUZZ_CHECK(IsUtf8(import.definition));
  FUZZ_CHECK(import.definition.find('\0') == Text::npos);
  FUZZ_CHECK(CrLfLines(import.definition));

  const TextLines lines(import.definition);
  const StatementCounts counts = CountStatements(lines);
  FUZZ_CHECK(counts.Passes());
  FUZZ_CHECK(static_cast<std::size_t>(counts.menuNames) == import.menus);
  FUZZ_CHECK(static_cast<std::size_t>(counts.linkNames) == import.links);
  FUZZ_CHECK(static_cast<std::size_t>(counts.linkAddresses) == import.links);

  const BookmarkExport exported = ExportBookmarks(lines);
  FUZZ_CHECK(exported.links == import.links);
  FUZZ_CHECK(!exported.leftOut.Any());
  const BookmarkImport again = ImportBookmarks(exported.file);
  FUZZ_CHECK(again.error.empty() && again.links == import.links);
  return 0;
}
