#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// A music library two levels deep: top folders (an artist each) holding
// sub-folders (an album each), and in every one of these folders the same
// number of music files and of other files (covers, lyrics).
struct GatherTree {
    std::size_t topFolders = 0;
    std::size_t subFolders = 0;  // in each top folder
    std::size_t musicPerFolder = 0;
    std::size_t othersPerFolder = 0;

    std::size_t folders() const { return topFolders * (1 + subFolders); }
    std::size_t musicFiles() const { return folders() * musicPerFolder; }
    std::size_t otherFiles() const { return folders() * othersPerFolder; }
};

// Seconds of every run, in order: the gatherer's, and the reference
// command's listing the same files.
struct GatherTimings {
    std::vector<double> ours;
    std::vector<double> theirs;
};

// DragFileAdd gathering the tree from its root folder, queued as a drop of
// that one folder queues it, beside one `find ROOT -type f -iname '*mp3*'`
// naming the same music files. The tree is written once under `workFolder`
// and removed when the runs are done; both sides read it from the cache.
GatherTimings timeGather(const std::string& workFolder, const GatherTree& tree, int runs);

}  // namespace bench
