#pragma once
// The files of an index whose names are most like wanted names, without
// comparing every file with every wanted name.

#include "core/repair/file_index.h"

#include <optional>
#include <string_view>
#include <vector>

namespace listora {

class RepairTicker;

struct ClosestFile {
    FileIndex::FileId file;
    double score;
};

// For each wanted file name, the best three files scoring at least
// kOfferedSimilarity, best first (equal scores in the order of the walk).
// Nothing when the ticker said stop.
std::optional<std::vector<std::vector<ClosestFile>>> closestFiles(const FileIndex& index,
                                                                  const std::vector<std::string_view>& wanted,
                                                                  const PathRules& rules, RepairTicker& ticker);

}  // namespace listora
