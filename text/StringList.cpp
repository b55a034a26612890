#include "text/StringList.h"

#include <algorithm>

#include "text/FileWriter.h"
#include "text/FoldedHead.h"
#include "text/TextFile.h"

namespace pravel {

const std::vector<Text>& StringList::Items() const {
  SortIfPending();
  return items_;
}

void StringList::SortIfPending() const {
  if (!sortPending_) return;
  const std::vector<std::size_t> order = StableSortOrder(std::vector<std::string_view>(items_.begin(), items_.end()));
  std::vector<Text> sorted;
  sorted.reserve(items_.size());
  for (const std::size_t index : order) sorted.push_back(std::move(items_[index]));
  items_ = std::move(sorted);
  sortPending_ = false;
}

void ListClear(StringList& list) {
  list.items_.clear();
  list.sortPending_ = false;
}

void ListAdd(StringList& list, Text item) {
  list.items_.push_back(std::move(item));
  if (list.sorted_) list.sortPending_ = true;
}

void ListDelete(StringList& list, std::size_t index) {
  list.SortIfPending();
  if (index < list.items_.size()) list.items_.erase(list.items_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t ListCount(const StringList& list) { return list.items_.size(); }

std::vector<Text>& ListItemsToChange(StringList& list) {
  list.SortIfPending();
  return list.items_;
}

Text ListItem(const StringList& list, std::int64_t index) {
  const auto& items = list.Items();
  if (index < 0 || static_cast<std::uint64_t>(index) >= items.size()) return {};
  return items[static_cast<std::size_t>(index)];
}

void ListSetSorted(StringList& list, bool sorted) {
  ListClear(list);
  list.sorted_ = sorted;
}

void ListReserve(StringList& list, std::size_t count) {
  // Growing by at least half again keeps many small reservations in a row
  // from moving every item each time.
  const std::size_t room = list.items_.capacity();
  if (count > room) list.items_.reserve(std::max(count, room + room / 2));
}

void ListAddLines(StringList& list, std::string_view text) {
  // Room for every line at once: a text of millions of lines would
  // otherwise move the list's items again each time it outgrows its room.
  ListReserve(list, ListCount(list) + static_cast<std::size_t>(TextTally(text, CRLF)) + 1);
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t hit = text.find(CRLF, from);
    if (hit == std::string_view::npos) {
      ListAdd(list, Text(text.substr(from)));
      break;
    }
    ListAdd(list, Text(text.substr(from, hit - from)));
    from = hit + CRLF.size();
  }
}

void ListLoad(StringList& list, const Text& fileName) {
  ListClear(list);
  ListAddLines(list, FileReadAll(fileName));
}

Text ListJoin(const StringList& list) {
  const auto& items = list.Items();
  std::size_t size = 0;
  for (const Text& item : items) size += item.size() + CRLF.size();
  Text out;
  out.reserve(size);
  for (const Text& item : items) AppendLine(out, item);
  return out;
}

bool ListSave(const StringList& list, const Text& fileName) { return FileWriteLines(fileName, list.Items()).ok; }

}  // namespace pravel
