#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace bench {

template <typename Work>
double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values);

// Runs a command directly (no shell) with its output sent to /dev/null and
// returns the wall time from start to exit. Throws when it cannot be started
// or does not exit with 0, so a broken reference never shows as a fast one.
double runCommand(const std::vector<std::string>& argv);

struct PeakMemory {
    long long baselineBytes = 0;  // the child's high-water mark before `work`
    long long peakBytes = 0;      // its high-water mark after `work`
};

// Runs `work` in a forked child, which does nothing else, and reports the
// child's resident-memory high-water mark before and after it. Call it while
// this process is still small: the child starts with the parent's pages.
PeakMemory peakMemoryOf(const std::function<void()>& work);

struct Child {
    double seconds = 0;
    long long peakBytes = 0;
};

// Runs a command with its standard output sent to `output`, and gives its
// wall time and peak resident memory. Throws unless it exits with 0.
Child runTo(const std::vector<std::string>& argv, const std::string& output);

// A program's path beside this one's ("../listora-cli").
std::string besideThisProgram(const std::string& relative);

std::string readFile(const std::string& path);
// Whether two files hold the same bytes, compared a piece at a time: a
// bench that held two playlists whole would hand its size to every child it
// starts afterwards, whose peak memory counts the pages it began with.
bool sameFileBytes(const std::string& a, const std::string& b);

}  // namespace bench
