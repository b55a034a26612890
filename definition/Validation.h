// Validation: counting the statements of the definition and the report.
#pragma once

#include "text/Pane.h"
#include "text/Text.h"

namespace pravel {

class Workflow;

struct StatementCounts {
  int menuNames = 0;
  int linkNames = 0;
  int linkAddresses = 0;
  int emptyInput = 0;  // 0, or 1, 2, 3 for the kind of the last empty statement
};

StatementCounts CountStatements(const TextLines& lines);

// The report shown after every validation, byte for byte.
Text ValidationReport(const StatementCounts& counts);

// Counts the input pane, shows the report, sets the counts, emptyInput and
// FileValidated, and refreshes the status line.
void CheckDefinition(Workflow& wf);

}  // namespace pravel
