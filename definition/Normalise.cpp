#include "definition/Normalise.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/Trace.h"
#include "app/Workflow.h"
#include "definition/Definition.h"
#include "text/FileWriter.h"
#include "text/FoldedHead.h"
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

// One link of the definition: its menu, link and address statements as
// written, viewed in the lines of the pane's text. The record the user sees
// in "Sorted_Pravel.txt" is the three joined; they are kept apart so that a
// million records are neither copied nor allocated one by one.
struct Record {
  std::string_view menu;
  std::string_view link;
  std::string_view address;
};

// The records as collected and the order they sort in.
struct SortedRecords {
  const std::vector<Record>& records;
  std::vector<std::size_t> order;

  std::size_t Count() const { return order.size(); }
  const Record& operator[](std::size_t k) const { return records[order[k]]; }
};

// The order of the joined records, without joining them. Every statement
// ends in the only ">" it holds and nothing else folds to ">", so two joined
// records first differ inside the first pair of statements that differ (a
// statement cannot be the beginning of a longer one): comparing statement by
// statement gives exactly the order of the whole texts.
//
// Sorting a million records is made cheap in two ways. The menu statement,
// shared by all the links of a menu line, is replaced by its rank among the
// menus (statements equal but for letter case share one), and the records
// are first dealt out by that rank, in the order of their lines: what is
// left to sort are the links of one menu at a time, a few dozen, which stay
// in the processor's cache. Within a menu the first folded bytes of the
// link's value are kept beside each record (FoldedHead), so that only
// records equal there are compared as texts.
struct LinkKey {
  FoldedHead head;
  std::size_t record;
};

// The positions of the records in sorted order; records that compare equal
// keep the order of their lines, as the sorted list has always kept them.
std::vector<std::size_t> SortRecords(const std::vector<Record>& records) {
  // The records of one menu line follow one another and view the same text.
  std::vector<std::size_t> runStarts;
  std::vector<std::string_view> runMenus;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i == 0 || records[i].menu.data() != records[i - 1].menu.data() ||
        records[i].menu.size() != records[i - 1].menu.size()) {
      runStarts.push_back(i);
      runMenus.push_back(records[i].menu);
    }
  }
  runStarts.push_back(records.size());
  std::size_t ranks = 0;
  const std::vector<std::size_t> runRank = SortRanks(runMenus, kMenuNameKey.size(), ranks);

  // Where each rank's records begin, then the records dealt out to them.
  std::vector<std::size_t> rankStart(ranks + 1, 0);
  for (std::size_t run = 0; run < runMenus.size(); ++run) {
    rankStart[runRank[run] + 1] += runStarts[run + 1] - runStarts[run];
  }
  for (std::size_t rank = 0; rank < ranks; ++rank) rankStart[rank + 1] += rankStart[rank];
  std::vector<LinkKey> keys(records.size());
  std::vector<std::size_t> next(rankStart.begin(), rankStart.end() - 1);
  for (std::size_t run = 0; run < runMenus.size(); ++run) {
    for (std::size_t i = runStarts[run]; i < runStarts[run + 1]; ++i) {
      // Every link statement begins with its keyword, equal but for case:
      // the head is taken after it.
      keys[next[runRank[run]]++] = LinkKey{FoldedHeadOf(records[i].link, kLinkNameKey.size()), i};
    }
  }
  const auto before = [&records](const LinkKey& a, const LinkKey& b) {
    if (a.head != b.head) return a.head < b.head;
    const Record& x = records[a.record];
    const Record& y = records[b.record];
    if (const int c = TextCompareSorted(x.link, y.link)) return c < 0;
    return TextCompareSorted(x.address, y.address) < 0;
  };
  for (std::size_t rank = 0; rank < ranks; ++rank) {
    const auto first = keys.begin() + static_cast<std::ptrdiff_t>(rankStart[rank]);
    const auto last = keys.begin() + static_cast<std::ptrdiff_t>(rankStart[rank + 1]);
    if (last - first > 1) std::stable_sort(first, last, before);
  }

  std::vector<std::size_t> order;
  order.reserve(keys.size());
  for (const LinkKey& key : keys) order.push_back(key.record);
  return order;
}

