#include "definition/Validation.h"

#include "app/Workflow.h"
#include "definition/Definition.h"

namespace pravel {

StatementCounts CountStatements(const TextLines& lines) {
  StatementCounts counts;
  Text lower;  // one buffer for every line: no allocation per line
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    // Cheap rejection first: every test below needs both brackets' "=<".
    if (line.find("=<") == std::string_view::npos) continue;
    lower.assign(line);
    for (char& c : lower) c = LowerByte(c);
    // An empty statement holds its keyword, so it is only looked for where
    // the keyword is.
    if (lower.find(kMenuNameKey) != Text::npos) {
      ++counts.menuNames;
      // The last empty statement found decides; one line can hold several.
      if (lower.find("menuname=<>") != Text::npos) counts.emptyInput = 1;
    }
    if (lower.find(kLinkNameKey) != Text::npos) {
      ++counts.linkNames;
      if (lower.find("linkname=<>") != Text::npos) counts.emptyInput = 2;
    }
    if (lower.find(kLinkAddressKey) != Text::npos) {
      ++counts.linkAddresses;
      if (lower.find("linkaddress=<>") != Text::npos) counts.emptyInput = 3;
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

void CheckDefinition(Workflow& wf) {
  wf.HtmlHdrDoneCount = 0;
  wf.LineIndex = 0;
  const TextLines lines = PaneLines(wf.host.InputPane());
  const StatementCounts counts = CountStatements(lines);
  wf.LineIndex = static_cast<std::int64_t>(lines.Count());
  wf.MenuNameCnt = counts.menuNames;
  wf.LinkNameCnt = counts.linkNames;
  wf.LinkAddressCnt = counts.linkAddresses;
  wf.emptyInput = counts.emptyInput;

  wf.host.ShowMessage(ValidationReport(counts), MessageKind::Report);

  wf.FileValidated = 0;
  if (counts.linkAddresses == counts.linkNames && counts.emptyInput < 1 && counts.menuNames > 0) {
    wf.FileValidated = 1;
  }
  wf.ShowStatus();
}

}  // namespace pravel
