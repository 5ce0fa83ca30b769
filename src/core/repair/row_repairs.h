#pragma once
// The repairs the user took, written into the rows.

#include "core/paths/path_rules.h"

#include <cstddef>
#include <string>
#include <vector>

namespace listora {

class MainList;

struct RowRepair {
    std::size_t row = 0;
    std::string path;
};

// Each row gets its new full path and the file name in it; title, length,
// check mark and selection stay. The view is told once.
void applyRepairs(MainList& list, const std::vector<RowRepair>& repairs, const PathRules& rules);

}  // namespace listora
