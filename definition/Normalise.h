// Normalisation: every link becomes one record carrying its menu; the
// records are sorted and written back as a regrouped definition.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/Pane.h"
#include "text/StringList.h"
#include "text/Text.h"

namespace pravel {

class Workflow;
class TraceLog;

inline constexpr const char* kSortedRecordsName = "Sorted_Pravel.txt";
inline constexpr const char* kValidatedInputName = "ValidatedInput.txt";
// Appended to the input file's name for the copy of its previous content.
inline constexpr std::string_view kBackupSuffix = ".bak";

// Collects and sorts the records of the input pane, writes
// "Sorted_Pravel.txt", then regroups them (TrimMenuName). Returns false,
// with the pane and the input file left as they were and the user told why,
// when the definition holds no complete link pair to build from.
bool StripAndBuild(Workflow& wf);

// The statement that starts at the keyword found at `at` in the line: up to
// and including the first ">" after the keyword, as written. Empty when no
// ">" follows the keyword: such a line states nothing usable.
std::string_view CutStatement(std::string_view line, std::size_t at, std::size_t keyLength);

// Lines the collection could not turn into records, so the user can be
// told once per build, with the first of each kind to look at.
struct LeftOut {
  std::size_t orphanAddresses = 0;  // no menu or no link statement before them
  std::size_t firstOrphanLine = 0;  // 1-based, as an editor counts
  Text firstOrphan;
  std::size_t unclosed = 0;  // keyword without a ">" after it
  std::size_t firstUnclosedLine = 0;
  Text firstUnclosed;

  bool Any() const { return orphanAddresses > 0 || unclosed > 0; }
};

// Empties the list, makes it sorted and adds one record (menu, link and
// address statement joined) for every link-address line of the lines.
LeftOut CollectRecords(const TextLines& lines, StringList& records);

// The regrouped definition of the records in list order: each menu once,
// framed by one-space lines, followed by its link pairs.
Text RegroupRecords(const StringList& records, TraceLog& trace);

}  // namespace pravel
