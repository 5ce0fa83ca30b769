#include "core/repair/row_repairs.h"

#include "core/playlist/main_list.h"

#include <algorithm>

namespace listora {

void applyRepairs(MainList& list, const std::vector<RowRepair>& repairs, const PathRules& rules) {
    std::size_t first = MainList::npos;
    std::size_t last = 0;
    for (const RowRepair& repair : repairs) {
        if (repair.row >= list.count()) continue;
        list.editRow(repair.row).setPath(rules.fileName(repair.path), repair.path);
        first = std::min(first, repair.row);
        last = std::max(last, repair.row);
    }
    if (first != MainList::npos) list.rowsEdited(first, last);
}

}  // namespace listora
