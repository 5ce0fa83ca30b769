#pragma once
// The search for the files of broken entries: for each row whose file does
// not exist, the file of the same name under the folders searched, or, on
// request, files of similar names.

#include "core/paths/path_rules.h"
#include "core/playlist/playlist_entry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace listora {

class FileSystem;
class RepairProgress;

enum class RepairKind {
    Found,      // one file of the same name, or one whose folders match best
    Closest,    // no file of the same name; files of similar names
    Ambiguous,  // several files of the same name, none with more folders in common
    Missing,    // nothing
};

struct RepairCandidate {
    std::string path;
    double score = 1.0;  // the similarity, for a closest one
};

struct RepairProposal {
    std::size_t row = 0;
    RepairKind kind = RepairKind::Missing;
    // Found: the file. Closest: at most three, best first. Ambiguous: the
    // tied files, at most kMostAmbiguous, in the order of the walk.
    std::vector<RepairCandidate> candidates;
};

inline constexpr std::size_t kMostAmbiguous = 20;

struct RepairSearch {
    std::vector<std::string> folders;
    bool ignoreCase = false;
    bool closest = false;
};

// One proposal for each row whose file does not exist (an address never
// counts as missing), in row order. Where several files have the row's
// name, the one whose folders, from its own upward, have the names of the
// most folders of the row's path, from the last upward, is found. Nothing
// when the progress said stop.
std::optional<std::vector<RepairProposal>> findRepairs(const std::vector<PlaylistEntry>& rows, FileSystem& fs,
                                                       const PathRules& rules, const RepairSearch& search,
                                                       RepairProgress* progress = nullptr);

// The candidate taken without asking: the one found, or, for a closest
// proposal, the best when it scores kAcceptedSimilarity or more and alone.
const RepairCandidate* acceptedCandidate(const RepairProposal& proposal);

}  // namespace listora
