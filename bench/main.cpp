// listora-bench: times loading, saving and sorting a 1,000,000-row playlist
// in the core and, on the same bytes, everyday commands doing the nearest
// plain job (wc -l, cp, sort -f), and the load's peak memory per row; then
// the move and copy engine on the checked rows' files beside one mv and one
// cp given the same files; gathering a dropped folder's music files beside
// one find naming them; and, with no command to compare with, the selection,
// check, cut and paste commands on a 1,000,000-row list, in the core and
// through the main window with a scroll step and a Page Down over a
// scattered selection. `listora-bench selection` times those alone;
// `listora-bench read` times sorting, reading and converting (read_bench.h);
// `listora-bench tags` times reading the titles and lengths of MP3 files
// (tags_bench.h); `listora-bench relink` times repairing broken entries
// (relink_bench.h);
// `listora-bench fixture ROWS FILE` writes such a playlist to profile.

#include "compare_bench.h"
#include "core/app/heap_settings.h"
#include "core/collation/collation.h"
#include "core/files/file_system.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"
#include "core/text/codepage.h"
#include "fixture.h"
#include "formats_bench.h"
#include "gather_bench.h"
#include "log_view_bench.h"
#include "measure.h"
#include "player_bench.h"
#include "read_bench.h"
#include "relink_bench.h"
#include "search_bench.h"
#include "selection_bench.h"
#include "support/temp_dir.h"
#include "tags_bench.h"
#include "transfer_bench.h"
#include "window_bench.h"
#include "yes_prompts.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRows = 1'000'000;
constexpr int kRuns = 5;

constexpr double kLoadTarget = 1.5;
constexpr double kSaveTarget = 0.5;
constexpr double kSortTarget = 1.5;
constexpr double kBytesPerRowTarget = 400;

