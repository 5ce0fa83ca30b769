#pragma once
// The order of rows sorted by one column's text as the collator orders it,
// as a permutation, so that the rows themselves move once, in place.

#include "playlist/playlist_entry.h"

#include <cstdint>
#include <vector>

namespace listora {

class Collator;

// order[i] is the row that belongs at position i; rows with equal keys keep
// their order.
std::vector<std::uint32_t> sortedOrder(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator);

}  // namespace listora
