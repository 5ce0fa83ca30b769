#pragma once
// One run's files for the fault driver: a fresh tree of music files with
// known bytes, the playlist naming them, the destination folder, the
// program's home (its operation log), and the checks of what a killed or
// failed run may leave behind.

#include "core/fileops/operation_log.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace listora::faults {

struct TreeShape {
    std::size_t smallFiles = 300;       // 1 to 16 KiB each
    std::size_t largeFiles = 3;         // among them, evenly spread
    std::size_t largeBytes = 4u << 20;  // each
    std::size_t convertRows = 100000;   // rows of the playlist a conversion reads
};

// The bytes of music file `index`: the same for every run.
std::string musicBytes(std::size_t index, const TreeShape& shape);

class FaultTree {
public:
    // Lays the tree anew under `root` with the destination `destination`
    // (which may be on another file system).
    FaultTree(std::string root, std::string destination, const TreeShape& shape);

    const std::string& root() const { return root_; }
    const std::string& destination() const { return destination_; }
    std::string home() const { return root_ + "/home"; }
    std::string playlist() const { return root_ + "/list.m3u"; }
    std::string convertIn() const { return root_ + "/in.m3u"; }
    std::string convertOut() const { return root_ + "/out.m3u"; }
    const std::string& oldPlaylist() const { return oldPlaylist_; }
    const std::string& oldConverted() const { return oldConverted_; }
    // The playlist that names the files at the destination where `atTarget`
    // says so and the others at their source; and the conversion with
    // relative paths.
    std::string playlistWith(const std::vector<bool>& atTarget) const;
    std::string newConverted() const;

    std::size_t fileCount() const { return names_.size(); }
    std::string sourcePath(std::size_t i) const { return root_ + "/music/" + names_[i]; }
    std::string targetPath(std::size_t i) const { return destination_ + "/" + names_[i]; }
    // Whether the file is at the path with exactly its bytes; `partial` is
    // set when something else is there.
    bool wholeAt(std::size_t i, const std::string& path, bool& partial) const;

    // Every entry under the root and the destination that is none of the
    // tree's own files: temporaries, partial files under any other name.
    std::vector<std::string> strangers() const;
    // The day files' records, in file order.
    std::vector<LogRecord> loggedRecords() const;
    // When the file arrived at the path (its status change), in seconds
    // since the epoch; nothing when it is not there.
    std::optional<double> arrivalAt(const std::string& path) const;

private:
    std::string root_;
    std::string destination_;
    TreeShape shape_;
    std::vector<std::string> names_;
    std::string oldPlaylist_;
    std::string oldConverted_;
};

void removeTree(const std::string& path);

}  // namespace listora::faults
