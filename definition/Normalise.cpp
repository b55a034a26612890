#include "definition/Normalise.h"

#include "app/Trace.h"
#include "app/Workflow.h"
#include "definition/Definition.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

constexpr std::string_view kOneSpaceLine = " \r\n";
// Long enough to recognise a line in a message, short enough for the box.
constexpr std::size_t kQuotedLineLength = 80;

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

// The statement that starts at the keyword found at `at` in the line: up to
// and including the first ">" after the keyword, as written. Empty when no
// ">" follows the keyword: such a line states nothing usable.
std::string_view CutStatement(std::string_view line, std::size_t at, std::size_t keyLength) {
  const std::size_t close = line.find('>', at + keyLength);
  if (close == std::string_view::npos) return {};
  return line.substr(at, close - at + 1);
}

// Empties the list, makes it sorted and adds one record (menu, link and
// address statement joined) for every usable link-address line.
LeftOut CollectRecords(const TextLines& lines, StringList& records) {
  ListSetSorted(records, true);
  LeftOut left;
  // The current statements point into the lines, which outlive the pass.
  std::string_view menu;
  std::string_view link;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    // Every keyword ends in "=<": most lines of a large definition that are
    // not statements are passed over by this one quick search.
    if (line.find("=<") == std::string_view::npos) continue;

    std::string_view key = kMenuNameKey;
    std::size_t at = FindLower(line, key);
    if (at == std::string_view::npos) {
      key = kLinkNameKey;
      at = FindLower(line, key);
    }
    if (at == std::string_view::npos) {
      key = kLinkAddressKey;
      at = FindLower(line, key);
    }
    if (at == std::string_view::npos) continue;

    const std::string_view statement = CutStatement(line, at, key.size());
    if (statement.empty()) {
      // Without its ">" the statement has no end, and what follows it on
      // the line would be written back as part of it. It is not taken, and
      // the menu or link it would have replaced no longer holds: the links
      // after it must not land in a menu they were not written under.
      if (left.unclosed++ == 0) {
        left.firstUnclosedLine = i + 1;
        left.firstUnclosed = Text(line.substr(0, kQuotedLineLength + 1));
      }
      if (key == kMenuNameKey) menu = {};
      if (key == kLinkNameKey) link = {};
      continue;
    }
    if (key == kMenuNameKey) {
      menu = statement;
    } else if (key == kLinkNameKey) {
      link = statement;
    } else if (menu.empty() || link.empty()) {
      // A record without its menu or its label would be written back as a
      // pair that belongs nowhere; the address is left out instead.
      if (left.orphanAddresses++ == 0) {
        left.firstOrphanLine = i + 1;
        left.firstOrphan = Text(line.substr(0, kQuotedLineLength + 1));
      }
    } else {
      Text record;
      record.reserve(menu.size() + link.size() + statement.size());
      record.append(menu).append(link).append(statement);
      ListAdd(records, std::move(record));
    }
  }
  return left;
}

// Starts a new menu group in the normalised definition.
void CollectMenuName(TraceLog& trace, Text& definition, std::string_view menuStatement) {
  trace.Trace("CollectMenuName");
  definition.append(kOneSpaceLine);
  AppendLine(definition, menuStatement);
  definition.append(kOneSpaceLine);
}

// The regrouped definition of the records in list order: each menu once,
// framed by one-space lines, followed by its link pairs.
Text RegroupRecords(const StringList& records, TraceLog& trace) {
  const std::vector<Text>& items = records.Items();
  std::size_t size = 0;
  for (const Text& record : items) size += record.size() + 20;
  Text definition;
  definition.reserve(size);

  // Each statement of a record ends in the only ">" it holds, so the
  // record splits at its first two ">".
  std::string_view previousMenu;  // no menu statement is empty
  for (const Text& item : items) {
    const std::string_view record = item;
    const std::size_t menuEnd = record.find('>');
    const std::size_t linkEnd = record.find('>', menuEnd + 1);
    const std::string_view menu = record.substr(0, menuEnd + 1);
    // A group ends where the menu statement changes, letter case included:
    // names that differ only in case are different menus.
    if (menu != previousMenu) {
      CollectMenuName(trace, definition, menu);
      previousMenu = menu;
    }
    AppendLine(definition, record.substr(menuEnd + 1, linkEnd - menuEnd));
    AppendLine(definition, record.substr(linkEnd + 1));
    definition.append(kOneSpaceLine);
  }
  return definition;
}

Text Quoted(std::string_view line) {
  Text out(1, '"');
  out.append(line.substr(0, kQuotedLineLength));
  if (line.size() > kQuotedLineLength) out.append("...");
  out.push_back('"');
  return out;
}

Text Counted(std::size_t count, std::string_view one, std::string_view many) {
  return NumberToText(static_cast<std::int64_t>(count)) + " " + Text(count == 1 ? one : many);
}

