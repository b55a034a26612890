// String lists: the working storage for records and generated lines.
//
// A list is unsorted (items stay in the order added) or sorted (ascending by
// the lower-cased form of the items, compared byte by byte; items that
// compare equal keep the order they were added in). A sorted list sorts
// lazily, once, when it is next read, so that adding a million records costs
// n log n and not n squared.
#pragma once

#include <cstdint>
#include <vector>

#include "text/Text.h"

namespace pravel {

class StringList {
 public:
  explicit StringList(bool sorted = false) : sorted_(sorted) {}

  bool IsSorted() const { return sorted_; }
  // All items in list order.
  const std::vector<Text>& Items() const;

 private:
  friend void ListClear(StringList&);
  friend void ListAdd(StringList&, Text);
  friend void ListDelete(StringList&, std::size_t);
  friend std::size_t ListCount(const StringList&);
  friend void ListSetSorted(StringList&, bool);
  friend void ListReserve(StringList&, std::size_t);
  friend std::vector<Text>& ListItemsToChange(StringList&);

  void SortIfPending() const;

  bool sorted_;
  mutable bool sortPending_ = false;
  mutable std::vector<Text> items_;
};

void ListClear(StringList& list);
void ListAdd(StringList& list, Text item);
void ListDelete(StringList& list, std::size_t index);
std::size_t ListCount(const StringList& list);
// Empty text for an index outside 0 .. count - 1.
Text ListItem(const StringList& list, std::int64_t index);
// Makes the list sorted or unsorted; it is empty afterwards.
void ListSetSorted(StringList& list, bool sorted);
void ListReserve(StringList& list, std::size_t count);
// The items themselves, in list order, to be changed in place: a large list
// can hand its items on without copying them. A sorted list must keep its
// order.
std::vector<Text>& ListItemsToChange(StringList& list);

// Replaces the items with the CR LF lines of the file (a missing file is
// created empty, as every template read does). A lone CR or LF stays inside
// its item; a final CR LF gives no empty item.
void ListLoad(StringList& list, const Text& fileName);
// Adds the CR LF lines of a text, as ListLoad does for a file's content.
void ListAddLines(StringList& list, std::string_view text);
// The items joined, each followed by CR LF.
Text ListJoin(const StringList& list);
// Writes ListJoin to the file; false when the file could not be written.
bool ListSave(const StringList& list, const Text& fileName);

}  // namespace pravel
