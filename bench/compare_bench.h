#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// One method's seconds of every run: the comparison alone (both playlists
// already read), and the whole "検出" with the reading.
struct CompareTiming {
    std::string method;
    std::string result;
    std::vector<double> seconds;
    std::vector<double> withReading;
};

struct CompareTimings {
    std::vector<CompareTiming> methods;
    std::vector<double> reference;  // sort of both path lists, then comm
};

struct CompareMemory {
    long long onePlaylistBytes = 0;  // peak memory added by reading one playlist
    long long compareBytes = 0;      // peak memory added by a difference with reading
};

// Two playlists of `rows` entries each, half of B's paths A's in another
// order, and their path lists for the reference.
struct ComparedFiles {
    std::size_t rows;
    std::string a, b, aPaths, bPaths;
};
ComparedFiles writeComparedPlaylists(std::size_t rows, const std::string& folder);

// Measured in a forked child: call it while this process is still small.
CompareMemory measureComparisonMemory(const ComparedFiles& files);
CompareTimings timeComparison(const ComparedFiles& files, int runs);

}  // namespace bench
