#include "definition/Normalise.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "definition/Definition.h"
#include "text/Charset.h"
#include "text/SortOrder.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

constexpr std::string_view kOneSpaceLine = " \r\n";
// Enough of a line for a message to quote it (QuotedLine cuts it there).
constexpr std::size_t kQuotedLineLength = 80;

// The statement that starts at the keyword found at `at` in the line: up to
// and including the first ">" after the keyword, as written. Empty when no
// ">" follows the keyword: such a line states nothing usable.
std::string_view CutStatement(std::string_view line, std::size_t at, std::size_t keyLength) {
  const std::size_t close = line.find('>', at + keyLength);
  if (close == std::string_view::npos) return {};
  return line.substr(at, close - at + 1);
}

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

// A menu or link statement line as the pass holds it: counted as left out
// when another takes its place, or the pass ends, before a record used it.
struct HeldLine {
  std::size_t line = 0;  // 0-based
  bool used = true;      // nothing held yet: nothing to count

  void Take(std::size_t i) {
    line = i;
    used = false;
  }
  void Drop(const TextLines& lines, std::size_t& count, std::size_t& firstLine, Text& first) {
    if (!used && count++ == 0) {
      firstLine = line + 1;
      first = Text(lines.Line(line).substr(0, kQuotedLineLength + 1));
    }
    used = true;
  }
};

// Adds one record (menu, link and address statement) for every usable
// link-address line, in the order of the lines.
LeftOut CollectInto(const TextLines& lines, std::vector<Record>& records) {
  LeftOut left;
  // The current statements point into the lines, which outlive the pass.
  std::string_view menu;
  std::string_view link;
  HeldLine menuLine, linkLine;
  const auto dropMenu = [&] { menuLine.Drop(lines, left.unusedMenus, left.firstUnusedMenuLine, left.firstUnusedMenu); };
  const auto dropLink = [&] { linkLine.Drop(lines, left.unusedLinks, left.firstUnusedLinkLine, left.firstUnusedLink); };
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    // A menu name decides a line that holds several keywords, then a link
    // name, then an address.
    const LineKeywords keys = FindKeywords(line);
    int kind = LineKeywords::MenuName;
    while (kind <= LineKeywords::LinkAddress && !keys.Holds(LineKeywords::Kind(kind))) ++kind;
    if (kind > LineKeywords::LinkAddress) continue;

    const std::string_view statement = CutStatement(line, keys.at[kind], kKeywords[kind].size());
    if (statement.empty()) {
      // Without its ">" the statement has no end, and what follows it on
      // the line would be written back as part of it. It is not taken, and
      // the menu or link it would have replaced no longer holds: the links
      // after it must not land in a menu they were not written under.
      if (left.unclosed++ == 0) {
        left.firstUnclosedLine = i + 1;
        left.firstUnclosed = Text(line.substr(0, kQuotedLineLength + 1));
      }
      if (kind == LineKeywords::MenuName) {
        dropMenu();
        menu = {};
      }
      if (kind == LineKeywords::LinkName) {
        dropLink();
        link = {};
      }
      continue;
    }
    if (kind == LineKeywords::MenuName) {
      dropMenu();
      menu = statement;
      menuLine.Take(i);
    } else if (kind == LineKeywords::LinkName) {
      dropLink();
      link = statement;
      linkLine.Take(i);
    } else if (menu.empty() || link.empty()) {
      // A record without its menu or its label would be written back as a
      // pair that belongs nowhere; the address is left out instead.
      if (left.orphanAddresses++ == 0) {
        left.firstOrphanLine = i + 1;
        left.firstOrphan = Text(line.substr(0, kQuotedLineLength + 1));
      }
    } else {
      records.push_back(Record{menu, link, statement});
      menuLine.used = linkLine.used = true;
    }
  }
  dropMenu();
  dropLink();
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
std::size_t RegroupInto(const Records& records, TraceLog* trace, Text* definition) {
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

}  // namespace

Records CollectRecords(const TextLines& lines, std::size_t expected) {
  Records records;
  records.collected_.reserve(expected);
  records.leftOut_ = CollectInto(lines, records.collected_);
  records.order_ = SortRecords(records.collected_);
  return records;
}

Text RegroupRecords(const Records& records, TraceLog& trace) {
  Text definition;
  definition.reserve(RegroupInto(records, nullptr, nullptr));
  RegroupInto(records, &trace, &definition);
  return definition;
}

namespace {

Text Counted(std::size_t count, std::string_view one, std::string_view many) {
  return NumberToText(static_cast<std::int64_t>(count)) + " " + Text(count == 1 ? one : many);
}

}  // namespace

