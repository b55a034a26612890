#include "text/SortOrder.h"

#include <algorithm>

#include "text/Text.h"

namespace pravel {

FoldedHead FoldedHeadOf(std::string_view text, std::size_t from) {
  FoldedHead head;
  std::uint64_t* const words[] = {&head.first, &head.second, &head.third};
  for (std::size_t k = 0; k < 24; ++k) {
    const std::size_t at = from + k;
    const auto byte = static_cast<unsigned char>(at < text.size() ? static_cast<char>(SortRank(text[at])) : '\0');
    std::uint64_t& word = *words[k / 8];
    word = (word << 8) | byte;
  }
  return head;
}

namespace {

struct Entry {
  FoldedHead head;
  std::size_t index;
};

// The texts' entries in the order TextCompareSorted gives them, equal ones
// in the order given.
std::vector<Entry> SortedEntries(const std::vector<std::string_view>& texts, std::size_t skip) {
  std::vector<Entry> entries;
  entries.reserve(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) entries.push_back(Entry{FoldedHeadOf(texts[i], skip), i});
  std::stable_sort(entries.begin(), entries.end(), [&texts](const Entry& a, const Entry& b) {
    if (a.head != b.head) return a.head < b.head;
    return TextCompareSorted(texts[a.index], texts[b.index]) < 0;
  });
  return entries;
}

}  // namespace

std::vector<std::size_t> SortRanks(const std::vector<std::string_view>& texts, std::size_t skip, std::size_t& ranks) {
  const std::vector<Entry> entries = SortedEntries(texts, skip);
  std::vector<std::size_t> rank(texts.size());
  ranks = 0;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    // Neighbours whose heads differ are different texts; only equal heads
    // need their texts compared.
    const bool same = k > 0 && entries[k - 1].head == entries[k].head &&
                      TextCompareSorted(texts[entries[k - 1].index], texts[entries[k].index]) == 0;
    if (!same) ++ranks;
    rank[entries[k].index] = ranks - 1;
  }
  return rank;
}

}  // namespace pravel
