#pragma once
// A file being written in a folder until it is complete. Where the file
// system offers unnamed files (O_TMPFILE) it has no name at all meanwhile,
// so a crash leaves nothing behind. Elsewhere it has a hidden name
// ".listora-XXXXXX", locked while it is written. An unnamed file gets such a
// name, already locked, only for the moment of its rename over an old file.
// A file of that name that no one holds any more is what a crash left, and
// is removed when the next one starts in that folder.

#include "core/native/unique_fd.h"

#include <functional>
#include <string>

namespace listora {

class PendingFile {
public:
    explicit PendingFile(const std::string& folder);
    // Removes the file unless it was given its name.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool ok() const { return static_cast<bool>(fd_); }
    int fd() const { return fd_.get(); }

    // Gives the complete file the name `target`; fails when a file already
    // has it, also one that appeared meanwhile.
    bool publishNew(const std::string& target);
    // Puts the complete file in place of what `target` names, in one step.
    bool replace(const std::string& target);

private:
    bool linkUnnamed(const std::string& name) const;

    std::string folder_;
    UniqueFd fd_;
    std::string hiddenName_;  // empty while the file is unnamed
};

// Creates or replaces the file at `target` (no link) with what `write` puts
// into the descriptor it is given (true when all went well), keeping an old
// file's permission bits: the old file stays whole unless the new one is
// completely in place, its name on disk too. An exception from `write`
// leaves nothing behind and goes on.
bool writeFileAtomically(const std::string& target, const std::function<bool(int fd)>& write);

// Removes the hidden files that crashed writes left in the folder.
void removeStaleTemporaries(const std::string& folder);

}  // namespace listora