Text LeftOutText(const LeftOut& left) {
  Text text = "Some lines could not be used and were left out of the rebuilt definition:";
  // One line for each kind of line left out: how many, and the first one.
  const auto kind = [&](std::size_t count, std::string_view one, std::string_view many, std::size_t firstLine,
                        const Text& first) {
    if (count == 0) return;
    text += CRLF;
    text += "  " + Counted(count, one, many) + " (first: line " + NumberToText(static_cast<std::int64_t>(firstLine)) +
            ", " + QuotedLine(first) + ").";
  };
  kind(left.orphanAddresses, "link address line has no menu name or no link name before it",
       "link address lines have no menu name or no link name before them", left.firstOrphanLine, left.firstOrphan);
  kind(left.unclosed, "statement line has no closing \">\" after the keyword",
       "statement lines have no closing \">\" after the keyword", left.firstUnclosedLine, left.firstUnclosed);
  kind(left.unusedMenus, "menu name line has no complete link pair under it",
       "menu name lines have no complete link pair under them", left.firstUnusedMenuLine, left.firstUnusedMenu);
  kind(left.unusedLinks, "link name line is in no complete link pair", "link name lines are in no complete link pair",
       left.firstUnusedLinkLine, left.firstUnusedLink);
  return text;
}

namespace {

// What a line of a rewritten definition is: one space, or one statement
// from the keyword at its start to the ">" at its end.
enum class RegroupedLine { Space, Menu, Link, Address, Other };

RegroupedLine KindOfLine(std::string_view line) {
  if (line == " ") return RegroupedLine::Space;
  const LineKeywords keys = FindKeywords(line);
  for (int kind = 0; kind < 3; ++kind) {
    if (keys.at[kind] != 0) continue;
    if (CutStatement(line, 0, kKeywords[kind].size()).size() != line.size()) break;
    return kind == LineKeywords::MenuName   ? RegroupedLine::Menu
           : kind == LineKeywords::LinkName ? RegroupedLine::Link
                                            : RegroupedLine::Address;
  }
  return RegroupedLine::Other;
}

// Follows a text line by line: is it laid out as the rewrite lays out a
// definition (a one-space line, the menu, a one-space line, then each link
// pair followed by a one-space line) with its records in sorted order?
class RegroupedReader {
 public:
  bool Take(std::string_view line) {
    const RegroupedLine kind = KindOfLine(line);
    switch (state_) {
      case State::GroupStart:
      case State::AfterPairSpace:
        if (kind == RegroupedLine::Space) return Next(State::BeforeMenu);
        return state_ == State::AfterPairSpace && kind == RegroupedLine::Link && Remember(link_, line) &&
               Next(State::AfterLink);
      case State::BeforeMenu:
        return kind == RegroupedLine::Menu && line != menu_ && Remember(menu_, line) && Next(State::AfterMenu);
      case State::AfterMenu:
        return kind == RegroupedLine::Space && Next(State::BeforeLink);
      case State::BeforeLink:
        return kind == RegroupedLine::Link && Remember(link_, line) && Next(State::AfterLink);
      case State::AfterLink:
        return kind == RegroupedLine::Address && InOrder(line) && Next(State::AfterAddress);
      case State::AfterAddress:
        return kind == RegroupedLine::Space && Next(State::AfterPairSpace);
    }
    return false;
  }
  // A whole text ends after a group, or holds none.
  bool Complete() const { return state_ == State::GroupStart || state_ == State::AfterPairSpace; }

 private:
  enum class State { GroupStart, BeforeMenu, AfterMenu, BeforeLink, AfterLink, AfterAddress, AfterPairSpace };

  bool Next(State state) {
    state_ = state;
    return true;
  }
  static bool Remember(Text& kept, std::string_view line) {
    kept.assign(line);
    return true;
  }
  // The record that ends here does not sort before the one before it.
  bool InOrder(std::string_view address) {
    const int menu = TextCompareSorted(menu_, previousMenu_);
    const int link = TextCompareSorted(link_, previousLink_);
    const bool inOrder = !started_ || menu > 0 ||
                         (menu == 0 && (link > 0 || (link == 0 && TextCompareSorted(address, previousAddress_) >= 0)));
    started_ = true;
    previousMenu_ = menu_;
    previousLink_ = link_;
    previousAddress_.assign(address);
    return inOrder;
  }

  State state_ = State::GroupStart;
  Text menu_, link_;
  Text previousMenu_, previousLink_, previousAddress_;
  bool started_ = false;
};

}  // namespace

bool FileIsRegroupedDefinition(const Text& name) {
  // Read a piece at a time: the file may be as large as the definition
  // being built, which is held in memory already.
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::FILE* file = OpenToRead(name);
  if (!file) return false;
  RegroupedReader reader;
  Text pending;
  std::vector<char> piece(kPiece);
  bool regrouped = true;
  bool first = true;
  for (std::size_t got; regrouped && (got = std::fread(piece.data(), 1, piece.size(), file)) > 0; first = false) {
    pending.append(piece.data(), got);
    std::size_t at = 0;
    // The mark of a UTF-8 text is not part of its first line.
    if (first && pending.starts_with(kUtf8ByteOrderMark)) at = kUtf8ByteOrderMark.size();
    for (std::size_t end; regrouped && (end = pending.find(CRLF, at)) != Text::npos; at = end + CRLF.size()) {
      regrouped = reader.Take(std::string_view(pending).substr(at, end - at));
    }
    pending.erase(0, at);
  }
  regrouped = regrouped && !std::ferror(file) && pending.empty() && reader.Complete();
  std::fclose(file);
  return regrouped;
}

}  // namespace pravel
