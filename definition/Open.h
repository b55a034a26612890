// Open Input: loading a definition file into the input pane, and the go-to
// list of the menu names it holds.
#pragma once

#include <vector>

#include "text/Pane.h"
#include "text/Text.h"

namespace pravel {

class Workflow;

inline constexpr const char* kMenuNamePrompt = "~ GoTo MenuName";

// The OpenInput command.
void DoOpen(Workflow& wf);

// Refills the go-to list from the input pane and sets MenuNameCnt.
void FillMenuNameList(Workflow& wf);

// The entries of the go-to list for these lines: the prompt first, then each
// "<name>" of a menu-name line, in case-insensitive order, duplicates kept.
std::vector<Text> MenuNameEntries(const TextLines& lines);

}  // namespace pravel
