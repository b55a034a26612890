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

}  // namespace pravel
