#pragma once
// Repeated entries taken out of a list.

#include <cstddef>

namespace listora {

class MainList;

// Of the selected rows (all rows when none is selected), every row whose
// full path an earlier one has, compared as the comparison compares paths,
// is removed; the first stays. How many went.
std::size_t removeDuplicates(MainList& list);

}  // namespace listora
