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

struct TransferSize {
    std::size_t files = 0;
    std::size_t fileBytes = 0;
};

// The engine moving `size.files` checked rows' files into another folder of
// the same file system, beside one `mv -n -t DEST FILE...` moving as many
// files of the same names and size. Every run, each side gets files written
// just before it into fresh folders under `workFolder`.
TransferTimings timeMoves(const std::string& workFolder, TransferSize size, int runs);

// The engine copying `size.files` checked rows' files, its question answered
// Yes (the rows then name the copies), beside one `cp -n -p -t DEST FILE...`
// copying the same sources. The sources are written once and stay in the
// page cache; every run copies into a fresh folder.
TransferTimings timeCopies(const std::string& workFolder, TransferSize size, int runs);

}  // namespace bench
