#include "definition/Validation.h"

#include "definition/Definition.h"

namespace pravel {

StatementCounts CountStatements(const TextLines& lines) {
  StatementCounts counts;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const LineKeywords keys = FindKeywords(lines.Line(i));
    counts.menuNames += keys.Holds(LineKeywords::MenuName);
    counts.linkNames += keys.Holds(LineKeywords::LinkName);
    counts.linkAddresses += keys.Holds(LineKeywords::LinkAddress);
    // The last empty statement found decides; one line can hold several,
    // and they count in the order menu, link, address.
    for (int kind = 0; kind < 3; ++kind) {
      if (keys.empty[kind]) counts.emptyInput = kind + 1;
    }
  }
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

Text ValidationWarnings(const TextLines& lines) {
  // A short list: the first few, and how many more.
  constexpr std::size_t kShown = 10;
  Text list;
  std::size_t found = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    const std::size_t pair = line.find("=<");
    if (pair == std::string_view::npos) continue;
    const LineKeywords keys = FindKeywords(line);
    Text why;
    if (!keys.Holds(LineKeywords::MenuName) && !keys.Holds(LineKeywords::LinkName) &&
        !keys.Holds(LineKeywords::LinkAddress)) {
      why = " holds \"=<\" but no menuname=<, linkname=< or linkaddress=<, so it is a remark.";
    } else {
      const std::size_t close = line.find('>', line.find('<'));
      const std::string_view rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
      if (rest.find('>') != std::string_view::npos && rest.find("=<") == std::string_view::npos) {
        why = ": the value ends at the first \">\", so it is \"" + Text(StatementValue(line)) + "\".";
      }
    }
    if (why.empty() || ++found > kShown) continue;
    list += CRLF;
    list += "Line " + NumberToText(static_cast<std::int64_t>(i + 1)) + ", " + QuotedLine(line) + why;
  }
  if (found == 0) return {};
  Text text = "These lines may not say what was meant (the build goes on all the same):" + list;
  if (found > kShown) {
    text += CRLF;
    text += "... and " + NumberToText(static_cast<std::int64_t>(found - kShown)) + " more.";
  }
  return text;
}

}  // namespace pravel
