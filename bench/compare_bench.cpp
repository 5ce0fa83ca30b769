#include "compare_bench.h"

#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/search/playlist_comparison.h"
#include "measure.h"
#include "yes_prompts.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace bench {
namespace {

std::string pathOf(char side, std::size_t i) {
    char path[64];
    std::snprintf(path, sizeof path, "/home/user/Music/%c/%07zu Paper Moon.mp3", side, i);
    return path;
}

// A: A/0 … A/n-1. B: A's second half from last to first, then as many paths
// of its own. Half the entries of each have an #EXTINF line.
void writePlaylists(std::size_t rows, const std::string& a, const std::string& b, const std::string& aPaths,
                    const std::string& bPaths) {
    std::ofstream outA(a, std::ios::binary), outB(b, std::ios::binary);
    std::ofstream listA(aPaths, std::ios::binary), listB(bPaths, std::ios::binary);
    outA << "#EXTM3U\r\n";
    outB << "#EXTM3U\r\n";
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string pathA = pathOf('A', i);
        const std::string pathB = i < rows / 2 ? pathOf('A', rows - 1 - i) : pathOf('B', i);
        if (i % 2 == 0) {
            outA << "#EXTINF:" << i % 600 << ",Artist - Title\r\n";
            outB << "#EXTINF:" << i % 600 << ",Artist - Title\r\n";
        }
        outA << pathA << "\r\n";
        outB << pathB << "\r\n";
        listA << pathA << '\n';
        listB << pathB << '\n';
    }
    if (!outA || !outB || !listA || !listB) throw std::runtime_error("cannot write the compared playlists");
}

struct Method {
    const char* name;
    listora::ComparisonMethod method;
    std::size_t rowsPerMillion;  // rows of the result on 1,000,000 entries each
};

const Method kMethods[] = {
    {"difference", listora::ComparisonMethod::Difference, 1'000'000},
    {"common", listora::ComparisonMethod::Common, 500'000},
    {"only in A", listora::ComparisonMethod::OnlyInA, 500'000},
};

struct Ports {
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::PathRules rules = listora::PathRules::native();
};

}  // namespace

ComparedFiles writeComparedPlaylists(std::size_t rows, const std::string& folder) {
    ComparedFiles files{rows, folder + "/compare-a.m3u", folder + "/compare-b.m3u", folder + "/compare-a.txt",
                        folder + "/compare-b.txt"};
    writePlaylists(rows, files.a, files.b, files.aPaths, files.bPaths);
    return files;
}

CompareMemory measureComparisonMemory(const ComparedFiles& files) {
    const std::string& a = files.a;
    const std::string& b = files.b;
    Ports ports;
    CompareMemory memory;
    // First, while this process holds no playlist: the forked child starts
    // with the parent's pages.
    const PeakMemory one = peakMemoryOf([&] {
        listora::MainList list;
        std::string current;
        listora::LoadToFile(list, current, {ports.fs, ports.prompts, ports.rules}, a);
    });
    const PeakMemory both = peakMemoryOf([&] {
        listora::MainList list;
        std::string current;
        listora::CutBuffer cut;
        std::vector<listora::PlaylistEntry> buffer;
        listora::ComparePlaylists({list, current, cut, buffer}, {ports.fs, ports.prompts, ports.rules}, a, b,
                                  listora::ComparisonMethod::Difference);
    });
    memory.onePlaylistBytes = one.peakBytes - one.baselineBytes;
    memory.compareBytes = both.peakBytes - both.baselineBytes;
    return memory;
}

CompareTimings timeComparison(const ComparedFiles& files, int runs) {
    const std::size_t rows = files.rows;
    const std::string& a = files.a;
    const std::string& b = files.b;
    Ports ports;
    CompareTimings timings;

    const listora::PlaylistRead readA =
        listora::readPlaylist({ports.fs, ports.prompts, ports.rules}, a, listora::HeaderPolicy::Force);
    const listora::PlaylistRead readB =
        listora::readPlaylist({ports.fs, ports.prompts, ports.rules}, b, listora::HeaderPolicy::Force);
    if (readA.rows.size() != rows || readB.rows.size() != rows)
        throw std::runtime_error("the compared playlists did not read whole");
    for (const Method& method : kMethods) {
        CompareTiming timing{method.name, {}, {}, {}};
        for (int run = 0; run < runs; ++run) {
            std::vector<listora::PlaylistEntry> listA = readA.rows;
            std::vector<listora::PlaylistEntry> listB = readB.rows;
            listora::MainList list;
            timing.seconds.push_back(secondsOf([&] {
                listora::compareEntries(listA, listB, method.method);
                list.appendAll(listora::comparisonRows(listA, std::move(listB)));
            }));
            if (list.count() != method.rowsPerMillion * rows / 1'000'000)
                throw std::runtime_error(std::string(method.name) + " gave " + std::to_string(list.count()) + " rows");
        }
        for (int run = 0; run < runs; ++run) {
            listora::MainList list;
            std::string current;
            listora::CutBuffer cut;
            std::vector<listora::PlaylistEntry> buffer;
            timing.withReading.push_back(secondsOf([&] {
                listora::ComparePlaylists({list, current, cut, buffer}, {ports.fs, ports.prompts, ports.rules}, a, b,
                                          method.method);
            }));
            timing.result = std::to_string(list.count()) + " rows";
        }
        timings.methods.push_back(std::move(timing));
    }
    for (int run = 0; run < runs; ++run)
        timings.reference.push_back(
            runCommand({"sh", "-c",
                        "LC_ALL=C sort \"$1\" > \"$1.sorted\" && LC_ALL=C sort \"$2\" > \"$2.sorted\" && "
                        "LC_ALL=C comm -3 \"$1.sorted\" \"$2.sorted\"",
                        "sh", files.aPaths, files.bPaths}));

    return timings;
}

}  // namespace bench
