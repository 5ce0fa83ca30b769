#include "formats_bench.h"

#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"
#include "fixture.h"
#include "measure.h"
#include "support/temp_dir.h"
#include "yes_prompts.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace bench {
namespace {

constexpr std::size_t kRows = 1'000'000;
constexpr int kRuns = 5;
constexpr double kTimeTarget = 2.0;    // times M3U's
constexpr double kMemoryTarget = 1.5;  // times M3U's

struct FormatFigures {
    std::string name;
    std::string file;
    std::vector<double> read, write, cat;
    long long peakBytes = 0;
};

double megabytesOf(long long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

long long fileBytes(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

void measure(FormatFigures& format, const std::string& out, const std::string& childOutput) {
    for (int run = 0; run < kRuns; ++run) {
        const Child child =
            runTo({besideThisProgram("listora-bench"), "load-save-once", format.file, out}, childOutput);
        double read = 0, write = 0;
        std::size_t rows = 0;
        if (std::sscanf(readFile(childOutput).c_str(), "%lf %lf %zu", &read, &write, &rows) != 3 || rows != kRows)
            throw std::runtime_error("reading " + format.file + " gave " + std::to_string(rows) + " rows");
        format.read.push_back(read);
        format.write.push_back(write);
        format.peakBytes = std::max(format.peakBytes, child.peakBytes);
        format.cat.push_back(runTo({"cat", format.file}, "/dev/null").seconds);
    }
}

}  // namespace

int runLoadSaveOnce(const std::string& in, const std::string& out) {
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    const listora::PathRules rules = listora::PathRules::native();
    listora::MainList list;
    std::string current;
    const double read = secondsOf([&] { listora::LoadToFile(list, current, {fs, prompts, rules}, in); });
    const double write = secondsOf([&] { listora::writePlaylist(fs, list, listora::PathMode::Absolute, out, rules); });
    std::printf("%.6f %.6f %zu\n", read, write, list.count());
    return 0;
}

int runFormatsBench() {
    const listora::test::TempDir folder("listora-bench");
    std::fprintf(stderr, "listora-bench: writing a playlist of %zu rows as M3U, PLS and XSPF\n", kRows);
    std::vector<FormatFigures> formats = {{"M3U", folder.path("bench.m3u"), {}, {}, {}, 0},
                                          {"PLS", folder.path("bench.pls"), {}, {}, {}, 0},
                                          {"XSPF", folder.path("bench.xspf"), {}, {}, {}, 0}};
    writeFixture(formats[0].file, folder.path("titles.txt"), kRows);
    const std::string cli = besideThisProgram("../listora-cli");
    for (std::size_t i = 1; i < formats.size(); ++i)
        runTo({cli, "convert", formats[0].file, formats[i].file}, "/dev/null");

    for (FormatFigures& format : formats) {
        std::fprintf(stderr, "listora-bench: %s read and written, %d runs\n", format.name.c_str(), kRuns);
        measure(format, folder.path("out" + format.file.substr(format.file.rfind('.'))), folder.path("child.txt"));
    }

    const FormatFigures& m3u = formats[0];
    std::printf(
        "\n%zu entries read (Open) and written (Save) in a fresh process each, medians of %d runs; "
        "targets: time ≤ %.1fx M3U's, peak memory ≤ %.1fx M3U's\n",
        kRows, kRuns, kTimeTarget, kMemoryTarget);
    std::printf("%-6s %9s %8s %8s %9s %8s %10s %8s  %s\n", "format", "file MB", "read s", "write s", "vs M3U", "cat s",
                "peak MB", "vs M3U", "");
    for (const FormatFigures& format : formats) {
        const double time = median(format.read) + median(format.write);
        const double timeRatio = time / (median(m3u.read) + median(m3u.write));
        const double memoryRatio = static_cast<double>(format.peakBytes) / static_cast<double>(m3u.peakBytes);
        std::printf("%-6s %9.1f %8.3f %8.3f %8.2fx %8.3f %10.1f %7.2fx  %s\n", format.name.c_str(),
                    megabytesOf(fileBytes(format.file)), median(format.read), median(format.write), timeRatio,
                    median(format.cat), megabytesOf(format.peakBytes), memoryRatio,
                    timeRatio <= kTimeTarget && memoryRatio <= kMemoryTarget ? "met" : "MISSED");
    }
    return 0;
}

}  // namespace bench
