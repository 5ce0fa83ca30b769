#pragma once
// Which rows a read of tags fills, and what a tag writes into a row.

#include "core/playlist/address.h"  // isAddress: an address has no tag to read
#include "core/tags/tag_reader.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace listora {

class MainList;
class PathRules;
class PlaylistEntry;

// The selected rows, or every row when none is selected; addresses left out.
std::vector<std::size_t> selectedOrAllFileRows(const MainList& list);
// The rows from `first` on, addresses left out; with `unknownLengthOnly`
// only those whose length is "---".
std::vector<std::size_t> fileRowsFrom(const MainList& list, std::size_t first, bool unknownLengthOnly);

// The title becomes "ARTIST - TITLE" ("TITLE" without an artist); a tag
// without a title leaves it, except that "---" becomes the file name without
// its extension. The length becomes the tag's whole seconds.
void fillRowFromTag(PlaylistEntry& row, const TagInfo& tag, const PathRules& rules);

}  // namespace listora
