// Sorting many texts without regard to case, fast.
//
// A sort compares its items some twenty times each; when every comparison
// has to fetch both texts from far apart in memory, the fetching is what
// takes the time. The first twenty-four bytes of a text, ranked as the
// sort ranks them, fit in three numbers kept right beside the item being
// sorted: most pairs (names of a few words) differ there and are ordered
// without looking at their texts at all.
#pragma once

#include <compare>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pravel {

struct FoldedHead {
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  std::uint64_t third = 0;
  auto operator<=>(const FoldedHead&) const = default;
};

// The SortRank of the bytes from .. from + 23 of the text, in their order, a
// missing byte counting as 0. Whenever the heads of two texts differ, they
// order the texts as TextCompareSorted does (a text that ends first is the
// smaller one, as a 0 is); when they are equal, the texts must be compared
// (a ">", ranked 0 as well, is told from a text's end there).
FoldedHead FoldedHeadOf(std::string_view text, std::size_t from = 0);

// The rank of each text in the order TextCompareSorted gives them, texts
// that compare equal sharing one (0, 1, 2, ...); `ranks` is set to the
// number of different ranks. When every text begins with the same `skip`
// bytes but for case (a keyword), the heads are taken after them, where the
// texts differ.
std::vector<std::size_t> SortRanks(const std::vector<std::string_view>& texts, std::size_t skip, std::size_t& ranks);

}  // namespace pravel