Text LeftOutText(const LeftOut& left) {
  Text text = "Some lines could not be used and were left out of the rebuilt definition:";
  if (left.orphanAddresses > 0) {
    text += CRLF;
    text += "  " +
            Counted(left.orphanAddresses, "link address line has no menu name or no link name before it",
                    "link address lines have no menu name or no link name before them") +
            " (first: line " +
            NumberToText(static_cast<std::int64_t>(left.firstOrphanLine)) + ", " + Quoted(left.firstOrphan) + ").";
  }
  if (left.unclosed > 0) {
    text += CRLF;
    text += "  " + Counted(left.unclosed, "statement line has", "statement lines have") +
            " no closing \">\" after the keyword (first: line " +
            NumberToText(static_cast<std::int64_t>(left.firstUnclosedLine)) + ", " + Quoted(left.firstUnclosed) +
            ").";
  }
  return text;
}

// What a build has to tell the user beyond the normal report: collected as
// the pass runs and shown as one message at its end, so that a definition
// of a million lines never produces a million messages.
struct BuildNotes {
  LeftOut leftOut;
  Text backupName;  // set when the input file's previous content was kept
  bool validatedWritten = true;
  Text failures;

  void Failed(const Text& what) {
    if (!failures.empty()) failures += CRLF;
    failures += what;
  }
};

void ShowNotes(Workflow& wf, const BuildNotes& notes) {
  Text text;
  if (notes.leftOut.Any()) {
    text = LeftOutText(notes.leftOut);
    if (!notes.backupName.empty()) {
      text += CRLF;
      text += "The previous content of the input file is kept in " + notes.backupName + ".";
    }
  }
  if (!notes.failures.empty()) {
    if (!text.empty()) text += Text(CRLF) + Text(CRLF);
    text += notes.failures;
  }
  if (!text.empty()) wf.host.ShowMessage(text, MessageKind::Warning);
}

// The input file takes the normalised definition. Its previous content is
// kept beside it, and the replacement is atomic, so the user's own text can
// never be lost to a build. A file that already holds exactly this text is
// left alone: rewriting it would only replace the backup of the user's
// original with a copy of the normalised text.
void RewriteInputFile(Workflow& wf, const Text& definition, BuildNotes& notes) {
  const Text& path = wf.InputPath;
  if (path.empty()) return;
  Text current;
  const bool existed = FileRead(path, current).ok;
  if (existed && current == definition) return;
  const Text backup = path + Text(kBackupSuffix);
  if (FileResult replaced = FileReplace(path, definition, backup); !replaced) {
    notes.Failed("Could not rewrite the input file " + path + ": " + replaced.reason + "." + Text(CRLF) +
                 "The file keeps its previous content; the rebuilt definition is in the input pane" +
                 (notes.validatedWritten ? " and in " + Text(kValidatedInputName) : Text()) + ".");
    return;
  }
  if (existed) notes.backupName = backup;
}

// Regroups the sorted records into the normalised definition and puts it
// into "ValidatedInput.txt", the pane and the input file; the record list
// then shows the definition line by line.
void TrimMenuName(Workflow& wf, BuildNotes& notes) {
  wf.trace.Trace("TrimMenuName");
  const Text definition = RegroupRecords(wf.SortedList, wf.trace);
  wf.LineIndex = static_cast<std::int64_t>(ListCount(wf.SortedList));

  if (FileResult written = FileWrite(kValidatedInputName, definition); !written) {
    notes.Failed(Text("Could not write ") + kValidatedInputName + ": " + written.reason + ".");
    notes.validatedWritten = false;
  }
  // The pane takes the text built here rather than the file read back: a
  // file that could not be written must not decide what the pane holds.
  wf.host.InputPane().PaneSetText(definition);
  RewriteInputFile(wf, definition, notes);

  ListSetSorted(wf.SortedList, false);
  ListAddLines(wf.SortedList, definition);
  wf.host.ShowSortedList(wf.SortedList.Items());
}

}  // namespace

bool StripAndBuild(Workflow& wf) {
  wf.LineIndex = 0;
  wf.trace.Trace("StripAndBuild");
  BuildNotes notes;
  {
    const TextLines lines = PaneLines(wf.host.InputPane());
    notes.leftOut = CollectRecords(lines, wf.SortedList);
    wf.LineIndex = static_cast<std::int64_t>(lines.Count());
  }

  if (ListCount(wf.SortedList) == 0) {
    // Rewriting now would empty the user's pane and file: nothing is
    // touched, and the build stops here.
    Text text =
        "Nothing to build: the definition holds no complete link pair (a linkname=<...> followed by its "
        "linkaddress=<...>) under a menu name.";
    text += CRLF;
    text += "The input pane and the input file are left as they were.";
    if (notes.leftOut.Any()) text += Text(CRLF) + Text(CRLF) + LeftOutText(notes.leftOut);
    wf.host.ShowMessage(text, MessageKind::Error);
    return false;
  }

  if (FileResult written = FileWrite(kSortedRecordsName, ListJoin(wf.SortedList)); !written) {
    notes.Failed(Text("Could not write ") + kSortedRecordsName + ": " + written.reason + ".");
  }
  TrimMenuName(wf, notes);
  ShowNotes(wf, notes);
  return true;
}

}  // namespace pravel