// The transfers' targets are multiples of the reference command's time.
constexpr bench::TransferSize kMoveSize{10'000, 4096};
constexpr bench::TransferSize kCopySize{1'000, 1 << 20};
constexpr double kMoveTarget = 1.5;
constexpr double kCopyTarget = 1.2;

// 100 artists of 99 albums: 10,000 folders, ten music files and ten others
// in each.
constexpr bench::GatherTree kGatherTree{100, 99, 10, 10};
constexpr double kGatherTarget = 1.3;

// Titles and lengths of 10,000 MP3 files of 1 to 4 MB; fewer with
// LISTORA_TAG_BENCH_FILES, as the files take about 25 GB of disk.
constexpr std::size_t kTagFiles = 10'000;
constexpr double kTagTarget = 2.0;
constexpr double kTagWindowTarget = 1.5;

// Everything LoadToFile needs, made once so that only the read is timed.
struct Core {
    listora::NativeFileSystem fs;
    bench::YesPrompts prompts;
    listora::PathRules rules = listora::PathRules::native();
    listora::PlaylistReaderPorts ports() { return {fs, prompts, rules}; }

    void load(listora::MainList& list, const std::string& path) {
        std::string current;
        listora::LoadToFile(list, current, ports(), path);
    }
};

// A time measured only as fast as the result is right: a load that drops
// rows, a save that changes the bytes or a sort that leaves rows out of order
// would otherwise look like a win.
void checkLoaded(const listora::MainList& list) {
    if (list.count() != kRows)
        throw std::runtime_error("load gave " + std::to_string(list.count()) + " rows, not " + std::to_string(kRows));
}

void checkSaved(const std::string& original, const std::string& saved) {
    if (!bench::sameFileBytes(original, saved))
        throw std::runtime_error("the saved playlist differs from the one loaded");
}

void checkSorted(const listora::MainList& list, const listora::Collator& collator) {
    checkLoaded(list);
    for (std::size_t i = 1; i < list.count(); ++i) {
        if (collator.compare(list.at(i - 1).title(), list.at(i).title()) > 0)
            throw std::runtime_error("sorted rows out of order at row " + std::to_string(i));
    }
}

struct Timings {
    std::vector<double> load, save, sort;
};

// Each operation has its runs to itself: a list freed after a sort leaves
// the heap scattered, and a load timed right after one would carry that.
Timings timeCore(Core& core, const std::string& playlist, const std::string& savedPath) {
    Timings times;
    for (int run = 0; run < kRuns; ++run) {
        listora::MainList list;
        times.load.push_back(bench::secondsOf([&] { core.load(list, playlist); }));
        checkLoaded(list);
    }

    listora::MainList loaded;
    core.load(loaded, playlist);
    checkLoaded(loaded);
    for (int run = 0; run < kRuns; ++run) {
        // Each save creates its file, as cp below does.
        std::filesystem::remove(savedPath);
        times.save.push_back(bench::secondsOf(
            [&] { listora::writePlaylist(core.fs, loaded, listora::PathMode::Absolute, savedPath, core.rules); }));
        if (run == 0) checkSaved(playlist, savedPath);
    }
    loaded.clear();

    const listora::Collator collator(listora::systemCodePage());
    for (int run = 0; run < kRuns; ++run) {
        // A fresh load each time, so every sort starts from the file's order.
        listora::MainList list;
        core.load(list, playlist);
        times.sort.push_back(bench::secondsOf([&] { list.sortByColumn(0, collator); }));
        if (run == 0) checkSorted(list, collator);
    }
    return times;
}

Timings timeReferences(const std::string& playlist, const std::string& copyPath, const std::string& titles) {
    Timings times;
    for (int run = 0; run < kRuns; ++run) {
        times.load.push_back(bench::runCommand({"wc", "-l", playlist}));
        std::filesystem::remove(copyPath);
        times.save.push_back(bench::runCommand({"cp", playlist, copyPath}));
        times.sort.push_back(bench::runCommand({"sort", "-f", titles}));
    }
    return times;
}

// Pads to a width in characters, not bytes, so "≤" lines up.
std::string pad(const std::string& text, std::size_t width) {
    std::size_t chars = 0;
    for (const unsigned char c : text) chars += (c & 0xC0) != 0x80;
    return text + std::string(chars < width ? width - chars : 0, ' ');
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string megabytes(std::size_t bytes) { return fixed(static_cast<double>(bytes) / 1e6, 1) + " MB"; }

// "10000 files, 4 KiB each"
std::string filesOf(bench::TransferSize size) {
    const bool mebibytes = size.fileBytes % (1 << 20) == 0;
    return std::to_string(size.files) + " files, " + std::to_string(size.fileBytes / (mebibytes ? 1 << 20 : 1 << 10)) +
           (mebibytes ? " MiB" : " KiB") + " each";
}

// "100000 music, 10000 dirs"
std::string treeOf(const bench::GatherTree& tree) {
    return std::to_string(tree.musicFiles()) + " music, " + std::to_string(tree.folders()) + " dirs";
}

void printCells(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += i + 1 < cells.size() ? pad(cells[i], widths[i]) + "  " : cells[i];
    std::printf("%s\n", line.c_str());
}

void printRow(const std::vector<std::string>& cells) { printCells(cells, {6, 24, 11, 14, 31, 13}); }

// A target in seconds, or in multiples of the reference command's time.
struct Target {
    double limit;
    bool relative;
};

void printOperation(const char* name, const std::string& size, const std::vector<double>& own, Target target,
                    const char* reference, const std::vector<double>& theirs) {
    const double ours = bench::median(own);
    const double ref = bench::median(theirs);
    const double limit = target.relative ? target.limit * ref : target.limit;
    const std::string met = ours <= limit ? "met" : "MISSED";
    const std::string goal = "≤ " + fixed(target.limit, 1) + (target.relative ? "x" : " s");
    // Relative figures get two decimals: a transfer's ratio sits near its target.
    const int ratioDecimals = target.relative ? 2 : 1;
    printRow({name, size, fixed(ours, 3), goal + " " + met, reference, fixed(ref, 3),
              ref > 0 ? fixed(ours / ref, ratioDecimals) + "x" : "-"});
}

// Every run, in order, because the median hides what differs between them:
// the first run meets a heap this process has not used yet, and a busy
// machine shows as single slow runs.
void printRuns(const char* name, const std::vector<double>& own, const std::vector<double>& theirs) {
    std::string text;
    const auto add = [&](double value) {
        text += ' ';
        text += fixed(value, 3);
    };
    for (const double value : own) add(value);
    if (!theirs.empty()) text += "  |";
    for (const double value : theirs) add(value);
    std::printf("  %s:%s\n", name, text.c_str());
}

// A separate table: these commands have no reference, only a target.
void printSelection(const char* where, const std::vector<bench::SelectionTiming>& timings) {
    const std::vector<std::size_t> widths = {36, 11, 16};
    std::printf(
        "\nselection commands %s on %zu rows, every 3rd checked and every 10th (or as named) selected before each; "
        "medians of %d runs, no reference command:\n",
        where, kRows, kRuns);
    printCells({"command", "listora (s)", "target", "result"}, widths);
    for (const auto& timing : timings) {
        const double ours = bench::median(timing.seconds);
        printCells({timing.command, fixed(ours, 3),
                    "≤ " + fixed(timing.target, 3) + " s " + (ours <= timing.target ? "met" : "MISSED"), timing.result},
                   widths);
    }
}

struct SelectionTables {
    std::vector<bench::SelectionTiming> core;
    std::vector<bench::SelectionTiming> window;
    std::vector<bench::SearchTiming> coreSearches;
    std::vector<bench::SearchTiming> windowSearches;
};

SelectionTables timeSelection(const listora::test::TempDir& folder) {
    SelectionTables tables;
    std::fprintf(stderr, "listora-bench: timing the selection commands on %zu rows, %d runs\n", kRows, kRuns);
    tables.core = bench::timeSelectionCommands(kRows, kRuns);
    std::fprintf(stderr, "listora-bench: timing searches on %zu rows, %d runs\n", kRows, kRuns);
    tables.coreSearches = bench::timeCoreSearches(kRows, kRuns, folder.path());
    std::fprintf(stderr, "listora-bench: timing the same commands in the main window, %d runs\n", kRuns);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char qtName[] = "listora-bench";
    char* qtArgv[] = {qtName, nullptr};
    const QApplication app(qtArgc, qtArgv);
    tables.window = bench::timeWindowSelection(kRows, kRuns, folder.path());
    std::fprintf(stderr, "listora-bench: timing the same searches from the search window, %d runs\n", kRuns);
    tables.windowSearches = bench::timeWindowSearches(kRows, kRuns, folder.path());
    return tables;
}

void printSearches(const char* where, const std::vector<bench::SearchTiming>& timings) {
    const std::vector<std::size_t> widths = {22, 11, 14, 15, 26, 13};
    std::printf("\nsearches %s on %zu rows; medians of %d runs:\n", where, kRows, kRuns);
    printCells({"search", "listora (s)", "target", "result", "reference", "reference (s)"}, widths);
    for (const auto& timing : timings) {
        const double ours = bench::median(timing.seconds);
        const std::string met = ours <= timing.target ? "met" : "MISSED";
        printCells({timing.search, fixed(ours, 3), "≤ " + fixed(timing.target, 2) + " s " + met, timing.result,
                    timing.reference.empty() ? "-" : timing.reference,
                    timing.reference.empty() ? "-" : fixed(bench::median(timing.referenceSeconds), 3)},
                   widths);
    }
}

void printSelection(const SelectionTables& tables) {
    printSelection("in the core", tables.core);
    printSelection("in the main window until its list has painted (offscreen)", tables.window);
    printSearches("in the core", tables.coreSearches);
    printSearches("from the search window until the main window's view has painted (offscreen)", tables.windowSearches);
}

constexpr double kCompareTarget = 0.5;
constexpr double kCompareMemoryTarget = 3.0;  // times the memory of one playlist read

struct Comparison {
    bench::ComparedFiles files;
    bench::CompareMemory memory;
    bench::CompareTimings timings;
};

// Written and measured first, while this process is small; timed later.
Comparison measureComparison(const listora::test::TempDir& folder) {
    std::fprintf(stderr, "listora-bench: peak memory of a comparison of two playlists of %zu entries\n", kRows);
    Comparison comparison{bench::writeComparedPlaylists(kRows, folder.path()), {}, {}};
    comparison.memory = bench::measureComparisonMemory(comparison.files);
    return comparison;
}

void timeComparison(Comparison& comparison) {
    std::fprintf(stderr, "listora-bench: timing comparisons, %d runs\n", kRuns);
    comparison.timings = bench::timeComparison(comparison.files, kRuns);
}

void printComparison(const Comparison& comparison) {
    const bench::CompareTimings& timings = comparison.timings;
    const bench::CompareMemory& memory = comparison.memory;
    const std::vector<std::size_t> widths = {11, 11, 14, 17, 14, 26, 13};
    std::printf(
        "\ncomparison of two playlists of %zu entries, half of B's paths A's in another order; medians of %d "
        "runs:\n",
        kRows, kRuns);
    printCells({"method", "listora (s)", "target", "with reading (s)", "result", "reference", "reference (s)"}, widths);
    const double reference = bench::median(timings.reference);
    for (const auto& timing : timings.methods) {
        const double ours = bench::median(timing.seconds);
        printCells({timing.method, fixed(ours, 3),
                    "≤ " + fixed(kCompareTarget, 1) + " s " + (ours <= kCompareTarget ? "met" : "MISSED"),
                    fixed(bench::median(timing.withReading), 3), timing.result, "sort A, sort B, comm -3",
                    fixed(reference, 3)},
                   widths);
    }
    const double ratio = static_cast<double>(memory.compareBytes) / static_cast<double>(memory.onePlaylistBytes);
    std::printf(
        "peak memory of a comparison with reading: %s added, %.1fx the %s of one playlist read; target ≤ %.0fx %s\n",
        megabytes(static_cast<std::size_t>(memory.compareBytes)).c_str(), ratio,
        megabytes(static_cast<std::size_t>(memory.onePlaylistBytes)).c_str(), kCompareMemoryTarget,
        ratio <= kCompareMemoryTarget ? "met" : "MISSED");
}

constexpr double kLogLoadTarget = 1.0;

void printLogViewer(const bench::LogViewTimings& timings) {
    const std::vector<std::size_t> widths = {8, 11, 14, 13, 13};
    std::printf(
        "\nlog viewer on a day file of %zu records (%s), until the record list has painted (offscreen); medians "
        "of %d runs:\n",
        kRows, megabytes(timings.fileBytes).c_str(), kRuns);
    printCells({"step", "listora (s)", "target", "reference", "reference (s)"}, widths);
    const double load = bench::median(timings.load);
    const double lines = bench::median(timings.wcLines);
    printCells(
        {"load", fixed(load, 3), "≤ " + fixed(kLogLoadTarget, 1) + " s " + (load <= kLogLoadTarget ? "met" : "MISSED"),
         "wc -l DAY", fixed(lines, 3)},
        widths);
    printCells({"search", fixed(bench::median(timings.search), 3), "-", "-", "-"}, widths);
}

constexpr double kPlayTarget = 0.2;

void printPlayer(const bench::PlayerTimings& timings) {
    const double ours = bench::median(timings.untilPlaying);
    std::printf(
        "\nplayer: a one-minute local MP3 opened and played by the media back end until its position moves; "
        "median of %d runs (first run, with the media framework's start, %.3f s):\n",
        kRuns, timings.untilPlaying.front());
    printCells({"step", "listora (s)", "target"}, {18, 11, 14});
    printCells({"open until playing", fixed(ours, 3),
                "≤ " + fixed(kPlayTarget, 1) + " s " + (ours <= kPlayTarget ? "met" : "MISSED")},
               {18, 11, 14});
}

struct WindowTimings {
    bench::LogViewTimings logView;
    bench::PlayerTimings player;
};

// The log viewer and the player, each needing a QApplication.
WindowTimings timeLogViewerAndPlayer(const listora::test::TempDir& folder) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char qtName[] = "listora-bench";
    char* qtArgv[] = {qtName, nullptr};
    const QApplication app(qtArgc, qtArgv);
    WindowTimings timings;
    std::fprintf(stderr, "listora-bench: timing the log viewer on %zu records, %d runs\n", kRows, kRuns);
    timings.logView = bench::timeLogViewer(kRows, kRuns, folder.path());
    std::fprintf(stderr, "listora-bench: timing the player on a local MP3, %d runs\n", kRuns);
    timings.player = bench::timePlayer(kRuns, folder.path());
    return timings;
}

int runLogAndPlayerOnly() {
    const listora::test::TempDir folder("listora-bench");
    const WindowTimings timings = timeLogViewerAndPlayer(folder);
    printLogViewer(timings.logView);
    printPlayer(timings.player);
    return 0;
}

int runCompareOnly() {
    const listora::test::TempDir folder("listora-bench");
    Comparison comparison = measureComparison(folder);
    timeComparison(comparison);
    printComparison(comparison);
    return 0;
}

int runTagsOnly() {
    const listora::test::TempDir folder("listora-bench");
    const char* set = std::getenv("LISTORA_TAG_BENCH_FILES");
    const std::size_t files = set && std::atol(set) > 0 ? static_cast<std::size_t>(std::atol(set)) : kTagFiles;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char qtName[] = "listora-bench";
    char* qtArgv[] = {qtName, nullptr};
    const QApplication app(qtArgc, qtArgv);
    std::fprintf(stderr, "listora-bench: writing %zu MP3 files of 1 to 4 MB, then reading their tags, %d runs\n", files,
                 kRuns);
    const bench::TagTimings tags = bench::timeTagReads(folder.path(), files, kRuns);
    const std::string size = std::to_string(tags.files) + " MP3, " + fixed(tags.megabytes / 1024, 1) + " GiB";
    std::printf("titles and lengths from tags, warm; medians of %d runs\n\n", kRuns);
    printRow({"op", "size", "listora (s)", "target", "reference", "reference (s)", "ratio"});
    printOperation("tags", size, tags.core, {kTagTarget, true}, "find -exec head -c 131072", tags.reference);
    printOperation("window", size, tags.window, {kTagWindowTarget, false}, "-", {});
    std::printf(
        "\nwithout a Xing header, %zu files: %.3f s (fast style, the length from the bit rate); "
        "%.0f bytes read per file of %.0f\n",
        std::min<std::size_t>(tags.files, 1000), bench::median(tags.withoutXing), tags.bytesReadPerFile,
        tags.bytesPerFile);
    std::printf("\nevery run in order (s), listora | reference:\n");
    printRuns("tags", tags.core, tags.reference);
    printRuns("window", tags.window, {});
    printRuns("no Xing", tags.withoutXing, {});
    return 0;
}

int runSelectionOnly() {
    const listora::test::TempDir folder("listora-bench");
    printSelection(timeSelection(folder));
    return 0;
}

// The moves and copies alone, beside mv and cp.
int runTransfersOnly() {
    const listora::test::TempDir folder("listora-bench");
    const bench::TransferTimings moves = bench::timeMoves(folder.path(), kMoveSize, kRuns);
    const bench::TransferTimings copies = bench::timeCopies(folder.path(), kCopySize, kRuns);
    std::printf("listora-bench: medians of %d runs\n\n", kRuns);
    printRow({"op", "size", "listora (s)", "target", "reference", "reference (s)", "ratio"});
    printOperation("move", filesOf(kMoveSize), moves.ours, {kMoveTarget, true}, "mv -n -t DEST FILES", moves.theirs);
    printOperation("copy", filesOf(kCopySize), copies.ours, {kCopyTarget, true}, "cp -n -p -t DEST FILES",
                   copies.theirs);
    printRuns("move", moves.ours, moves.theirs);
    printRuns("copy", copies.ours, copies.theirs);
    return 0;
}

int run() {
    const listora::test::TempDir folder("listora-bench");
    const std::string playlist = folder.path("bench.m3u");
    const std::string titles = folder.path("titles.txt");
    const std::string saved = folder.path("saved.m3u");
    const std::string copy = folder.path("copy.m3u");

    std::fprintf(stderr, "listora-bench: writing %zu rows to %s\n", kRows, folder.path().c_str());
    const bench::FixtureSize size = bench::writeFixture(playlist, titles, kRows);

    // First, while this process is small: the forked child starts with our
    // pages, and its baseline shows how much that is.
    Core core;
    std::fprintf(stderr, "listora-bench: peak memory of a load\n");
    const bench::PeakMemory memory = bench::peakMemoryOf([&] {
        listora::MainList list;
        core.load(list, playlist);
    });
    // The comparison's memory too, before anything is timed.
    Comparison comparison = measureComparison(folder);

    std::fprintf(stderr, "listora-bench: timing the core, %d runs\n", kRuns);
    const Timings ours = timeCore(core, playlist, saved);
    std::fprintf(stderr, "listora-bench: timing the reference commands, %d runs\n", kRuns);
    const Timings theirs = timeReferences(playlist, copy, titles);

    std::fprintf(stderr, "listora-bench: timing moves of %zu files and mv, %d runs\n", kMoveSize.files, kRuns);
    const bench::TransferTimings moves = bench::timeMoves(folder.path(), kMoveSize, kRuns);
    std::fprintf(stderr, "listora-bench: timing copies of %zu files and cp, %d runs\n", kCopySize.files, kRuns);
    const bench::TransferTimings copies = bench::timeCopies(folder.path(), kCopySize, kRuns);
    std::fprintf(stderr,
                 "listora-bench: writing %zu music files and %zu others in %zu folders, then timing the gather "
                 "and find, %d runs\n",
                 kGatherTree.musicFiles(), kGatherTree.otherFiles(), kGatherTree.folders(), kRuns);
    const bench::GatherTimings gathers = bench::timeGather(folder.path(), kGatherTree, kRuns);
    const SelectionTables selection = timeSelection(folder);
    const WindowTimings windows = timeLogViewerAndPlayer(folder);
    timeComparison(comparison);

    const std::string rows = std::to_string(kRows) + " rows";
    std::printf("listora-bench: medians of %d runs\n\n", kRuns);
    printRow({"op", "size", "listora (s)", "target", "reference", "reference (s)", "ratio"});
    printOperation("load", rows + ", " + megabytes(size.playlistBytes), ours.load, {kLoadTarget, false}, "wc -l FILE",
                   theirs.load);
    printOperation("save", rows + ", " + megabytes(size.playlistBytes), ours.save, {kSaveTarget, false}, "cp FILE COPY",
                   theirs.save);
    printOperation("sort", std::to_string(kRows) + " titles, " + megabytes(size.titleBytes), ours.sort,
                   {kSortTarget, false}, "sort -f TITLES", theirs.sort);
    printOperation("move", filesOf(kMoveSize), moves.ours, {kMoveTarget, true}, "mv -n -t DEST FILES", moves.theirs);
    printOperation("copy", filesOf(kCopySize), copies.ours, {kCopyTarget, true}, "cp -n -p -t DEST FILES",
                   copies.theirs);
    printOperation("gather", treeOf(kGatherTree), gathers.ours, {kGatherTarget, true},
                   "find DIR -type f -iname '*mp3*'", gathers.theirs);
    printSelection(selection);
    printLogViewer(windows.logView);
    printPlayer(windows.player);
    printComparison(comparison);

    std::printf("\nevery run in order (s), listora | reference:\n");
    printRuns("load", ours.load, theirs.load);
    printRuns("save", ours.save, theirs.save);
    printRuns("sort", ours.sort, theirs.sort);
    printRuns("move", moves.ours, moves.theirs);
    printRuns("copy", copies.ours, copies.theirs);
    printRuns("gather", gathers.ours, gathers.theirs);
    for (const auto& timing : selection.core) printRuns(timing.command.c_str(), timing.seconds, {});
    for (const auto& timing : selection.window) printRuns(("window " + timing.command).c_str(), timing.seconds, {});

    const double perRow = static_cast<double>(memory.peakBytes) / kRows;
    const double addedPerRow = static_cast<double>(memory.peakBytes - memory.baselineBytes) / kRows;
    std::printf(
        "\npeak memory of load: %.0f bytes/row (peak %s, %s before loading, %.0f bytes/row added); "
        "target ≤ %.0f bytes/row %s\n",
        perRow, megabytes(static_cast<std::size_t>(memory.peakBytes)).c_str(),
        megabytes(static_cast<std::size_t>(memory.baselineBytes)).c_str(), addedPerRow, kBytesPerRowTarget,
        perRow <= kBytesPerRowTarget ? "met" : "MISSED");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The core is timed under the programs' heap settings, or the figures
    // would describe a program nobody runs.
    listora::applyHeapSettings();
    try {
        const std::string only = argc > 1 ? argv[1] : "";
        if (only == "selection") return runSelectionOnly();
        if (only == "compare") return runCompareOnly();
        if (only == "log") return runLogAndPlayerOnly();
        if (only == "read") return bench::runReadBench();
        if (only == "transfers") return runTransfersOnly();
        if (only == "tags") return runTagsOnly();
        if (only == "formats") return bench::runFormatsBench();
        if (only == "load-save-once" && argc > 3) return bench::runLoadSaveOnce(argv[2], argv[3]);
        if (only == "relink") return bench::runRelinkBench();
        if (only == "fixture" && argc > 3) {
            // A playlist to profile by hand, as the benches write it.
            bench::writeFixture(argv[3], std::string(argv[3]) + ".titles", std::stoul(argv[2]));
            return 0;
        }
        if (only == "load-once" && argc > 2) return bench::runLoadOnce(argv[2], argc > 3 ? std::atoi(argv[3]) : -1);
        return run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "listora-bench: %s\n", error.what());
        return 1;
    }
}
