// Normalisation: every link becomes one record carrying its menu; the
// records are sorted and regrouped into a definition in which every menu
// stands once, followed by all its links.
#pragma once

#include <string_view>
#include <vector>

#include "text/Lines.h"
#include "text/Text.h"
#include "text/Trace.h"

namespace pravel {

// One link of the definition: its menu, link and address statements as
// written, viewed in the lines of the definition. The record the user sees
// in the records file is the three joined; they are kept apart so that a
// million records are neither copied nor allocated one by one.
struct Record {
  std::string_view menu;
  std::string_view link;
  std::string_view address;
};

// Lines that could not be turned into records, so the user can be told
// once per build, with the first of each kind to look at.
struct LeftOut {
  std::size_t orphanAddresses = 0;  // no menu or no link statement before them
  std::size_t firstOrphanLine = 0;  // 1-based, as an editor counts
  Text firstOrphan;
  std::size_t unclosed = 0;  // keyword without a ">" after it
  std::size_t firstUnclosedLine = 0;
  Text firstUnclosed;
  std::size_t unusedMenus = 0;  // menu names with no complete link pair under them
  std::size_t firstUnusedMenuLine = 0;
  Text firstUnusedMenu;
  std::size_t unusedLinks = 0;  // link names that end up in no record
  std::size_t firstUnusedLinkLine = 0;
  Text firstUnusedLink;

  std::size_t Lines() const { return orphanAddresses + unclosed + unusedMenus + unusedLinks; }
  bool Any() const { return Lines() > 0; }
};

// The records of a definition in sorted order: by menu statement, then link
// statement, then address statement, ASCII letters without case and the
// closing ">" below every other byte; records that compare equal keep the
// order of their lines. They view the lines they were collected from.
class Records {
 public:
  std::size_t Count() const { return order_.size(); }
  const Record& operator[](std::size_t k) const { return collected_[order_[k]]; }
  const LeftOut& leftOut() const { return leftOut_; }

 private:
  friend Records CollectRecords(const TextLines& lines, std::size_t expected);
  std::vector<Record> collected_;  // in the order of their lines
  std::vector<std::size_t> order_;
  LeftOut leftOut_;
};

// One record for every usable link-address line; `expected` (the count of
// address lines) makes room for them at once.
Records CollectRecords(const TextLines& lines, std::size_t expected);

// The regrouped definition: for each menu group a one-space line, the menu
// statement and a one-space line (CollectMenuName), then each link pair
// followed by a one-space line. A group ends where the menu statement
// changes, letter case included.
Text RegroupRecords(const Records& records, TraceLog& trace);

// What was left out, as the user is told it.
Text LeftOutText(const LeftOut& left);

// Whether a file holds a definition as the rewrite writes it: laid out in
// menu groups, every line ended by CR LF, its records in sorted order. A
// rewrite of such a file loses nothing of it: it is what Pravel wrote.
bool FileIsRegroupedDefinition(const Text& name);

}  // namespace pravel
