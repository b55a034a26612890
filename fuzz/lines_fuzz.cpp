// Lines: the CR LF lines of list loading (ListAddLines), the lines of the
// input pane (TextLines, which also break at a lone CR or LF), the lines of
// the page template and the pieces cut from it, the sorted record list and
// the menu lines of a draft page.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "html/PageTemplate.h"
#include "html/SaveShow.h"
#include "text/Pane.h"
#include "text/StringList.h"

namespace {

using namespace pravel;

// The items joined with CR LF give the text back, with a final CR LF added
// when the text had none; no item holds a CR LF.
void CheckListLines(std::string_view text, const StringList& list) {
  Text expected(text);
  if (!expected.empty() && !expected.ends_with(CRLF)) expected += CRLF;
  FUZZ_CHECK(ListJoin(list) == expected);
  for (const Text& item : list.Items()) FUZZ_CHECK(item.find(CRLF) == Text::npos);
}

// Each line is followed in the text by one break (CR LF, CR or LF), except
// the last, which runs to the end; no line holds a break.
void CheckPaneLines(std::string_view text) {
  const TextLines lines{Text(text)};
  FUZZ_CHECK(lines.Count() >= 1);
  std::size_t at = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    FUZZ_CHECK(text.substr(at, line.size()) == line);
    at += line.size();
    if (i + 1 == lines.Count()) break;
    FUZZ_CHECK(at < text.size());
    at += text.substr(at, 2) == CRLF ? 2 : 1;
  }
  FUZZ_CHECK(at == text.size());
  FUZZ_CHECK(lines.Line(lines.Count()).empty());
}

// Template lines split at CR LF only, and the pieces of a page stop short of
// their end markers.
void CheckTemplate(std::string_view text) {
  const TemplateLines lines{Text(text)};
  FUZZ_CHECK(lines.Count() == static_cast<std::size_t>(TextTally(text, CRLF)) + 1);
  Text joined;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    if (i > 0) joined += CRLF;
    joined += lines.Line(i);
  }
  FUZZ_CHECK(joined == text);

  const PageParts parts = ReadPageParts(text);
  for (const Text& line : parts.header) FUZZ_CHECK(!Holds(line, kHeaderEndMarker));
  for (const Text& line : parts.form) FUZZ_CHECK(!Holds(line, kFormEndMarker));
}

// A sorted list holds the same items in ascending case-insensitive order.
void CheckSorted(const std::vector<Text>& items) {
  StringList sorted(true);
  for (const Text& item : items) ListAdd(sorted, item);
  const std::vector<Text>& order = sorted.Items();
  FUZZ_CHECK(order.size() == items.size());
  for (std::size_t i = 1; i < order.size(); ++i) FUZZ_CHECK(TextCompareSorted(order[i - 1], order[i]) <= 0);
  std::vector<Text> a = items;
  std::vector<Text> b = order;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  FUZZ_CHECK(a == b);
}

// The menu lines lie after the first "<div style=" line and before the
// first "</div>" line from it on.
void CheckMenuLines(const std::vector<Text>& draft) {
  const std::optional<LineRange> range = MenuLineRange(draft);
  if (!range) return;
  FUZZ_CHECK(range->begin >= 1 && range->begin <= range->end && range->end <= draft.size());
  FUZZ_CHECK(Holds(draft[range->begin - 1], kMenusStartKey));
  for (std::size_t i = 0; i + 1 < range->begin; ++i) FUZZ_CHECK(!Holds(draft[i], kMenusStartKey));
  for (std::size_t i = range->begin; i < range->end; ++i) FUZZ_CHECK(!Holds(draft[i], kMenusEndKey));
  FUZZ_CHECK(Holds(draft[range->begin - 1], kMenusEndKey) ||
             (range->end < draft.size() && Holds(draft[range->end], kMenusEndKey)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  StringList list;
  ListAddLines(list, text);
  CheckListLines(text, list);
  CheckPaneLines(text);
  CheckTemplate(text);
  CheckSorted(list.Items());
  CheckMenuLines(list.Items());
  return 0;
}
