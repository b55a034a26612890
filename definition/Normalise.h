// Normalisation: every link becomes one record carrying its menu; the
// records are sorted and written back as a regrouped definition.
#pragma once

#include <string_view>

namespace pravel {

class Workflow;

inline constexpr const char* kSortedRecordsName = "Sorted_Pravel.txt";
inline constexpr const char* kValidatedInputName = "ValidatedInput.txt";
// Appended to the input file's name for the copy of its previous content.
inline constexpr std::string_view kBackupSuffix = ".bak";

// Collects and sorts the records of the input pane, writes
// "Sorted_Pravel.txt", then regroups them (TrimMenuName). Returns false,
// with the pane and the input file left as they were and the user told why,
// when the definition holds no complete link pair to build from.
bool StripAndBuild(Workflow& wf);

}  // namespace pravel
