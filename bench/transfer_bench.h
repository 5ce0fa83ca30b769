#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Seconds of every run, in order: the engine's, and the reference command's
// doing the same transfer.
struct TransferTimings {
    std::vector<double> ours;
    std::vector<double> theirs;
};

// How many files a transfer handles, all of one size.
struct TransferSize {
    std::size_t files = 0;
    std::size_t fileBytes = 0;
};

// The engine moving `size.files` checked rows' files into another folder of
// the same file system, beside one `mv -n -t DEST FILE...` moving them too.
// The files are written once under `workFolder` and moved back, untimed,
// after each side's run, so both sides move the very same files.
TransferTimings timeMoves(const std::string& workFolder, TransferSize size, int runs);

// The engine copying `size.files` checked rows' files, its question answered
// Yes (the rows then name the copies), beside one `cp -n -p -t DEST FILE...`
// copying the same sources. The sources are written once and stay in the
// page cache; every run copies into an empty folder.
TransferTimings timeCopies(const std::string& workFolder, TransferSize size, int runs);

}  // namespace bench
