// Validation: counting the statements of a definition, the report shown
// after every count, and the verdict.
#pragma once

#include <vector>

#include "text/Lines.h"
#include "text/Text.h"

namespace pravel {

struct StatementCounts {
  int menuNames = 0;
  int linkNames = 0;
  int linkAddresses = 0;
  int emptyInput = 0;  // 0, or 1, 2, 3 for the kind of the last empty statement

  // At least one menu name, a link address for each link name, no empty
  // statement.
  bool Passes() const { return linkAddresses == linkNames && emptyInput < 1 && menuNames > 0; }
};

StatementCounts CountStatements(const TextLines& lines);

// The report shown after every validation, byte for byte.
Text ValidationReport(const StatementCounts& counts);

// All that one reading of a definition tells the steps, in one pass over
// its lines.
struct DefinitionScan {
  StatementCounts counts;
  // Lines that may not say what their writer meant, with their numbers, as
  // the user is told them after the report; empty when there are none.
  // They never decide the verdict: lines that hold "=<" but no keyword (a
  // misspelt statement is a remark, and its links fall to the menu above),
  // and statements whose line holds another ">" after the one that ends
  // the value (the value stops at the first ">").
  Text warnings;
  std::vector<Text> menuNames;  // the go-to list (MenuNameEntries)
  // Lines that hold text the rewrite does not keep: remarks, statements
  // misspelt into remarks, text beside a statement.
  std::size_t droppedLines = 0;
};
DefinitionScan ScanDefinition(const TextLines& lines);

}  // namespace pravel
