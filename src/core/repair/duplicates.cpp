#include "core/repair/duplicates.h"

#include "core/playlist/main_list.h"
#include "core/search/path_index.h"

#include <algorithm>

namespace listora {

std::size_t removeDuplicates(MainList& list) {
    const std::vector<PlaylistEntry>& rows = list.rows();
    const bool anySelected =
        std::any_of(rows.begin(), rows.end(), [](const PlaylistEntry& row) { return row.selected; });
    PathIndex seen(rows);
    std::vector<bool> keep(rows.size(), true);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!anySelected || rows[i].selected) keep[i] = seen.insert(i);
    std::size_t row = 0;
    return list.removeUnless([&](const PlaylistEntry&) { return keep[row++]; });
}

}  // namespace listora
