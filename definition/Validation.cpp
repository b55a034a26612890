#include "definition/Validation.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "definition/Definition.h"
#include "definition/MenuNames.h"
#include "text/Charset.h"

namespace pravel {

namespace {

void Count(const LineKeywords& keys, StatementCounts& counts) {
  counts.menuNames += keys.Holds(LineKeywords::MenuName);
  counts.linkNames += keys.Holds(LineKeywords::LinkName);
  counts.linkAddresses += keys.Holds(LineKeywords::LinkAddress);
  // The last empty statement found decides; one line can hold several,
  // and they count in the order menu, link, address.
  for (int kind = 0; kind < 3; ++kind) {
    if (keys.empty[kind]) counts.emptyInput = kind + 1;
  }
}

}  // namespace

StatementCounts CountStatements(const TextLines& lines) {
  StatementCounts counts;
  for (std::size_t i = 0; i < lines.Count(); ++i) Count(FindKeywords(lines.Line(i)), counts);
  return counts;
}

Text ValidationReport(const StatementCounts& counts) {
  Text report;
  report += "Validation Results: ";
  report += CRLF;
  report += "    Input must contain at least 1 MenuName.";
  report += CRLF;
  report += "SO FAR: there are " + NumberToText(counts.menuNames) + " MenuNames coded.";
  report += CRLF;
  report += "    Input must contain 1 LinkAddress for each LinkName, ";
  report += CRLF;
  report += "    ie., a one for one corespondence.";
  report += CRLF;
  report += "SO FAR: there are " + NumberToText(counts.linkAddresses) + "  LinkAddresses coded and " +
            NumberToText(counts.linkNames) + " LinkNames coded.";
  report += CRLF;
  report += CRLF;
  if (counts.emptyInput > 0) {
    report += "Input_file contains 'empty_Input_parms', such as ' linkname=<>, Please FIX  Input_File.'";
  }
  return report;
}

namespace {

// Why the line may not say what was meant; empty when it says it.
Text WarningOf(std::string_view line, const LineKeywords& keys) {
  if (line.find("=<") == std::string_view::npos) return {};
  if (!keys.Holds(LineKeywords::MenuName) && !keys.Holds(LineKeywords::LinkName) &&
      !keys.Holds(LineKeywords::LinkAddress)) {
    return " holds \"=<\" but no menuname=<, linkname=< or linkaddress=<, so it is a remark.";
  }
  // Something pasted or typed into the brackets cut the statement from
  // its ">": the build can take nothing of it.
  for (int kind = 0; kind < 3; ++kind) {
    if (keys.Holds(LineKeywords::Kind(kind)) &&
        line.find('>', keys.at[kind] + kKeywords[kind].size()) == std::string_view::npos) {
      return ": " + Text(kKeywords[kind]) + " has no closing \">\", so the build leaves the line out.";
    }
  }
  const std::size_t close = line.find('>', line.find('<'));
  const std::string_view rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
  if (rest.find('>') == std::string_view::npos || rest.find("=<") != std::string_view::npos) return {};
  return ": the value ends at the first \">\", so it is \"" + Text(StatementValue(line)) + "\".";
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// Whether the line is one statement from its first byte to its last, as
// nearly every line is: it holds nothing to warn of and nothing a rewrite
// leaves out.
bool IsOneStatement(std::string_view line, const LineKeywords& keys) {
  return (keys.at[0] == 0 || keys.at[1] == 0 || keys.at[2] == 0) && line.find('>') + 1 == line.size();
}

// Whether the line holds text besides its statements: before the first,
// between them or after the last, blanks aside.
bool HoldsMoreThanStatements(std::string_view line) {
  for (std::size_t at = 0;;) {
    std::size_t next = std::string_view::npos;
    for (const std::string_view key : kKeywords) next = std::min(next, FindLower(line, key, at));
    if (next == std::string_view::npos) return !IsBlank(line.substr(at));
    if (!IsBlank(line.substr(at, next - at))) return true;
    const std::size_t close = line.find('>', next);
    if (close == std::string_view::npos) return false;  // left out, and reported as unclosed
    at = close + 1;
  }
}

}  // namespace

DefinitionScan ScanDefinition(const TextLines& lines) {
  // A short list of warnings: the first few, and how many more.
  constexpr std::size_t kShown = 10;
  DefinitionScan scan;
  scan.menuNames.emplace_back(kMenuNamePrompt);
  std::unordered_set<std::string_view> listed;
  Text warnings, empties;
  std::size_t found = 0, empty = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    std::string_view line = lines.Line(i);
    // The mark of a UTF-8 text is no text of its first line: the rewrite
    // keeps it at the very start, before a line it would otherwise take
    // for a remark.
    if (i == 0 && line.starts_with(kUtf8ByteOrderMark)) line.remove_prefix(kUtf8ByteOrderMark.size());
    const LineKeywords keys = FindKeywords(line);
    Count(keys, scan.counts);
    // The report names one kind of empty statement for them all; each is
    // named here with its line, as the user has to find it.
    for (int kind = 0; kind < 3; ++kind) {
      if (!keys.empty[kind]) continue;
      if (++empty <= kShown) {
        empties += CRLF;
        empties += "Line " + NumberToText(static_cast<std::int64_t>(i + 1)) + ", " + QuotedLine(line) + ": " +
                   Text(kKeywords[kind]) + "> is empty.";
      }
      break;
    }
    if (keys.Holds(LineKeywords::MenuName)) {
      if (const std::optional<std::string_view> name = MenuNameEntryOf(line); name && listed.insert(*name).second) {
        scan.menuNames.emplace_back(*name);
      }
    }
    if (IsOneStatement(line, keys)) continue;
    if (HoldsMoreThanStatements(line)) ++scan.droppedLines;
    const Text why = WarningOf(line, keys);
    if (why.empty() || ++found > kShown) continue;
    warnings += CRLF;
    warnings += "Line " + NumberToText(static_cast<std::int64_t>(i + 1)) + ", " + QuotedLine(line) + why;
  }
  const auto more = [](std::size_t count) {
    return count > kShown ? Text(CRLF) + "... and " + NumberToText(static_cast<std::int64_t>(count - kShown)) + " more."
                          : Text();
  };
  if (empty > 0) {
    scan.warnings =
        "These statements are empty: fill them in or remove them, then validate again." + empties + more(empty);
  }
  if (found > 0) {
    if (!scan.warnings.empty()) scan.warnings += Text(CRLF) + Text(CRLF);
    scan.warnings +=
        "These lines may not say what was meant (the build goes on all the same):" + warnings + more(found);
  }
  return scan;
}

}  // namespace pravel
