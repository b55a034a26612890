#include "text/FoldedHead.h"

#include <algorithm>

#include "text/Text.h"

namespace pravel {

FoldedHead FoldedHeadOf(std::string_view text, std::size_t from) {
  FoldedHead head;
  for (std::size_t k = 0; k < 16; ++k) {
    const std::size_t at = from + k;
    const auto byte = static_cast<unsigned char>(at < text.size() ? LowerByte(text[at]) : '\0');
    std::uint64_t& half = k < 8 ? head.high : head.low;
    half = (half << 8) | byte;
  }
  return head;
}

std::vector<std::size_t> StableOrderLower(const std::vector<std::string_view>& texts, std::size_t skip) {
  struct Entry {
    FoldedHead head;
    std::size_t index;
  };
  std::vector<Entry> entries;
  entries.reserve(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) entries.push_back(Entry{FoldedHeadOf(texts[i], skip), i});
  std::stable_sort(entries.begin(), entries.end(), [&texts](const Entry& a, const Entry& b) {
    if (a.head != b.head) return a.head < b.head;
    return TextCompareLower(texts[a.index], texts[b.index]) < 0;
  });
  std::vector<std::size_t> order;
  order.reserve(entries.size());
  for (const Entry& entry : entries) order.push_back(entry.index);
  return order;
}

}  // namespace pravel