// Adds one record (menu, link and address statement) for every usable
// link-address line, in the order of the lines.
LeftOut CollectRecords(const TextLines& lines, std::vector<Record>& records) {
  LeftOut left;
  // The current statements point into the lines, which outlive the pass.
  std::string_view menu;
  std::string_view link;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    // A menu name decides a line that holds several keywords, then a link
    // name, then an address.
    const LineKeywords keys = FindKeywords(line);
    std::string_view key = kMenuNameKey;
    std::size_t at = keys.at[LineKeywords::MenuName];
    if (at == std::string_view::npos) {
      key = kLinkNameKey;
      at = keys.at[LineKeywords::LinkName];
    }
    if (at == std::string_view::npos) {
      key = kLinkAddressKey;
      at = keys.at[LineKeywords::LinkAddress];
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
      records.push_back(Record{menu, link, statement});
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

// Appends the regrouped definition of the sorted records, or with no
// definition only counts its length: each menu once, framed by one-space
// lines, followed by its link pairs.
std::size_t RegroupInto(const SortedRecords& records, TraceLog* trace, Text* definition) {
  std::size_t size = 0;
  std::string_view previousMenu;  // no menu statement is empty
  for (std::size_t k = 0; k < records.Count(); ++k) {
    const Record& record = records[k];
    // A group ends where the menu statement changes, letter case included:
    // names that differ only in case are different menus.
    if (record.menu != previousMenu) {
      size += 2 * kOneSpaceLine.size() + record.menu.size() + CRLF.size();
      if (definition) CollectMenuName(*trace, *definition, record.menu);
      previousMenu = record.menu;
    }
    size += record.link.size() + record.address.size() + 2 * CRLF.size() + kOneSpaceLine.size();
    if (definition) {
      AppendLine(*definition, record.link);
      AppendLine(*definition, record.address);
      definition->append(kOneSpaceLine);
    }
  }
  return size;
}

Text RegroupRecords(const SortedRecords& records, TraceLog& trace) {
  Text definition;
  definition.reserve(RegroupInto(records, nullptr, nullptr));
  RegroupInto(records, &trace, &definition);
  return definition;
}

FileResult WriteRecords(const SortedRecords& records) {
  FileWriter file(kSortedRecordsName);
  for (std::size_t k = 0; k < records.Count(); ++k) {
    const Record& record = records[k];
    file.Append(record.menu);
    file.Append(record.link);
    file.AppendLine(record.address);
  }
  return file.Finish();
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
  // Only a file of the same length can hold the same text; a large file of
  // another length is not read just to find that out.
  std::error_code ec;
  const auto size = std::filesystem::file_size(std::filesystem::path(path), ec);
  bool existed = !ec;
  if (existed && size == definition.size()) {
    Text current;
    existed = FileRead(path, current).ok;
    if (existed && current == definition) return;
  }
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
void TrimMenuName(Workflow& wf, const SortedRecords& records, std::string_view paneText, BuildNotes& notes) {
  wf.trace.Trace("TrimMenuName");
  Text definition = RegroupRecords(records, wf.trace);
  wf.LineIndex = static_cast<std::int64_t>(records.Count());

  if (FileResult written = FileWrite(kValidatedInputName, definition); !written) {
    notes.Failed(Text("Could not write ") + kValidatedInputName + ": " + written.reason + ".");
    notes.validatedWritten = false;
  }
  RewriteInputFile(wf, definition, notes);
  ListSetSorted(wf.SortedList, false);
  ListAddLines(wf.SortedList, definition);
  // The pane takes the text built here rather than the file read back: a
  // file that could not be written must not decide what the pane holds. It
  // goes last, as the text is no longer needed here, and the records (which
  // view the pane's old text) are not read again. A pane that already holds
  // the text is left as it is: a window's pane takes a large text slowly.
  if (definition != paneText) wf.host.InputPane().PaneTakeText(std::move(definition));
  wf.host.ShowSortedList(wf.SortedList.Items());
}

}  // namespace

bool StripAndBuild(Workflow& wf) {
  wf.LineIndex = 0;
  wf.trace.Trace("StripAndBuild");
  ListSetSorted(wf.SortedList, true);
  BuildNotes notes;
  const TextLines lines = PaneLines(wf.host.InputPane());
  std::vector<Record> records;
  // Validation has just counted the address lines: no more records can come.
  records.reserve(static_cast<std::size_t>(std::max(wf.LinkAddressCnt, 0)));
  notes.leftOut = CollectRecords(lines, records);
  wf.LineIndex = static_cast<std::int64_t>(lines.Count());

  if (records.empty()) {
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

  const SortedRecords sorted{records, SortRecords(records)};
  if (FileResult written = WriteRecords(sorted); !written) {
    notes.Failed(Text("Could not write ") + kSortedRecordsName + ": " + written.reason + ".");
  }
  TrimMenuName(wf, sorted, lines.Whole(), notes);
  ShowNotes(wf, notes);
  return true;
}

}  // namespace pravel
